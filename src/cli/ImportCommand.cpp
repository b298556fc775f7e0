#include "Cli.h"

#include "interchange/CsvImport.h"
#include "store/LogOps.h"

#include <QFile>
#include <QFileInfo>

namespace cli {

namespace {
QString dives(int n) {
    return n == 1 ? QStringLiteral("1 dive") : QStringLiteral("%1 dives").arg(n);
}
} // namespace

int importCommand(Context& ctx) {
    const QString usage = QStringLiteral("import csv FILE [--units imperial|metric] [--dry-run]");
    if (ctx.args.value(0) != QLatin1String("csv"))
        return ctx.fail(QStringLiteral("say what to read: ") + usage);
    QString source;
    QString unitsText = QStringLiteral("imperial");
    bool dryRun = false;
    for (qsizetype k = 1; k < ctx.args.size(); ++k) {
        const QString& a = ctx.args[k];
        if (a == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (a == QLatin1String("--units")) {
            if (k + 1 >= ctx.args.size()) return ctx.fail(QStringLiteral("--units needs a value"));
            unitsText = ctx.args[++k];
        } else if (a.startsWith(QLatin1String("--units="))) {
            unitsText = a.mid(8);
        } else if (a.startsWith(QLatin1Char('-')) || !source.isEmpty()) {
            return ctx.fail(QStringLiteral("unknown argument '%1' (%2)").arg(a, usage));
        } else {
            source = a;
        }
    }
    if (source.isEmpty()) return ctx.fail(QStringLiteral("no file given: ") + usage);
    const std::optional<interchange::Units> units = interchange::unitsNamed(unitsText);
    if (!units)
        return ctx.fail(QStringLiteral("--units is imperial or metric, not '%1'").arg(unitsText));

    FolderLock lock;
    if (!dryRun && !lockForWriting(ctx, lock)) return ExitError;
    AppState state;
    FileProblems problems;
    if (!openFileSet(ctx, state, problems)) return ExitError;
    // Adding to a log that could not be read whole would bury what was lost under new dives.
    if (!problems.empty()) {
        for (const FileProblem& p : problems)
            ctx.warn(QStringLiteral("%1: %2").arg(p.file, p.what));
        return ctx.fail(QStringLiteral("the log's files are damaged (see reefbook-cli check); "
                                       "nothing was written"));
    }

    // Looked at before it is opened: opening a pipe waits for a writer, and a device such as
    // /dev/zero never ends.
    const QFileInfo info(source);
    if (info.exists() && !info.isFile())
        return ctx.fail(QStringLiteral("cannot read %1: not a regular file (a device or a pipe "
                                       "is never read); nothing was written")
                            .arg(source));
    // The file is read in memory. A log of 32767 dives with 1000-character comments is about
    // 40 MB of CSV, so a larger file is something else.
    constexpr qint64 MaxBytes = 64LL * 1024 * 1024;
    if (info.size() > MaxBytes)
        return ctx.fail(QStringLiteral("%1 is %2 bytes, more than the CSV of a whole log can be "
                                       "(%3 bytes); nothing was written")
                            .arg(source)
                            .arg(info.size())
                            .arg(MaxBytes));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return ctx.fail(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return ctx.fail(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));

    const interchange::ImportReport r = interchange::importCsv(state, bytes, *units);
    for (const QString& w : r.warnings)
        ctx.warn(QStringLiteral("%1: %2").arg(source, printable(w)));
    if (!r.errors.isEmpty()) {
        for (const QString& e : r.errors)
            ctx.err << source << ": " << printable(e) << '\n';
        return ctx.fail(QStringLiteral("%1 not imported; nothing was written").arg(source));
    }

    const int first = r.firstIndex + state.DiveOffset, last = first + r.added - 1;
    QString text =
        QStringLiteral("%1 %2 as %3 (%4 units)%5\n")
            .arg(dryRun ? QStringLiteral("Would add") : QStringLiteral("Added"), dives(r.added),
                 first == last ? QStringLiteral("dive %1").arg(first)
                               : QStringLiteral("dives %1 to %2").arg(first).arg(last))
            .arg(interchange::unitsName(*units),
                 r.replacedBlank ? QStringLiteral(", in place of the blank dive") : QString());
    static const char* const lists[4] = {"Locations", "Dive types", "Buddies", "Gear"};
    for (int w = 0; w < 4; ++w)
        if (!r.newNames[static_cast<size_t>(w)].isEmpty())
            text += QStringLiteral("New %1: %2\n")
                        .arg(QString::fromLatin1(lists[w]).toLower(),
                             printable(r.newNames[static_cast<size_t>(w)].join(
                                 QStringLiteral(", "))));
    if (!dryRun) {
        const FileProblems failures = SaveLog(state);
        for (const FileProblem& p : failures)
            ctx.fail(QStringLiteral("cannot write %1: %2").arg(p.file, p.what));
        if (!failures.empty()) return ExitError;
    }
    ctx.out.write(text.toUtf8());
    return ExitOk;
}

} // namespace cli
