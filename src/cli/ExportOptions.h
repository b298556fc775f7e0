#pragma once

#include "Cli.h"

#include "output/ExportCommand.h"

// The export command's words, read into the request the export code takes.
namespace cli {

// `line` holds the export options read; `words` its plain words (the format). False with `error`
// set when an option is not one the format takes, or a word is left over.
bool exportRequest(const CommandLine& line, const QStringList& words,
                   output::ExportRequest& request, QString& error);

// Reads `words` (everything after "export") and runs the export on `state`: the command
// without the data folder, for the export code's own tests.
int exportWords(store::AppState& state, const QStringList& words, QIODevice& out, QTextStream& err,
                const output::PdfMaker& makePdf = {});

} // namespace cli
