#pragma once

#include "Command.h"

#include "store/AppState.h"
#include "store/FileIO.h"
#include "store/FileNames.h"
#include "store/FolderLock.h"

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

// reefbook-cli: reads and writes a diver's file set in the current folder without a window.
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

// Fills state.DiverName, DiveOffset and Files the way the desktop program does in
// single-diver mode (the settings), or from "divers.dvl" for ctx.diverName. False after
// ctx.fail when the diver list cannot give that diver.
bool resolveFileSet(Context& ctx, store::AppState& state);

// resolveFileSet, then refuses unsafe or unreadable file names (ctx.fail, false), then
// OpenLog. What was wrong with a file that could be read comes back in `problems`.
bool openFileSet(Context& ctx, store::AppState& state, store::FileProblems& problems);
// For a command that writes: the set must read whole, or nothing is done (the damage is told).
bool openWholeFileSet(Context& ctx, store::AppState& state);

// A command that writes the data folder holds its lock while it reads and writes. False after
// ctx.fail when another program (the desktop program) holds it: that program would write its
// own state over ours when it closes.
bool lockForWriting(Context& ctx, store::FolderLock& lock);

// "log", "location list", ... for the names of FileSet::names(), in that order.
const char* fileRole(size_t index);
// The first name of the set that cannot be its data file (not a plain .dvl name in this
// folder, divers.dvl, the settings, another role's file), as a sentence; empty when none.
QString unsafeFileName(const store::FileSet& files);
// One such name as a sentence naming the role and the name.
QString fileNameProblem(const store::fileio::NameProblem& problem);

// Every command, in the order the general help lists them; the dispatcher, the help and so
// the manual page use this one list.
const std::vector<std::reference_wrapper<const Command>>& commands();

QString helpText();

// Runs the program with the arguments after the program name. Returns the exit status.
int runCli(const QStringList& args, QIODevice& out, QTextStream& err);

// The most bytes `load` reads. A dump of a log of thousands of dives is a few megabytes; the
// limit keeps a device such as /dev/zero from filling the memory.
constexpr qint64 MaxJsonBytes = qint64(1) << 30; // 1 GiB

// Reads all of `in` into `data`, refusing more than `most` bytes. Returns an empty string, or
// why nothing was read.
QString readAtMost(QIODevice& in, qint64 most, QByteArray& data);

// Text from a file made printable for a terminal: control characters (an escape sequence
// would recolour or rewrite the terminal) are shown as \xNN, or \uNNNN beyond one byte.
QString printable(const QString& text);

// For a command that takes no words: false after ctx.fail when one was given.
bool noArguments(Context& ctx, const char* command);
// Each problem as a warning.
void warnAll(Context& ctx, const store::FileProblems& problems);
// Opens the diver's file set for a command that only reads it: what is wrong in the files is a
// warning, and the command goes on with what could be read.
bool openForReading(Context& ctx, store::AppState& state);

} // namespace cli
