#include "Cli.h"
#include "ExportOptions.h"

#include "JsonDump.h"
#include "JsonLoad.h"
#include "output/ExportCommand.h"
#include "print/PrintLayout.h"
#include "session/Session.h"
#include "settings/Settings.h"
#include "store/Consistency.h"
#include "divers/DiverList.h"
#include "store/DvlFormat.h"
#include "lists/ListOps.h"
#include "store/LogOps.h"
#include "store/Recovery.h"
#include "store/Totals.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

namespace cli {

namespace {

bool noArguments(Context& ctx, const char* command) {
    if (ctx.args.isEmpty())
        return true;
    ctx.fail(QStringLiteral("%1 takes no arguments, got \"%2\"")
                 .arg(QLatin1String(command), ctx.args.first()));
    return false;
}

void warnAll(Context& ctx, const store::FileProblems& problems) {
    for (const store::FileProblem& p : problems)
        ctx.warn(QStringLiteral("%1: %2").arg(p.file, p.what));
}

QString entries(int n) {
    return n == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(n);
}

// Problems of divers.dvl itself: a file cut short, names a diver's files must not have.
store::FileProblems checkDiverList() {
    store::FileProblems problems;
    const QString& list = divers::ListFileName;
    const divers::DiverFile f = divers::readDiverFile();
    if (f.status == store::fileio::ReadStatus::Missing) return problems;
    if (f.status != store::fileio::ReadStatus::Ok) {
        problems.push_back({list, f.error});
        return problems;
    }
    if (!f.problem.isEmpty())
        problems.push_back({list, f.problem});
    const std::vector<store::DiverEntry>& all = f.divers;
    for (size_t d = 0; d < all.size(); ++d)
        for (const store::fileio::NameProblem& bad :
             store::fileio::fileSetNameProblems(all[d].Files, settings::settingsFile()))
            problems.push_back(
                {list, QStringLiteral("diver %1 (%2): %3")
                           .arg(d + 1)
                           .arg(all[d].Name,
                                store::fileio::isSafeFileName(bad.name)
                                    ? fileNameProblem(bad)
                                    : QStringLiteral("unsafe %1 file name \"%2\"")
                                          .arg(QLatin1String(fileRole(bad.role)), bad.name))});
    return problems;
}

// Opens the diver's file set for a command that only reads it: what is wrong in the files is a
// warning, and the command goes on with what could be read.
bool openForReading(Context& ctx, store::AppState& state) {
    store::FileProblems problems;
    if (!openFileSet(ctx, state, problems))
        return false;
    warnAll(ctx, problems);
    return true;
}

} // namespace

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
        if (n == 0)
            return {};
    }
}

int infoCommand(Context& ctx) {
    if (!noArguments(ctx, "info"))
        return ExitError;
    store::AppState state;
    if (!openForReading(ctx, state))
        return ExitError;

    const store::LogTotals t = store::totalsUpTo(state, state.DiveCount());
    const store::FileSet& f = state.Files;
    QString text;
    QTextStream s(&text);
    s << "Diver: " << state.DiverName << '\n'
      << "Log: " << f.LogFile << '\n'
      << "Total Dives: " << state.DiveCount() << '\n'
      << "Dive Numbers: " << 1 + state.DiveOffset << '-' << state.DiveCount() + state.DiveOffset
      << '\n'
      << "Time to Date: " << store::timeToDateText(t.minutes) << '\n'
      << "Avg. Depth: " << t.avgDepth() << '\n'
      << "Avg. Time: " << t.avgTime() << '\n'
      << "Locations: " << entries(static_cast<int>(state.LocationList.size())) << " in "
      << f.LocFile << '\n'
      << "Dive Types: " << entries(static_cast<int>(state.TypeList.size())) << " in " << f.TypeFile
      << '\n'
      << "Buddies: " << entries(static_cast<int>(state.BuddyList.size())) << " in " << f.BudFile
      << '\n'
      << "Gear: " << entries(static_cast<int>(state.GearList.size())) << " in " << f.GearFile
      << '\n'
      // Record 0 is a placeholder no dive refers to, so it is not counted.
      << "Profiles: " << state.Profiles.size() - 1 << " in " << f.ProfFile << '\n';
    s.flush();
    ctx.out.write(text.toUtf8());
    return ExitOk;
}

int dumpCommand(Context& ctx) {
    if (!noArguments(ctx, "dump"))
        return ExitError;
    store::AppState state;
    if (!openForReading(ctx, state))
        return ExitError;
    const QByteArray json = dumpJson(state);
    if (ctx.out.write(json) != json.size())
        return ctx.fail(QStringLiteral("cannot write the output: %1").arg(ctx.out.errorString()));
    return ExitOk;
}

int loadCommand(Context& ctx) {
    if (ctx.args.size() != 1)
        return ctx.fail(QStringLiteral("load needs exactly one JSON file"));
    const QString source = ctx.typedPath(ctx.args.first());
    store::FolderLock lock;
    if (!lockForWriting(ctx, lock)) return ExitError;
    store::AppState state;
    if (!resolveFileSet(ctx, state))
        return ExitError;
    if (const QString unsafe = unsafeFileName(state.Files); !unsafe.isEmpty())
        return ctx.fail(unsafe + QStringLiteral("; nothing was written"));

    QFile in(source);
    if (QFileInfo(source).isDir())
        return ctx.fail(QStringLiteral("cannot read %1: it is a folder").arg(source));
    if (!in.open(QIODevice::ReadOnly))
        return ctx.fail(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
    QByteArray json;
    if (const QString why = readAtMost(in, MaxJsonBytes, json); !why.isEmpty())
        return ctx.fail(QStringLiteral("cannot read %1: %2").arg(source, why));

    if (const QString bad = loadJson(json, state); !bad.isEmpty())
        return ctx.fail(QStringLiteral("%1: %2; nothing was written").arg(source, bad));
    // JSON holds any text; what the files cannot hold is said, not replaced in silence.
    warnAll(ctx, store::consistency::unstorableTexts(state));

    // The files replaced may hold what a reader could not show (a damaged count); they are
    // kept as "<name>.damaged" first, as the desktop program's save does.
    store::AppState onDisk;
    onDisk.Files = state.Files;
    store::OpenLog(onDisk);
    state.DamagedFiles = onDisk.DamagedFiles;

    // Other divers' dives name the entries of a list they share by position: those entries
    // keep their places.
    for (int which = 0; which < 4; ++which) {
        const QStringList others = divers::sharedWith(state, which);
        if (others.isEmpty()) continue;
        if (const QString change = lists::sharedListChange(onDisk.list(which), state.list(which));
            !change.isEmpty())
            return ctx.fail(QStringLiteral("%1 is shared with %2: %3, and their dives would name "
                                           "another entry; nothing was written")
                                .arg(state.Files.names()[static_cast<size_t>(which) + 1],
                                     others.join(QStringLiteral(", ")), change));
    }

    bool mixed = false;
    const store::FileProblems failures = session::Session(state).save(&mixed);
    for (const store::FileProblem& p : failures)
        ctx.fail(QStringLiteral("cannot write %1: %2").arg(p.file, p.what));
    if (failures.empty())
        return ExitOk;
    if (mixed)
        return ctx.fail(QStringLiteral("the files could not all be put back as they were; run "
                                       "reefbook-cli check and keep the copies named above"));
    return ctx.fail(QStringLiteral("no file was replaced; the six files are as they were"));
}

namespace {

// The printed pages as PDF. The fonts they are measured in need a GUI application, which
// main() starts on the offscreen platform for this command; no window ever opens.
QByteArray printedPdf(const store::AppState& state, const std::vector<int>& dives,
                      bool withComments, const QString& pageSize, bool withProfiles) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
    const QPageSize::PageSizeId id = pageSize == QLatin1String("A4")       ? QPageSize::A4
                                     : pageSize == QLatin1String("Letter") ? QPageSize::Letter
                                                                           : print::localePageSize();
    return print::pdfDocument(state, dives, withComments, id, withProfiles);
}

} // namespace

int exportCommand(Context& ctx) {
    output::ExportRequest request;
    QString error;
    if (!exportRequest(*ctx.line, ctx.args, request, error))
        return ctx.fail(QStringLiteral("export: ") + error);
    request.outName = ctx.typedPath(request.outName);
    store::AppState state;
    if (!openForReading(ctx, state))
        return ExitError;
    return output::exportCommand(state, request, ctx.out, ctx.err, printedPdf);
}

int checkCommand(Context& ctx) {
    if (!noArguments(ctx, "check"))
        return ExitError;
    store::AppState state;
    if (!resolveFileSet(ctx, state))
        return ExitError;
    // Unsafe names are among the problems to list, so the set is opened without the refusal
    // openFileSet makes; OpenLog itself never touches such a name.
    store::FileProblems problems = store::OpenLog(state);
    const store::FileProblems refs = store::consistency::checkReferences(state);
    problems.insert(problems.end(), refs.begin(), refs.end());
    const store::FileProblems diverList = checkDiverList();
    problems.insert(problems.end(), diverList.begin(), diverList.end());
    const store::FileProblems journal = store::recovery::journalProblems(state.Files);
    problems.insert(problems.end(), journal.begin(), journal.end());

    QByteArray text;
    for (const store::FileProblem& p : problems)
        text += QStringLiteral("%1: %2\n").arg(p.file, p.what).toUtf8();
    if (problems.empty())
        text = "No problems found.\n";
    ctx.out.write(text);
    return problems.empty() ? ExitOk : ExitProblems;
}

} // namespace cli
