#include "Cli.h"

#include "settings/Settings.h"
#include "store/DataFolder.h"
#include "store/DiverList.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace cli {

int Context::fail(const QString& problem) {
    err << "reefbook-cli: " << problem << Qt::endl;
    return ExitError;
}

void Context::warn(const QString& text) { err << "reefbook-cli: warning: " << text << Qt::endl; }

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {QStringLiteral("info"), QString(),
         QStringLiteral("diver, files, dive count, totals and list sizes"), infoCommand},
        {QStringLiteral("dump"), QString(),
         QStringLiteral("write the whole file set as JSON to standard output"), dumpCommand},
        {QStringLiteral("load"), QStringLiteral("FILE.json"),
         QStringLiteral("write the six files of the set from JSON shaped like dump's"),
         loadCommand},
        {QStringLiteral("check"), QString(),
         QStringLiteral("report damaged files and references that point nowhere"), checkCommand},
        {QStringLiteral("export"),
         QStringLiteral("text|html|pdf|uddf|csv [--dives all|FIRST-LAST|N,N,...] [--no-comments] "
                        "[--page-size A4|Letter] [--profiles] [--units imperial|metric] [--bom] "
                        "[-o FILE|-]"),
         QStringLiteral("write dives as text, HTML, the printed pages (PDF), UDDF or CSV"),
         exportCommand},
        {QStringLiteral("profile"), QStringLiteral("DIVE [--json]"),
         QStringLiteral("print the profile of dive number DIVE as \"minute depth\" lines"),
         profileCommand},
        {QStringLiteral("divers"), QStringLiteral("[--json]"),
         QStringLiteral("list the divers of divers.dvl with their files and the default"),
         diversCommand},
        {QStringLiteral("select"),
         QStringLiteral("[CRITERIA...] [--json]"),
         QStringLiteral("the dives that meet the criteria (select --help)"),
         selectCommand},
        {QStringLiteral("stats"),
         QStringLiteral("[--by year|month|month-of-year|location|type|buddy|gear] [CRITERIA...] "
                        "[--json]"),
         QStringLiteral("dives, times, depths and more per group (stats --help)"), statsCommand},
        {QStringLiteral("import"),
         QStringLiteral("csv|uddf FILE [--units imperial|metric] [--date-format YMD|MDY|DMY] "
                        "[--dry-run]"),
         QStringLiteral("add the dives of a CSV or UDDF file to the log"), importCommand},
        {QStringLiteral("list"),
         QStringLiteral("[--columns C,C,...] [--sort COLUMN[:desc]] [--filter TEXT] [--json]"),
         QStringLiteral("the dives as the Dive List window shows them (list --help)"),
         listCommand},
        {QStringLiteral("edit"), QStringLiteral("--dives N,N-M --set FIELD=VALUE ..."),
         QStringLiteral("set fields on several dives at once and save (edit --help)"),
         editCommand},
    };
    return all;
}

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
        const QString head = c.usage.isEmpty() ? c.name : c.name + QLatin1Char(' ') + c.usage;
        if (head.size() <= width)
            text += QStringLiteral("  %1  %2\n").arg(head, -width).arg(c.summary);
        else
            text += QStringLiteral("  %1\n  %2  %3\n").arg(head, QString(width, QLatin1Char(' ')),
                                                          c.summary);
    }
    text += QStringLiteral("\n"
                           "Options:\n"
                           "  --diver NAME     use the files of diver NAME listed in divers.dvl\n"
                           "  --data-dir DIR   use the files in DIR instead of the current folder\n"
                           "  --help           show this help\n"
                           "\n"
                           "Started in the home folder with no .dvl file there, it uses\n"
                           "~/Reefbook if that folder exists, as the desktop program does.\n"
                           "\n"
                           "Exit status: 0 done, 1 check found problems, 2 error.\n");
    return text;
}

bool resolveFileSet(Context& ctx, AppState& state) {
    settings::readStartup(state, nullptr);
    if (ctx.diverName.isEmpty())
        return true;
    const QString& list = divers::ListFileName;
    const fileio::ReadResult r = fileio::readWhole(list);
    if (r.status == fileio::ReadStatus::Missing) {
        ctx.fail(QStringLiteral("%1 not found; --diver needs the list of divers").arg(list));
        return false;
    }
    if (r.status != fileio::ReadStatus::Ok) {
        ctx.fail(QStringLiteral("cannot read %1: %2").arg(list, r.error));
        return false;
    }
    QString problem;
    const std::vector<DiverEntry> all = dvl::parseDivers(r.data, &problem);
    if (!problem.isEmpty())
        ctx.warn(QStringLiteral("%1: %2").arg(list, problem));
    for (const DiverEntry& d : all) {
        if (d.Name == ctx.diverName) {
            state.DiverName = d.Name;
            state.Files = d.Files;
            return true;
        }
    }
    ctx.fail(QStringLiteral("no diver named \"%1\" in %2").arg(ctx.diverName, list));
    return false;
}

const char* fileRole(size_t index) {
    return index < FileSet::Roles.size() ? FileSet::Roles[index] : "data";
}

QString unsafeFileName(const FileSet& files) {
    const auto names = files.names();
    for (size_t i = 0; i < names.size(); ++i)
        if (!fileio::isSafeFileName(names[i]))
            return QStringLiteral("unsafe %1 file name \"%2\" (a data file must be a bare "
                                  "name in this folder)")
                .arg(QLatin1String(fileRole(i)), names[i]);
    return {};
}

bool openFileSet(Context& ctx, AppState& state, FileProblems& problems) {
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
            const fileio::ReadResult r = fileio::readWhole(name);
            if (r.status != fileio::ReadStatus::Ok) {
                ctx.fail(QStringLiteral("cannot read %1: %2").arg(name, r.error));
                return false;
            }
        }
    }
    problems = OpenLog(state);
    return true;
}

namespace {
// File names typed on the command line mean what they mean where the command was typed, even
// when the data files are in another folder.
void anchorPaths(const QString& command, QStringList& args, const QDir& caller) {
    for (qsizetype i = 0; i < args.size(); ++i)
        if (args[i] != QLatin1String("-") &&
            ((command == QLatin1String("load") && i == 0) ||
             (command == QLatin1String("export") && i > 0 && args[i - 1] == QLatin1String("-o"))))
            args[i] = caller.absoluteFilePath(args[i]);
    // import KIND [options] FILE [options]: the one word that is neither an option nor the
    // value of one.
    if (command != QLatin1String("import")) return;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--units") || args[i] == QLatin1String("--date-format")) {
            ++i;
        } else if (!args[i].startsWith(QLatin1Char('-'))) {
            args[i] = caller.absoluteFilePath(args[i]);
            return;
        }
    }
}
} // namespace

int runCli(const QStringList& args, QIODevice& out, QTextStream& err) {
    Context ctx{{}, {}, out, err};
    QString command, dataDir;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        // Options before the command are the program's; words after it are the command's.
        if (!command.isEmpty()) {
            ctx.args << a;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            const QByteArray help = helpText().toUtf8();
            out.write(help);
            return ExitOk;
        } else if (a == QLatin1String("--diver")) {
            if (i + 1 >= args.size())
                return ctx.fail(QStringLiteral("--diver needs a diver's name"));
            ctx.diverName = args[++i];
            if (ctx.diverName.isEmpty())
                return ctx.fail(QStringLiteral("--diver needs a diver's name"));
        } else if (a.startsWith(QLatin1String("--diver="))) {
            ctx.diverName = a.mid(8);
            if (ctx.diverName.isEmpty())
                return ctx.fail(QStringLiteral("--diver needs a diver's name"));
        } else if (a == QLatin1String("--data-dir") || a.startsWith(QLatin1String("--data-dir="))) {
            dataDir = a.size() > 10 ? a.mid(11) : i + 1 < args.size() ? args[++i] : QString();
            if (dataDir.isEmpty())
                return ctx.fail(QStringLiteral("--data-dir needs a folder"));
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return ctx.fail(QStringLiteral("unknown option %1 (try --help)").arg(a));
        } else {
            command = a;
        }
    }
    if (command.isEmpty())
        return ctx.fail(QStringLiteral("no command given (try --help)"));
    const datafolder::Choice folder =
        datafolder::choose(dataDir, QDir::currentPath(), QDir::homePath(), false);
    if (!folder.folder.isEmpty()) {
        anchorPaths(command, ctx.args, QDir::current());
        // A mistyped --data-dir should not leave an empty new folder behind.
        if (const QString problem = datafolder::enter(folder.folder, false); !problem.isEmpty())
            return ctx.fail(problem);
    }
    for (const Command& c : commands())
        if (c.name == command)
            return c.run(ctx);
    return ctx.fail(QStringLiteral("unknown command \"%1\" (try --help)").arg(command));
}

} // namespace cli
