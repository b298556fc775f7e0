#pragma once

#include "CommandLine.h"

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

// One command of the dispatch: its name, the options it takes, its help and what it runs.
// The general help, each command's --help and so the manual page come from these.
struct Command {
    QString name;
    QString usage;   // the arguments after the name for the general help, e.g. "FILE.json"
    QString summary; // one line for --help
    std::function<int(Context&)> run;
    std::vector<OptionDef> options; // read before run; ctx.line holds them
    // The paragraphs of the command's own --help before its options; none: the summary.
    QString (*details)() = nullptr;
};
const std::vector<Command>& commands();

QString helpText();
// "reefbook-cli COMMAND --help".
QString commandHelp(const Command& command);

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

// The options of the commands that take more than --json, and the help of those that say more
// than their summary.
std::vector<OptionDef> exportOptions();
std::vector<OptionDef> selectionOptions();
std::vector<OptionDef> statsOptions();
std::vector<OptionDef> importOptions();
std::vector<OptionDef> listOptions();
std::vector<OptionDef> editOptions();
QString selectDetails();
QString statsDetails();
QString listDetails();
QString editDetails();

} // namespace cli
