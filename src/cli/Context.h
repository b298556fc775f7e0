#pragma once

#include "CommandLine.h"

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

namespace cli {

enum Exit { ExitOk = 0, ExitProblems = 1, ExitError = 2 };

// What a command is given: its own arguments (after the command name), the chosen diver and
// the output streams. Data goes to `out`; messages go to `err`.
struct Context {
    QStringList args;  // the command's words that are not options
    QString diverName; // --diver NAME; empty for the default diver of the settings
    QIODevice& out;
    QTextStream& err;
    const CommandLine* line = nullptr; // the command's options, read
    QString callerDir; // where the command was typed; empty: the current folder

    // A file name typed on the command line means what it means where it was typed, even
    // when the data files are in another folder. "-" (standard output) stays as it is.
    QString typedPath(const QString& name) const;

    // Prints "reefbook-cli: <problem>" as one line and returns ExitError.
    int fail(const QString& problem);
    // Prints "reefbook-cli: warning: <text>".
    void warn(const QString& text);
};

} // namespace cli
