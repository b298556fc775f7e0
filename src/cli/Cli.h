#pragma once

#include "store/AppState.h"
#include "store/FileIO.h"

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
    QStringList args;
    QString diverName; // --diver NAME; empty for the default diver of the settings
    QIODevice& out;
    QTextStream& err;

    // Prints "reefbook-cli: <problem>" as one line and returns ExitError.
    int fail(const QString& problem);
    // Prints "reefbook-cli: warning: <text>".
    void warn(const QString& text);
};

// Fills state.DiverName, DiveOffset and Files the way the desktop program does in
// single-diver mode (the settings), or from "divers.dvl" for ctx.diverName. False after
// ctx.fail when the diver list cannot give that diver.
bool resolveFileSet(Context& ctx, AppState& state);

// resolveFileSet, then refuses unsafe or unreadable file names (ctx.fail, false), then
// OpenLog. What was wrong with a file that could be read comes back in `problems`.
bool openFileSet(Context& ctx, AppState& state, FileProblems& problems);

// "log", "location list", ... for the names of FileSet::names(), in that order.
const char* fileRole(size_t index);
// The first name of the set that is not a bare file name, as a sentence; empty when none.
QString unsafeFileName(const FileSet& files);

// One command of the dispatch. Adding a command is one line in commands().
struct Command {
    QString name;
    QString usage;   // the arguments after the name, e.g. "FILE.json"
    QString summary; // one line for --help
    std::function<int(Context&)> run;
};
const std::vector<Command>& commands();

QString helpText();

// Runs the program with the arguments after the program name. Returns the exit status.
int runCli(const QStringList& args, QIODevice& out, QTextStream& err);

// The most bytes `load` reads. A dump of a log of thousands of dives is a few megabytes; the
// limit keeps a device such as /dev/zero from filling the memory.
constexpr qint64 MaxJsonBytes = qint64(1) << 30; // 1 GiB

// Reads all of `in` into `data`, refusing more than `most` bytes. Returns an empty string, or
// why nothing was read.
QString readAtMost(QIODevice& in, qint64 most, QByteArray& data);

// The commands.
int infoCommand(Context& ctx);
int dumpCommand(Context& ctx);
int loadCommand(Context& ctx);
int checkCommand(Context& ctx);
int exportCommand(Context& ctx);
int profileCommand(Context& ctx);
int diversCommand(Context& ctx);
int selectCommand(Context& ctx);
int importCommand(Context& ctx);
int statsCommand(Context& ctx);
int listCommand(Context& ctx);
int editCommand(Context& ctx);

} // namespace cli
