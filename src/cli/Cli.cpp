#include "Cli.h"

#include "CheckCommand.h"
#include "DiversCommand.h"
#include "DumpCommand.h"
#include "EditCommand.h"
#include "ExportCommand.h"
#include "ImportCommand.h"
#include "InfoCommand.h"
#include "ListCommand.h"
#include "LoadCommand.h"
#include "ProfileCommand.h"
#include "SelectCommand.h"
#include "StatsCommand.h"

#include "settings/Settings.h"
#include "store/DataFolder.h"
#include "divers/DiverList.h"
#include "store/DvlFormat.h"
#include "store/FileNames.h"
#include "store/LogOps.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace cli {

int Context::fail(const QString& problem) {
    err << "reefbook-cli: " << problem << Qt::endl;
    return ExitError;
}

void Context::warn(const QString& text) { err << "reefbook-cli: warning: " << text << Qt::endl; }

const std::vector<std::reference_wrapper<const Command>>& commands() {
    static const InfoCommand info;
    static const DumpCommand dump;
    static const LoadCommand load;
    static const CheckCommand check;
    static const ExportCommand exportCommand;
    static const ProfileCommand profile;
    static const DiversCommand divers;
    static const SelectCommand select;
    static const StatsCommand stats;
    static const ImportCommand import;
    static const ListCommand list;
    static const EditCommand edit;
    static const std::vector<std::reference_wrapper<const Command>> all = {
        info, dump, load, check, exportCommand, profile, divers, select, stats, import, list, edit};
    return all;
}

namespace {

// The program's own options, given before the command.
std::vector<OptionDef> programOptions() {
    return {{QStringLiteral("diver"), QStringLiteral("NAME"),
             QStringLiteral("use the files of diver NAME listed in divers.dvl")},
            {QStringLiteral("data-dir"), QStringLiteral("DIR"),
             QStringLiteral("use the files in DIR instead of the current folder")},
            {QStringLiteral("help"),
             {},
             QStringLiteral("show this help (COMMAND --help: that command's own)")}};
}

} // namespace

QString helpText() {
    QString text = QStringLiteral(
        "Usage: reefbook-cli [--diver NAME] [--data-dir DIR] COMMAND [ARGUMENTS]\n"
        "\n"
        "Reads and writes a diver's log files in the current folder, the files the desktop\n"
        "program opens: the default diver's from the settings, or another diver's from\n"
        "divers.dvl.\n"
        "\n"
        "Commands:\n");
    // A command whose arguments would push every summary off the screen gets its summary on
    // a line of its own.
    constexpr int width = 26;
    for (const Command& c : commands()) {
        const QString head =
            c.usage().isEmpty() ? c.name() : c.name() + QLatin1Char(' ') + c.usage();
        if (head.size() <= width)
            text += QStringLiteral("  %1  %2\n").arg(head, -width).arg(c.summary());
        else
            text += QStringLiteral("  %1\n  %2  %3\n")
                        .arg(head, QString(width, QLatin1Char(' ')), c.summary());
    }
    text += QStringLiteral("\nOptions:\n") + CommandLine::optionLines(programOptions(), 17);
    text += QStringLiteral("\n"
                           "Started in the home folder with no .dvl file there, it uses\n"
                           "~/Reefbook if that folder exists, as the desktop program does.\n"
                           "\n"
                           "Exit status: 0 done, 1 check found problems, 2 error.\n");
    return text;
}

bool resolveFileSet(Context& ctx, store::AppState& state) {
    settings::readStartup(state, nullptr);
    if (ctx.diverName.isEmpty())
        return true;
    const QString& list = divers::ListFileName;
    const divers::DiverFile f = divers::readDiverFile();
    if (f.status == store::fileio::ReadStatus::Missing) {
        ctx.fail(QStringLiteral("%1 not found; --diver needs the list of divers").arg(list));
        return false;
    }
    if (f.status != store::fileio::ReadStatus::Ok) {
        ctx.fail(QStringLiteral("cannot read %1: %2").arg(list, f.error));
        return false;
    }
    if (!f.problem.isEmpty())
        ctx.warn(QStringLiteral("%1: %2").arg(list, f.problem));
    for (const store::DiverEntry& d : f.divers) {
        if (d.Name == ctx.diverName) {
            state.DiverName = d.Name;
            state.Files = d.Files;
            return true;
        }
    }
    ctx.fail(QStringLiteral("no diver named \"%1\" in %2").arg(ctx.diverName, list));
    return false;
}

QString printable(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029 ||
            (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069))
            out += u < 0x100 ? QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'))
                             : QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

bool noArguments(Context& ctx, const char* command) {
    if (ctx.args.isEmpty()) return true;
    ctx.fail(QStringLiteral("%1 takes no arguments, got \"%2\"")
                 .arg(QLatin1String(command), ctx.args.first()));
    return false;
}

void warnAll(Context& ctx, const store::FileProblems& problems) {
    for (const store::FileProblem& p : problems)
        ctx.warn(QStringLiteral("%1: %2").arg(p.file, p.what));
}

bool openForReading(Context& ctx, store::AppState& state) {
    store::FileProblems problems;
    if (!openFileSet(ctx, state, problems)) return false;
    warnAll(ctx, problems);
    return true;
}

QString readAtMost(QIODevice& in, qint64 most, QByteArray& data) {
    data.clear();
    // A regular file says its size; anything else (a pipe, /dev/zero) is read until it ends or
    // passes the limit.
    if (!in.isSequential() && in.size() > most)
        return QStringLiteral("it holds more than %1 bytes").arg(most);
    constexpr qint64 Chunk = 1 << 20;
    for (;;) {
        const qint64 room = std::min(Chunk, most + 1 - data.size());
        const qsizetype at = data.size();
        data.resize(at + room);
        const qint64 n = in.read(data.data() + at, room);
        data.resize(at + std::max<qint64>(n, 0));
        if (n < 0) {
            data.clear();
            return in.errorString();
        }
        if (data.size() > most) {
            data.clear();
            return QStringLiteral("it holds more than %1 bytes").arg(most);
        }
        if (n == 0) return {};
    }
}

bool lockForWriting(Context& ctx, store::FolderLock& lock) {
    if (lock.lock() != store::FolderLock::Outcome::HeldElsewhere) return true;
    ctx.fail(lock.refusal());
    return false;
}

const char* fileRole(size_t index) {
    return store::fileio::roleName(index);
}

QString fileNameProblem(const store::fileio::NameProblem& p) {
    if (!store::fileio::isSafeFileName(p.name))
        return QStringLiteral("unsafe %1 file name \"%2\" (a data file must be a bare name in "
                              "this folder)")
            .arg(QLatin1String(fileRole(p.role)), p.name);
    return QStringLiteral("%1 file name \"%2\" is %3")
        .arg(QLatin1String(fileRole(p.role)), p.name, p.why);
}

QString unsafeFileName(const store::FileSet& files) {
    const auto problems = store::fileio::fileSetNameProblems(files, settings::settingsFile());
    return problems.empty() ? QString() : fileNameProblem(problems.front());
}

bool openFileSet(Context& ctx, store::AppState& state, store::FileProblems& problems) {
    if (!resolveFileSet(ctx, state))
        return false;
    if (const QString unsafe = unsafeFileName(state.Files); !unsafe.isEmpty()) {
        ctx.fail(unsafe);
        return false;
    }
    // A file that exists but cannot be read would otherwise look like a new, empty log.
    for (const QString& name : state.Files.names()) {
        const QFileInfo info(name);
        if (info.exists() && (!info.isFile() || !info.isReadable())) {
            const store::fileio::ReadResult r = store::fileio::readWhole(name);
            if (r.status != store::fileio::ReadStatus::Ok) {
                ctx.fail(QStringLiteral("cannot read %1: %2").arg(name, r.error));
                return false;
            }
        }
    }
    problems = store::OpenLog(state);
    return true;
}

bool openWholeFileSet(Context& ctx, store::AppState& state) {
    store::FileProblems problems;
    if (!openFileSet(ctx, state, problems)) return false;
    if (problems.empty()) return true;
    // Changing a log that could not be read whole would save over, or bury, what was lost.
    warnAll(ctx, problems);
    ctx.fail(QStringLiteral("the log's files are damaged (see reefbook-cli check); "
                            "nothing was written"));
    return false;
}

QString Context::typedPath(const QString& name) const {
    if (name.isEmpty() || name == QLatin1String("-") || callerDir.isEmpty()) return name;
    return QDir(callerDir).absoluteFilePath(name);
}

int runCli(const QStringList& args, QIODevice& out, QTextStream& err) {
    Context ctx{{}, {}, out, err, nullptr, {}};
    // Options before the command are the program's; words after it are the command's.
    QCommandLineParser program;
    program.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    program.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionDef& o : programOptions())
        program.addOption(CommandLine::option(o));
    program.addOption(QCommandLineOption(QStringLiteral("h"))); // -h as well, unlisted
    const QString help = QStringLiteral("help"), diver = QStringLiteral("diver"),
                  dataDirOption = QStringLiteral("data-dir");
    if (!program.parse(QStringList{QStringLiteral("reefbook-cli")} + args)) {
        if (!program.unknownOptionNames().isEmpty())
            return ctx.fail(QStringLiteral("unknown option %1 (try --help)")
                                .arg(CommandLine::typed(program.unknownOptionNames().first())));
        if (program.errorText().contains(QLatin1String("--diver'")))
            return ctx.fail(QStringLiteral("--diver needs a diver's name"));
        if (program.errorText().contains(QLatin1String("--data-dir'")))
            return ctx.fail(QStringLiteral("--data-dir needs a folder"));
        return ctx.fail(program.errorText());
    }
    if (program.isSet(help) || program.isSet(QStringLiteral("h"))) {
        out.write(helpText().toUtf8());
        return ExitOk;
    }
    if (program.isSet(diver) && program.value(diver).isEmpty())
        return ctx.fail(QStringLiteral("--diver needs a diver's name"));
    if (program.isSet(dataDirOption) && program.value(dataDirOption).isEmpty())
        return ctx.fail(QStringLiteral("--data-dir needs a folder"));
    ctx.diverName = program.value(diver);
    const QStringList words = program.positionalArguments();
    if (words.isEmpty())
        return ctx.fail(QStringLiteral("no command given (try --help)"));
    const QString& name = words.first();
    const auto found = std::find_if(commands().begin(), commands().end(),
                                    [&name](const Command& c) { return c.name() == name; });
    if (found == commands().end())
        return ctx.fail(QStringLiteral("unknown command \"%1\" (try --help)").arg(name));
    const Command& command = *found;

    std::vector<OptionDef> options = command.options();
    options.push_back({QStringLiteral("help"), {}, {}});
    CommandLine line(options);
    if (!line.parse(words.mid(1)))
        return ctx.fail(QStringLiteral("%1: %2 (try reefbook-cli %1 --help)")
                            .arg(name, line.error()));
    if (line.isSet(QStringLiteral("help"))) {
        out.write(command.help().toUtf8());
        return ExitOk;
    }
    ctx.args = line.positional();
    ctx.line = &line;

    const store::datafolder::Choice folder = store::datafolder::choose(
        program.value(dataDirOption), QDir::currentPath(), QDir::homePath(), false);
    if (!folder.folder.isEmpty()) {
        ctx.callerDir = QDir::currentPath();
        // A mistyped --data-dir should not leave an empty new folder behind.
        if (const QString problem = store::datafolder::enter(folder.folder, false);
            !problem.isEmpty())
            return ctx.fail(problem);
    }
    return command.run(ctx);
}

} // namespace cli
