// reefbook-cli stats: the statistics window's table without a window, as text or JSON.
#include "StatsCommand.h"

#include "JsonDump.h"
#include "SelectionOptions.h"

#include "stats/StatsTable.h"

namespace cli {

namespace {

const char* const StatsUsage =
    "Figures of the chosen dives per group, as the Statistics window shows them: the number of\n"
    "dives, then for bottom time, maximum depth, air, surface and bottom temperature,\n"
    "visibility and the pressure used (PSI in less PSI out) the average, least and greatest\n"
    "value. A value of 0 is one not entered and is left out.\n"
    "\n"
    "With no dive option every dive counts; with any, exactly the dives `select` lists with\n"
    "the same options (a range alone chooses none: add --all-in-range).\n";

const char* const QuantityKeys[stats::QuantityCount] = {"bottom_time",  "depth",       "air_temp",
                                                        "surface_temp", "bottom_temp", "visibility",
                                                        "pressure_used"};

QByteArray keyJson(stats::GroupBy by, const stats::Group& g) {
    if (!g.hasKey) return QByteArrayLiteral("null");
    switch (by) {
    case stats::GroupBy::Year:
    case stats::GroupBy::MonthOfYear:
        return QByteArray::number(g.key);
    case stats::GroupBy::Month:
        return jsonString(stats::keyText(by, g));
    default:
        return jsonString(g.name);
    }
}

QByteArray groupJson(const QByteArray& key, const stats::Group& g) {
    QByteArray out = "{\"key\": " + key + ", \"dives\": " + QByteArray::number(g.dives);
    for (int q = 0; q < stats::QuantityCount; ++q) {
        const stats::Tally& t = g.tallies[static_cast<size_t>(q)];
        out += ", \"";
        out += QuantityKeys[q];
        out += "\": {\"count\": " + QByteArray::number(t.count) +
               ", \"total\": " + QByteArray::number(static_cast<qlonglong>(t.total)) +
               ", \"min\": " + (t.count ? QByteArray::number(t.min) : QByteArray("null")) +
               ", \"max\": " + (t.count ? QByteArray::number(t.max) : QByteArray("null")) + '}';
    }
    return out + '}';
}

QByteArray summaryJson(const stats::Summary& s) {
    QByteArray out = "{\"by\": " + jsonString(stats::groupingWord(s.by)) + ", \"groups\": [";
    for (size_t i = 0; i < s.groups.size(); ++i)
        out += (i ? ",\n  " : "\n  ") + groupJson(keyJson(s.by, s.groups[i]), s.groups[i]);
    out += s.groups.empty() ? "]" : "\n]";
    out += ", \"all\": " + groupJson("null", s.all) + "}\n";
    return out;
}

} // namespace

StatsCommand::StatsCommand()
    : Command(
          QStringLiteral("stats"),
          QStringLiteral("[--by year|month|month-of-year|location|type|buddy|gear] "
                         "[CRITERIA...] [--json]"),
          QStringLiteral("dives, times, depths and more per group (stats --help)"),
          withSelection({
              {QStringLiteral("by"), QStringLiteral("GROUPING"),
               QStringLiteral("year (the default), month, month-of-year, location, type,\n"
                              "buddy or gear")},
              {QStringLiteral("json"),
               {},
               QStringLiteral("one object: {\"by\", \"groups\": [GROUP...], \"all\": GROUP};\n"
                              "GROUP {\"key\", \"dives\", \"bottom_time\", \"depth\",\n"
                              "\"air_temp\", \"surface_temp\", \"bottom_temp\", \"visibility\",\n"
                              "\"pressure_used\"}, each figure {\"count\", \"total\", \"min\",\n"
                              "\"max\"}; undated dives have the key null")},
          }),
          QString::fromUtf8(QByteArray(StatsUsage) + "\n" + SelectionHelp)) {}

int StatsCommand::run(Context& ctx) const {
    Selection selection;
    const bool json = ctx.line->isSet(QStringLiteral("json"));
    if (ctx.line->values(QStringLiteral("by")).size() > 1)
        return ctx.fail(QStringLiteral("--by given twice"));
    const QString byWord = ctx.line->value(QStringLiteral("by"));
    if (!parseSelection(ctx, QStringLiteral("stats"), selection)) return ExitError;
    stats::GroupBy by = stats::GroupBy::Year;
    if (ctx.line->isSet(QStringLiteral("by"))) {
        const std::optional<stats::GroupBy> named = stats::groupingNamed(byWord);
        if (!named)
            return ctx.fail(QStringLiteral("--by \"%1\": expected year, month, month-of-year, "
                                           "location, type, buddy or gear")
                                .arg(byWord));
        by = *named;
    }

    store::AppState state;
    if (!openForSelection(ctx, selection.criteria, state)) return ExitError;

    const std::vector<int> dives =
        selection.given ? selectedDives(selection.criteria, state) : stats::everyDive(state);
    const stats::Summary summary = stats::summarize(state, dives, by);
    const QByteArray bytes =
        json ? summaryJson(summary) : stats::alignedText(stats::textTable(summary)).toUtf8();
    if (ctx.out.write(bytes) != bytes.size())
        return ctx.fail(QStringLiteral("cannot write the output: %1").arg(ctx.out.errorString()));
    return ExitOk;
}

} // namespace cli
