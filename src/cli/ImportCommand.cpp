#include "ImportCommand.h"

#include "Cli.h"

#include "interchange/CsvImport.h"
#include "session/Session.h"
#include "interchange/UddfImport.h"
#include "settings/Settings.h"
#include "store/Consistency.h"
#include "store/LogOps.h"

#include <QFile>
#include <QFileInfo>

namespace cli {

namespace {
QString dives(int n) {
    return n == 1 ? QStringLiteral("1 dive") : QStringLiteral("%1 dives").arg(n);
}
} // namespace

ImportCommand::ImportCommand()
    : Command(QStringLiteral("import"),
              QStringLiteral("csv|uddf FILE [--units imperial|metric] [--date-format YMD|MDY|DMY] "
                             "[--dry-run]"),
              QStringLiteral("add the dives of a CSV or UDDF file to the log"),
              {
                  {QStringLiteral("units"), QStringLiteral("imperial|metric"),
                   QStringLiteral("csv: the units of the file's numbers")},
                  {QStringLiteral("date-format"), QStringLiteral("YMD|MDY|DMY"),
                   QStringLiteral("csv: the order of the dates' parts")},
                  {QStringLiteral("dry-run"),
                   {},
                   QStringLiteral("say what would be added; write nothing")},
              }) {}

int ImportCommand::run(Context& ctx) const {
    const QString usage = name() + QLatin1Char(' ') + Command::usage();
    const QString kind = ctx.args.value(0);
    if (kind != QLatin1String("csv") && kind != QLatin1String("uddf"))
        return ctx.fail(QStringLiteral("say what to read: ") + usage);
    const bool uddf = kind == QLatin1String("uddf");
    if (ctx.args.size() > 2)
        return ctx.fail(QStringLiteral("unknown argument '%1' (%2)").arg(ctx.args[2], usage));
    const QString source = ctx.typedPath(ctx.args.value(1));
    const QString unitsText = ctx.line->value(QStringLiteral("units"));
    const QString orderText = ctx.line->value(QStringLiteral("date-format"));
    const bool dryRun = ctx.line->isSet(QStringLiteral("dry-run"));
    if (source.isEmpty()) return ctx.fail(QStringLiteral("no file given: ") + usage);
    std::optional<interchange::DateOrder> order = interchange::DateOrder::Unknown;
    if (!orderText.isEmpty()) order = interchange::dateOrderNamed(orderText);
    if (!order)
        return ctx.fail(
            QStringLiteral("--date-format is YMD, MDY or DMY, not '%1'").arg(orderText));
    if (uddf && !orderText.isEmpty())
        return ctx.fail(QStringLiteral("--date-format is for CSV; UDDF dates say their order"));

    store::FolderLock lock;
    if (!dryRun && !lockForWriting(ctx, lock)) return ExitError;
    store::AppState state;
    if (!openWholeFileSet(ctx, state)) return ExitError;
    // The diver's own units unless he says otherwise for this file.
    std::optional<interchange::Units> units = settings::diverUnits(state.Files);
    if (!unitsText.isEmpty()) units = interchange::unitsNamed(unitsText);
    if (!units)
        return ctx.fail(QStringLiteral("--units is imperial or metric, not '%1'").arg(unitsText));

    // Looked at before it is opened: opening a pipe waits for a writer, and a device such as
    // /dev/zero never ends.
    const QFileInfo info(source);
    if (info.exists() && !info.isFile())
        return ctx.fail(QStringLiteral("cannot read %1: not a regular file (a device or a pipe "
                                       "is never read); nothing was written")
                            .arg(source));
    // The file is read in memory. A log of 32767 dives with 1000-character comments is about
    // 40 MB of CSV; as UDDF, with a profile for every dive, some hundred megabytes. A larger
    // file is something else.
    const qint64 MaxBytes = uddf ? qint64(1) << 30 : qint64(64) << 20;
    if (info.size() > MaxBytes)
        return ctx.fail(QStringLiteral("%1 is %2 bytes, more than the %3 of a whole log can be "
                                       "(%4 bytes); nothing was written")
                            .arg(source)
                            .arg(info.size())
                            .arg(uddf ? QStringLiteral("UDDF") : QStringLiteral("CSV"))
                            .arg(MaxBytes));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return ctx.fail(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
    QByteArray bytes;
    if (const QString why = readAtMost(in, MaxBytes, bytes); !why.isEmpty())
        return ctx.fail(QStringLiteral("cannot read %1: %2; nothing was written").arg(source, why));

    const interchange::ImportReport r = uddf ? interchange::importUddf(state, bytes, *units)
                                             : interchange::importCsv(state, bytes, *units, *order);
    for (const QString& w : r.warnings)
        ctx.warn(QStringLiteral("%1: %2").arg(source, printable(w)));
    if (!r.errors.isEmpty()) {
        for (const QString& e : r.errors)
            ctx.err << source << ": " << printable(e) << '\n';
        return ctx.fail(QStringLiteral("%1 not imported; nothing was written").arg(source));
    }
    // The log's own texts came from its files and all fit them; what does not came with the
    // import and would become '?': each such text is named with its characters.
    for (const store::FileProblem& p : store::consistency::unstorableTexts(state))
        ctx.warn(printable(QStringLiteral("%1: %2").arg(p.file, p.what)));

    QString text;
    const QString verb = dryRun ? QStringLiteral("Would add") : QStringLiteral("Added");
    if (r.added == 0) {
        text = QStringLiteral("%1 no dive (%2 units)\n").arg(verb, interchange::unitsName(*units));
    } else {
        const int first = r.firstIndex + state.DiveOffset, last = first + r.added - 1;
        text =
            QStringLiteral("%1 %2 as %3 (%4 units)%5\n")
                .arg(verb, dives(r.added),
                     first == last ? QStringLiteral("dive %1").arg(first)
                                   : QStringLiteral("dives %1 to %2").arg(first).arg(last))
                .arg(interchange::unitsName(*units),
                     r.replacedBlank ? QStringLiteral(", in place of the blank dive") : QString());
    }
    if (dryRun)
        for (const QString& d : r.details)
            text += QStringLiteral("  ") + d + QLatin1Char('\n');
    if (!r.skipped.isEmpty()) {
        text += QStringLiteral("Skipped %1:\n").arg(dives(static_cast<int>(r.skipped.size())));
        for (const QString& s : r.skipped)
            text += QStringLiteral("  ") + s + QLatin1Char('\n');
    }
    static const char* const lists[4] = {"locations", "dive types", "buddies", "gear"};
    for (int w = 0; w < 4; ++w)
        if (!r.newNames[static_cast<size_t>(w)].isEmpty())
            text +=
                QStringLiteral("New %1: %2\n")
                    .arg(QLatin1String(lists[w]),
                         printable(r.newNames[static_cast<size_t>(w)].join(QStringLiteral(", "))));
    if (!r.columnsLeftOut.isEmpty()) {
        text += QStringLiteral("Columns left out:\n");
        for (const QString& c : r.columnsLeftOut)
            text += QStringLiteral("  ") + printable(c) + QLatin1Char('\n');
    }
    if (!dryRun && r.added > 0) {
        const store::FileProblems failures = session::Session(state).save();
        for (const store::FileProblem& p : failures)
            ctx.fail(QStringLiteral("cannot write %1: %2").arg(p.file, p.what));
        if (!failures.empty()) return ExitError;
    }
    ctx.out.write(text.toUtf8());
    return ExitOk;
}

} // namespace cli
