#include "search/DiveSearch.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

namespace search {

using search::ChartCriteria;

namespace {

store::DiveRecord dive(int month, int day, int year, int tank, int bottom, int depth, int rating,
                       std::array<int16_t, 4> lists, const char* comment) {
    store::DiveRecord d;
    d.TimeData = {static_cast<int16_t>(month), static_cast<int16_t>(day),
                  static_cast<int16_t>(year)};
    d.DiveData[store::field::TankSize] = static_cast<int16_t>(tank);
    d.DiveData[store::field::BottomTime] = static_cast<int16_t>(bottom);
    d.DiveData[store::field::MaxDepth] = static_cast<int16_t>(depth);
    d.Rating = static_cast<int16_t>(rating);
    d.ListData = lists;
    d.Comments = QString::fromUtf8(comment);
    return d;
}

store::AppState sixDives() {
    store::AppState s;
    s.Dives.push_back(dive(1, 1, 1940, 80, 60, 30, 2, {0, 0, 0, 0}, "Wreck dive"));
    s.Dives.push_back(dive(6, 15, 1997, 63, 90, 18, 1, {1, 1, 1, 1}, "CAFÉ at the pier"));
    s.Dives.push_back(dive(12, 31, 2099, 100, 45, 29, 0, {2, 0, 1, 0}, "Night dive "));
    s.Dives.push_back(dive(12, 31, 1939, 0, 0, 0, 0, {0, 0, 0, 0}, ""));
    s.Dives.push_back(dive(1, 1, 2100, 0, 0, 0, 0, {0, 0, 0, 0}, ""));
    s.Dives.push_back(dive(3, 3, 1997, 0, 0, 0, 0, {0, 2, 0, 3}, "ŒUVRE of Š"));
    s.Dives[2].CondData[3] = 1; // shore
    return s;
}

std::vector<int16_t> found(const std::vector<int16_t>& flagged) {
    return {flagged.begin() + 1, flagged.end()};
}

} // namespace

TEST(Search, DayNumberOfUncheckedDates) {
    struct Row {
        int m, d, y;
        int32_t day;
    };
    for (const Row& r :
         {Row{1, 1, 1940, 2429629}, Row{6, 15, 1997, 2450614}, Row{12, 31, 2099, 2488068},
          Row{2, 31, 1997, 2450510}, Row{3, 3, 1997, 2450510}, Row{13, 1, 1997, 2450814},
          Row{1, 1, 1998, 2450814}, Row{2, 29, 2000, 2451603}})
        EXPECT_EQ(r.day, search::DayNumber(r.m, r.d, r.y)) << r.m << '/' << r.d << '/' << r.y;
}

TEST(Search, YearWindowing) {
    const std::pair<const char*, const char*> rows[] = {
        {"97", "1997"}, {"05", "2005"},  {"1997", "1997"}, {"", "2000"},   {"49", "2049"},
        {"50", "1950"}, {"abc", "2000"}, {"100", "100"},   {"99x", "1999"}};
    for (const auto& [typed, windowed] : rows)
        EXPECT_EQ(QString::fromLatin1(windowed), search::windowYear(QString::fromLatin1(typed)))
            << typed;
}

TEST(Search, RangesAndCriteria) {
    using Set = std::function<void(ChartCriteria&)>;
    const auto dates = [](const char* m0, const char* d0, const char* y0, const char* m1,
                          const char* d1, const char* y1) {
        return Set([=](ChartCriteria& c) {
            c.SelectionMode = search::ByDate;
            c.AllInRange = true;
            c.DateFrom = {QString::fromLatin1(m0), QString::fromLatin1(d0),
                          QString::fromLatin1(y0)};
            c.DateTo = {QString::fromLatin1(m1), QString::fromLatin1(d1), QString::fromLatin1(y1)};
        });
    };
    const auto numbers = [](const char* from, const char* to) {
        return Set([=](ChartCriteria& c) {
            c.SelectionMode = search::ByNumber;
            c.AllInRange = true;
            c.NumFrom = QString::fromLatin1(from);
            c.NumTo = QString::fromLatin1(to);
        });
    };
    const auto range = [](size_t i, const char* lo, const char* hi) {
        return Set([=](ChartCriteria& c) {
            c.UseRange[i] = true;
            c.RangeMin[i] = QString::fromLatin1(lo);
            c.RangeMax[i] = QString::fromLatin1(hi);
        });
    };
    const auto comment = [](const char* text) {
        return Set([=](ChartCriteria& c) {
            c.UseComment = true;
            c.Comment = QString::fromUtf8(text);
        });
    };
    struct Row {
        const char* what;
        Set set;
        std::vector<int16_t> dives;
    };
    const Row rows[] = {
        {"nothing ticked", [](ChartCriteria&) {}, {}},
        {"nothing ticked by date",
         [&dates](ChartCriteria& c) {
             dates("1", "1", "1900", "1", "1", "3000")(c);
             c.AllInRange = false;
         },
         {}},
        {"clamped to 1940-2099", dates("1", "1", "1900", "1", "1", "3000"), {1, 2, 3, 6}},
        {"one day, both ends in", dates("6", "15", "97", "6", "15", "97"), {2}},
        {"2030 to 1950", dates("1", "1", "30", "1", "1", "50"), {}},
        {"2/31 is 3/3", dates("2", "31", "97", "3", "3", "97"), {6}},
        {"To empty", dates("1", "1", "1997", "", "", ""), {2, 6}},
        {"year beyond 16 bits clamps", dates("1", "1", "1997", "99999", "9", "99999"), {2, 3, 6}},
        {"0 to 0", numbers("0", "0"), {1, 2, 3, 4, 5, 6}},
        {"5 to 3", numbers("5", "3"), {}},
        {"To empty is the last", numbers("4", ""), {4, 5, 6}},
        {"From below 1", numbers("-2", "3"), {1, 2, 3}},
        {"To beyond 16 bits", numbers("2", "99999"), {2, 3, 4, 5, 6}},
        {"halves to even", numbers("2.5", "3.5"), {2, 3, 4}},
        {"bottom 60 in, 90 out", range(1, "60", "90"), {1}},
        {"depth 30, no upper", range(2, "30", ""), {1}},
        {"tank decimals", range(0, "62.5", "80.5"), {1, 2}},
        {"upper below lower", range(0, "80", "70"), {}},
        {"good or shore", [](ChartCriteria& c) { c.Ratings[2] = c.Conds[3] = true; }, {1, 2}},
        {"matched twice, listed once",
         [](ChartCriteria& c) { c.Ratings[1] = c.Ratings[0] = c.Conds[3] = true; },
         {2, 3, 4, 5, 6}},
        {"locations 1 and 2",
         [](ChartCriteria& c) {
             c.UseList[store::field::Location] = true;
             c.ListLines[store::field::Location] = {1, 2};
         },
         {2, 3}},
        {"gear 3, list ticked but none selected",
         [](ChartCriteria& c) {
             c.UseList[store::field::Gear] = true;
             c.ListLines[store::field::Gear] = {3};
             c.UseList[store::field::Buddy] = true;
         },
         {6}},
        {"wreck finds Wreck", comment("wreck"), {1}},
        {"café finds CAFÉ", comment("café"), {2}},
        {"œuvre of š finds ŒUVRE of Š", comment("œuvre of š"), {6}},
        {"trailing blank", comment("dive "), {3}},
        {"empty text", comment(""), {}},
    };
    for (const Row& r : rows) {
        store::AppState s = sixDives();
        ChartCriteria c;
        r.set(c);
        std::vector<int16_t> flagged;
        search::RunSearch(c, s, flagged);
        EXPECT_EQ(r.dives, found(flagged)) << r.what;
    }
}

TEST(Search, CommentFoundAtEveryPlace) {
    const search::FoldedNeedle cafe = search::foldNeedle(QStringLiteral("café"));
    const search::FoldedNeedle yy = search::foldNeedle(QStringLiteral("ÿy"));
    for (int at = 0; at < 40; ++at) {
        const QString before(at, QLatin1Char('x')), after(40 - at, QLatin1Char('z'));
        EXPECT_TRUE(search::containsFolded(before + QStringLiteral("CAFÉ") + after, cafe)) << at;
        EXPECT_TRUE(search::containsFolded(before + QStringLiteral("ŸY"), yy)) << at;
        EXPECT_FALSE(search::containsFolded(before + QStringLiteral("CAFE") + after, cafe)) << at;
        EXPECT_FALSE(search::containsFolded(before + QStringLiteral("CAF"), cafe)) << at;
    }
}

TEST(Search, YearBoxesAreRewrittenWhateverTheMode) {
    store::AppState s = sixDives();
    ChartCriteria c;
    c.DateFrom[2] = QStringLiteral("97");
    c.DateTo[2] = QStringLiteral("1997");
    std::vector<int16_t> flagged;
    search::RunSearch(c, s, flagged);
    EXPECT_EQ(QStringLiteral("1997"), c.DateFrom[2]);
    EXPECT_EQ(QStringLiteral("1997"), c.DateTo[2]);
}

TEST(Search, FiguresAndRemovedDives) {
    struct Row {
        int matched, total, percent;
    };
    for (const Row& r : {Row{29, 100, 28}, Row{57, 100, 56}, Row{2, 3, 66}, Row{1, 3, 33},
                         Row{3, 12, 25}, Row{12, 12, 100}, Row{0, 0, 0}}) {
        store::AppState s;
        s.Dives.resize(static_cast<size_t>(r.total) + 1);
        std::vector<int16_t> flagged{0};
        for (int n = 1; n <= r.matched; ++n)
            search::FlagDive(flagged, n);
        search::FlagDive(flagged, r.matched); // already last: not again
        const search::ResultFigures f = search::Figures(s, flagged);
        EXPECT_EQ(r.matched, f.matched);
        EXPECT_EQ(r.total, f.total);
        EXPECT_EQ(r.percent, f.percent) << r.matched << " of " << r.total;
    }

    store::AppState s;
    s.Dives.resize(11);
    s.DiveOffset = 100;
    std::vector<int16_t> flagged = {0, 1, 4, 5, 9};
    search::DiveRemoved(flagged, 4);
    const search::ResultFigures f = search::Figures(s, flagged);
    EXPECT_EQ((std::vector<int>{1, 4, 8}), f.indexes);
    EXPECT_EQ((std::vector<int>{101, 104, 108}), f.displayed);
}

TEST(Search, WhatWasSearchedInDiveNumbers) {
    struct Row {
        int mode;
        const char *from, *to;
        int offset;
        const char* searched;
    };
    const Row rows[] = {
        {search::AllDives, "", "", 100, "Searched: all dives 101–106"},
        {search::ByNumber, "3", "4", 100, "Searched: positions 3–4, dives 103–104"},
        // Bad boxes read as 0: from the first, up to the last.
        {search::ByNumber, "x", "", 0, "Searched: positions 1–6, dives 1–6"},
        {search::ByNumber, "-5", "99", 100, "Searched: positions 1–6, dives 101–106"},
        {search::ByNumber, "5", "3", 100, "Searched: no dives (positions 5 to 3)"},
        {search::ByDate, "6/15/97", "1/1/2200", 0, "Searched: dives 1–6 dated 6/15/1997 to 12/31/2099"},
        {search::ByDate, "1/1/30", "1/1/50", 0, "Searched: no dates (1/1/2030 is after 1/1/1950)"},
    };
    for (const Row& r : rows) {
        store::AppState s = sixDives();
        ChartCriteria c;
        c.SelectionMode = r.mode;
        if (r.mode == search::ByNumber) {
            c.NumFrom = QString::fromUtf8(r.from);
            c.NumTo = QString::fromUtf8(r.to);
        } else if (r.mode == search::ByDate) {
            const QStringList from = QString::fromUtf8(r.from).split(QLatin1Char('/'));
            const QStringList to = QString::fromUtf8(r.to).split(QLatin1Char('/'));
            for (int i = 0; i < 3; ++i) {
                c.DateFrom[static_cast<size_t>(i)] = from[i];
                c.DateTo[static_cast<size_t>(i)] = to[i];
            }
        }
        std::vector<int16_t> flagged;
        EXPECT_EQ(r.searched,
                  search::describeSearched(search::RunSearch(c, s, flagged), r.offset).toStdString());
    }
    const std::tuple<int, int, const char*> hints[] = {
        {40, 100, "positions 1–40 are dives 101–140"},
        {1, 0, "position 1 is dive 1"},
        {0, 0, "the log holds no dives"},
    };
    for (auto [count, offset, hint] : hints)
        EXPECT_EQ(hint, search::positionsHint(count, offset).toStdString());
}

} // namespace search
