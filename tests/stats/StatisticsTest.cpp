#include "stats/Statistics.h"
#include "stats/ChartData.h"
#include "stats/StatsTable.h"

#include <gtest/gtest.h>

namespace stats {

namespace {

using stats::GroupBy;

struct DiveRow {
    int month, year, bottomTime, depth, psiIn, psiOut, air, vis, location, buddy;
};

// Six dives worked through by hand. Dive 5 has no month, dive 6 no year and a location
// beyond the list; dive 2's PSI out and dive 3's PSI in are missing, so neither used any air.
store::AppState smallLog() {
    const DiveRow rows[] = {
        {7, 1997, 40, 60, 3000, 500, 80, 0, 1, 1}, // 1
        {7, 1997, 0, 30, 3000, 0, 0, 50, 0, 0},    // 2
        {12, 1997, 50, 0, 0, 700, 76, 30, 1, 1},   // 3
        {7, 2001, 30, 100, 2800, 800, 0, 0, 2, 0}, // 4
        {0, 1999, 20, 20, 3000, 1000, 0, 0, 0, 1}, // 5
        {3, 0, 0, 0, 0, 0, 0, 0, 7, 1},            // 6
    };
    store::AppState s;
    s.LocationList = {{QStringLiteral("Pier"), {}, {}},
                      {QStringLiteral("Blue Hole"), {}, {}},
                      {QStringLiteral("Wreck"), {}, {}}};
    s.TypeList = {{QStringLiteral("Pleasure"), {}, {}}};
    s.BuddyList = {{QStringLiteral("None"), {}, {}}, {QStringLiteral("Ann"), {}, {}}};
    s.GearList = {{QStringLiteral("Standard"), {}, {}}};
    for (const DiveRow& r : rows) {
        store::DiveRecord d;
        d.TimeData[store::field::Month] = static_cast<int16_t>(r.month);
        d.TimeData[store::field::Year] = static_cast<int16_t>(r.year);
        d.DiveData[store::field::BottomTime] = static_cast<int16_t>(r.bottomTime);
        d.DiveData[store::field::MaxDepth] = static_cast<int16_t>(r.depth);
        d.DiveData[store::field::PsiIn] = static_cast<int16_t>(r.psiIn);
        d.DiveData[store::field::PsiOut] = static_cast<int16_t>(r.psiOut);
        d.DiveData[store::field::AirTemp] = static_cast<int16_t>(r.air);
        d.DiveData[store::field::Visibility] = static_cast<int16_t>(r.vis);
        d.ListData[store::field::Location] = static_cast<int16_t>(r.location);
        d.ListData[store::field::Buddy] = static_cast<int16_t>(r.buddy);
        s.Dives.push_back(d);
    }
    return s;
}

// "count/total/min/max" of a tally; "0" when nothing was entered.
std::string tally(const stats::Tally& t) {
    if (t.count == 0) return "0";
    return std::to_string(t.count) + "/" + std::to_string(t.total) + "/" + std::to_string(t.min) +
           "/" + std::to_string(t.max);
}

// A group as "key: dives, bottom time, depth, air, visibility, pressure used".
std::string describe(const QString& key, const stats::Group& g) {
    return key.toStdString() + ": " + std::to_string(g.dives) + ", " +
           tally(g.tallies[stats::BottomTime]) + ", " + tally(g.tallies[stats::Depth]) + ", " +
           tally(g.tallies[stats::AirTemp]) + ", " + tally(g.tallies[stats::Visibility]) + ", " +
           tally(g.tallies[stats::PressureUsed]);
}

} // namespace

TEST(Statistics, GroupsAndLeavesOutWhatWasNotEntered) {
    const store::AppState log = smallLog();
    const std::string all = "All: 6, 4/140/20/50, 4/210/20/100, 2/156/76/80, 2/80/30/50, "
                            "3/6500/2000/2500";
    const struct {
        GroupBy by;
        std::vector<int> dives;
        std::vector<std::string> groups;
        std::string all;
    } cases[] = {
        {GroupBy::Year,
         stats::everyDive(log),
         {"1997: 3, 2/90/40/50, 2/90/30/60, 2/156/76/80, 2/80/30/50, 1/2500/2500/2500",
          "2001: 1, 1/30/30/30, 1/100/100/100, 0, 0, 1/2000/2000/2000",
          "Undated: 2, 1/20/20/20, 1/20/20/20, 0, 0, 1/2000/2000/2000"},
         all},
        {GroupBy::Month,
         stats::everyDive(log),
         {"1997-07: 2, 1/40/40/40, 2/90/30/60, 1/80/80/80, 1/50/50/50, 1/2500/2500/2500",
          "1997-12: 1, 1/50/50/50, 0, 1/76/76/76, 1/30/30/30, 0",
          "2001-07: 1, 1/30/30/30, 1/100/100/100, 0, 0, 1/2000/2000/2000",
          "Undated: 2, 1/20/20/20, 1/20/20/20, 0, 0, 1/2000/2000/2000"},
         all},
        {GroupBy::MonthOfYear,
         stats::everyDive(log),
         {"July: 3, 2/70/30/40, 3/190/30/100, 1/80/80/80, 1/50/50/50, 2/4500/2000/2500",
          "December: 1, 1/50/50/50, 0, 1/76/76/76, 1/30/30/30, 0",
          "Undated: 2, 1/20/20/20, 1/20/20/20, 0, 0, 1/2000/2000/2000"},
         all},
        {GroupBy::Location,
         stats::everyDive(log),
         {"Pier: 2, 1/20/20/20, 2/50/20/30, 0, 1/50/50/50, 1/2000/2000/2000",
          "Blue Hole: 2, 2/90/40/50, 1/60/60/60, 2/156/76/80, 1/30/30/30, 1/2500/2500/2500",
          "Wreck: 1, 1/30/30/30, 1/100/100/100, 0, 0, 1/2000/2000/2000",
          "Not in the list: 1, 0, 0, 0, 0, 0"},
         all},
        {GroupBy::Buddy,
         stats::everyDive(log),
         {"None: 2, 1/30/30/30, 2/130/30/100, 0, 1/50/50/50, 1/2000/2000/2000",
          "Ann: 4, 3/110/20/50, 2/80/20/60, 2/156/76/80, 1/30/30/30, 2/4500/2000/2500"},
         all},
        {GroupBy::Type, stats::everyDive(log), {"Pleasure: " + all.substr(5)}, all},
        // A selection made before dives went away: positions outside the log and repeats
        // count once or not at all.
        {GroupBy::Year,
         {4, 1, 4, 99, 0, -2},
         {"1997: 1, 1/40/40/40, 1/60/60/60, 1/80/80/80, 0, 1/2500/2500/2500",
          "2001: 1, 1/30/30/30, 1/100/100/100, 0, 0, 1/2000/2000/2000"},
         "All: 2, 2/70/30/40, 2/160/60/100, 1/80/80/80, 0, 2/4500/2000/2500"},
        {GroupBy::Gear, {}, {}, "All: 0, 0, 0, 0, 0, 0"},
    };
    for (const auto& c : cases) {
        const stats::Summary s = stats::summarize(log, c.dives, c.by);
        std::vector<std::string> groups;
        for (const stats::Group& g : s.groups)
            groups.push_back(describe(stats::keyText(c.by, g), g));
        EXPECT_EQ(c.groups, groups) << stats::groupingWord(c.by).toStdString();
        EXPECT_EQ(c.all, describe(QStringLiteral("All"), s.all));
    }
}

TEST(Statistics, AveragesTablesAndCharts) {
    const std::pair<stats::Tally, const char*> averages[] = {
        {{2, 90, 40, 50}, "45.0"}, {{3, 6500, 2000, 2500}, "2166.7"},
        {{4, 1, 0, 1}, "0.3"},     {{4, -1, -1, 0}, "-0.3"},
        {{3, -5, -3, -1}, "-1.7"}, {{2, -3, -2, -1}, "-1.5"},
        {{0, 0, 0, 0}, "-"},       {{32767, int64_t(32767) * 32767, 32767, 32767}, "32767.0"},
    };
    for (const auto& [t, text] : averages)
        EXPECT_EQ(QString::fromLatin1(text), stats::averageText(t)) << t.total << "/" << t.count;

    const store::AppState log = smallLog();
    const stats::TextTable t =
        stats::textTable(stats::summarize(log, stats::everyDive(log), GroupBy::Year));
    ASSERT_EQ(24, t.header.size());
    EXPECT_EQ((QStringList{"1997", "3",    "1:30", "45.0", "40", "50",     "45.0", "30",
                           "60",   "78.0", "76",   "80",   "-",  "-",      "-",    "-",
                           "-",    "-",    "40.0", "30",   "50", "2500.0", "2500", "2500"}),
              t.rows.front());
    EXPECT_EQ(QStringLiteral("All"), t.rows.back().front());
    EXPECT_EQ(QStringLiteral("Avg Depth (ft)"), t.header[6]);

    // Bins: at most twelve, of a round width.
    const std::tuple<int, int, int> widths[] = {{10, 100, 10}, {0, 11, 1}, {0, 12, 2},
                                                {5, 130, 20},  {-3, 8, 1}, {1, 32767, 5000}};
    for (const auto& [lo, hi, width] : widths)
        EXPECT_EQ(width, stats::binWidth(lo, hi, 12)) << lo << ".." << hi;

    const auto bars = [&](stats::Chart chart) {
        std::vector<std::string> out;
        for (const stats::Bar& b : stats::chartData(log, stats::everyDive(log), chart).bars)
            out.push_back(b.label.toStdString() + "=" + std::to_string(b.count));
        return out;
    };
    EXPECT_EQ((std::vector<std::string>{"20–29=1", "30–39=1", "40–49=0", "50–59=0", "60–69=1",
                                        "70–79=0", "80–89=0", "90–99=0", "100–109=1"}),
              bars(stats::Chart::DepthHistogram));
    EXPECT_EQ(
        (std::vector<std::string>{"Jan=0", "Feb=0", "Mar=0", "Apr=0", "May=0", "Jun=0", "Jul=3",
                                  "Aug=0", "Sep=0", "Oct=0", "Nov=0", "Dec=1", "Undated=2"}),
        bars(stats::Chart::DivesPerMonthOfYear));
}

} // namespace stats
