#pragma once

#include "store/AppState.h"

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace output {

// reefbook-cli export text|html|pdf [--dives all|FIRST-LAST|N,N,...] [--no-comments]
//                   [--page-size A4|Letter] [--profiles] [-o FILE|-]
//
// `state` holds the open diver's log; `args` are the words after "export". Writes the text
// file or the HTML page of the chosen dives to BaseName + ".txt"/".htm" in the current folder,
// to FILE, or with "-o -" as raw bytes to stdOut. Dive numbers are the ones the diver sees
// (index + offset). A range is corrected to the log the way the output dialog corrects its
// range fields; a list is written in its own order and every number in it must be a dive.
// Returns 0 when written; 2 with one line on err when the arguments cannot be used or the
// file cannot be written, and then nothing is written. Pictures that could not be put
// beside a page are warnings on err; the status stays 0.
//
// The printed pages need fonts and a painter, which this library does not have: "pdf" is
// written by `makePdf` (dives, comments, page size "A4", "Letter" or "" for the locale's,
// whether each dive's profile is drawn: --profiles), and refused when none is given.
using PdfMaker =
    std::function<QByteArray(const AppState& state, const std::vector<int>& dives,
                             bool withComments, const QString& pageSize, bool withProfiles)>;
int exportCommand(AppState& state, const QStringList& args, QIODevice& stdOut, QTextStream& err,
                  const PdfMaker& makePdf = {});

// The dive indexes an --dives text names, read as exportCommand reads it; empty with `error`
// set when the text cannot be used.
std::vector<int> chooseDives(const AppState& state, const QString& text, QString* error);

} // namespace output
