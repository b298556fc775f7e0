#include "Cli.h"

#include "interchange/CsvImport.h"
#include "session/Session.h"
#include "interchange/UddfImport.h"
#include "settings/Settings.h"
#include "store/LogOps.h"

#include <QFile>

namespace cli {

namespace {
QString dives(int n) {
    return n == 1 ? QStringLiteral("1 dive") : QStringLiteral("%1 dives").arg(n);
}
} // namespace

int importCommand(Context& ctx) {
    const QString usage = QStringLiteral("import csv|uddf FILE [--units imperial|metric] "
                                         "[--date-format YMD|MDY|DMY] [--dry-run]");
    const QString kind = ctx.args.value(0);
    if (kind != QLatin1String("csv") && kind != QLatin1String("uddf"))
        return ctx.fail(QStringLiteral("say what to read: ") + usage);
    const bool uddf = kind == QLatin1String("uddf");
    QString source, unitsText, orderText;
    bool dryRun = false;
    for (qsizetype k = 1; k < ctx.args.size(); ++k) {
        const QString& a = ctx.args[k];
        QString* value = a == QLatin1String("--units")         ? &unitsText
                         : a == QLatin1String("--date-format") ? &orderText
                                                               : nullptr;
        if (a == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (value) {
            if (k + 1 >= ctx.args.size())
                return ctx.fail(QStringLiteral("%1 needs a value").arg(a));
            *value = ctx.args[++k];
        } else if (a.startsWith(QLatin1String("--units="))) {
            unitsText = a.mid(8);
        } else if (a.startsWith(QLatin1String("--date-format="))) {
            orderText = a.mid(14);
        } else if (a.startsWith(QLatin1Char('-')) || !source.isEmpty()) {
            return ctx.fail(QStringLiteral("unknown argument '%1' (%2)").arg(a, usage));
        } else {
            source = a;
        }
    }
    if (source.isEmpty()) return ctx.fail(QStringLiteral("no file given: ") + usage);
    std::optional<interchange::DateOrder> order = interchange::DateOrder::Unknown;
    if (!orderText.isEmpty()) order = interchange::dateOrderNamed(orderText);
    if (!order)
        return ctx.fail(
            QStringLiteral("--date-format is YMD, MDY or DMY, not '%1'").arg(orderText));
    if (uddf && !orderText.isEmpty())
        return ctx.fail(QStringLiteral("--date-format is for CSV; UDDF dates say their order"));

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
    // The diver's own units unless he says otherwise for this file.
    std::optional<interchange::Units> units = settings::diverUnits(state.Files);
    if (!unitsText.isEmpty()) units = interchange::unitsNamed(unitsText);
    if (!units)
        return ctx.fail(QStringLiteral("--units is imperial or metric, not '%1'").arg(unitsText));

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return ctx.fail(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
    // The file is read in memory; a real log's export is some megabytes, so a huge file is
    // something else.
    constexpr qint64 MaxBytes = 1LL << 30;
    QByteArray bytes;
    if (const QString why = readAtMost(in, MaxBytes, bytes); !why.isEmpty())
        return ctx.fail(QStringLiteral("cannot read %1: %2; nothing was written").arg(source, why));

    const interchange::ImportReport r = uddf ? interchange::importUddf(state, bytes, *units)
                                             : interchange::importCsv(state, bytes, *units, *order);
    for (const QString& w : r.warnings)
        ctx.warn(QStringLiteral("%1: %2").arg(source, w));
    if (!r.errors.isEmpty()) {
        for (const QString& e : r.errors)
            ctx.err << source << ": " << e << '\n';
        return ctx.fail(QStringLiteral("%1 not imported; nothing was written").arg(source));
    }

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
            text += QStringLiteral("New %1: %2\n")
                        .arg(QLatin1String(lists[w]),
                             r.newNames[static_cast<size_t>(w)].join(QStringLiteral(", ")));
    if (!r.columnsLeftOut.isEmpty()) {
        text += QStringLiteral("Columns left out:\n");
        for (const QString& c : r.columnsLeftOut)
            text += QStringLiteral("  ") + c + QLatin1Char('\n');
    }
    if (!dryRun && r.added > 0) {
        const FileProblems failures = session::Session(state).save();
        for (const FileProblem& p : failures)
            ctx.fail(QStringLiteral("cannot write %1: %2").arg(p.file, p.what));
        if (!failures.empty()) return ExitError;
    }
    ctx.out.write(text.toUtf8());
    return ExitOk;
}

} // namespace cli
