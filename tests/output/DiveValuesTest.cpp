#include "output/DiveValues.h"
#include "output/DiveChoice.h"
#include "store/Totals.h"
#include "support/SampleLog.h"

#include <gtest/gtest.h>

#include <limits>

namespace output {

using namespace output;

TEST(NumberFormats, SignPositionAndPadding) {
    struct Case {
        long long v;
        const char* number;
        const char* plain;
        const char* twoDigit;
    };
    const Case cases[] = {
        {0, " 0", "0", "00"},
        {5, " 5", "5", "05"},
        {45, " 45", "45", "45"},
        {120, " 120", "120", "120"},
        {-3, "-3", "-3", "-03"},
        {-5, "-5", "-5", "-05"},
        {-45, "-45", "-45", "-45"},
        {32767, " 32767", "32767", "32767"},
        {-32768, "-32768", "-32768", "-32768"},
        {std::numeric_limits<long long>::min(), "-9223372036854775808", "-9223372036854775808",
         "-9223372036854775808"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        EXPECT_EQ(numberText(c.v), QString::fromLatin1(c.number));
        EXPECT_EQ(plainNumber(c.v), QString::fromLatin1(c.plain));
        EXPECT_EQ(twoDigitNumber(c.v), QString::fromLatin1(c.twoDigit));
    }
}

TEST(MakeBaseName, FirstEightCharactersAsFileName) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("John Smith"), QStringLiteral("john_smi")},
        {QStringLiteral("O'Brien, Pat"), QStringLiteral("o_brien_")},
        {QString(), QStringLiteral("default")},
        {QStringLiteral("Al"), QStringLiteral("al")},
        {QStringLiteral("ZZTOP"), QStringLiteral("zztop")},
        {QStringLiteral("12345678"), QStringLiteral("________")},
        {QString::fromUtf8("Zoë Öz"), QStringLiteral("zo___z")},
        {QStringLiteral("../../etc"), QStringLiteral("______et")},
        {QStringLiteral("@[`{"), QStringLiteral("____")}, // neighbours of the letter ranges
    };
    for (const auto& [name, base] : cases)
        EXPECT_EQ(MakeBaseName(name), base) << name.toStdString();
}

TEST(DiveValues, OddRecords) {
    store::AppState s = sampleLog();
    store::DiveRecord& d = s.Dives[3];
    d.DiveData[5] = -2; // negative weight
    d.TimeData = {12, 31, 2001, 23, -5, 0, 0};
    d.ListData = {-1, 2, 99, 32767};       // none of them in its list
    d.CondData = {0, 0, 0, 0, 0, 0, 1, 0}; // Surf only
    s.DiveOffset = 32000;                  // shown number passes 16 bits
    const DiveValues v = makeDiveValues(s, 3, RunningTotals(s));
    EXPECT_EQ(v.WeightText, "Wt.:-2");
    EXPECT_EQ(v.DateText, "Date:12/31/2001");
    EXPECT_EQ(v.TimeInText, "Time In:23:-05");
    EXPECT_EQ(v.TimeOutText, "Time Out:0:00");
    EXPECT_EQ(v.DiveNoText, "Dive: 32003");
    EXPECT_TRUE(v.LocationName.isEmpty());
    EXPECT_TRUE(v.TypeName.isEmpty());
    EXPECT_TRUE(v.BuddyName.isEmpty());
    EXPECT_TRUE(v.GearName.isEmpty());
    // Surf is stored before Surge but listed after it.
    const std::array<bool, 8> surfOnly{false, false, false, false, false, false, false, true};
    EXPECT_EQ(v.conditionSet, surfOnly);
    EXPECT_STREQ(ConditionOrder[6].name, "Surge");
    EXPECT_STREQ(ConditionOrder[7].name, "Surf");
}

TEST(DiveValues, FirstDiveAveragesAreItsOwnValues) {
    store::AppState s = sampleLog();
    s.Dives[1].DiveData[3] = 47;
    s.Dives[1].DiveData[4] = 93;
    const DiveValues v = makeDiveValues(s, 1, RunningTotals(s));
    EXPECT_EQ(v.TotalTimeText, "Total Time: 47");
    EXPECT_EQ(v.AvgTimeText, "Avg. Time: 47");
    EXPECT_EQ(v.AvgDepthText, "Avg. Depth: 93");
}

TEST(DiveValues, TotalsDoNotWrapAtSixteenBits) {
    store::AppState s = numberedLog(4, 0);
    for (int i = 1; i <= 4; ++i) {
        s.Dives[static_cast<size_t>(i)].DiveData[3] = 32767;
        s.Dives[static_cast<size_t>(i)].DiveData[4] = -32768;
    }
    const DiveValues v = makeDiveValues(s, 4, RunningTotals(s));
    EXPECT_EQ(v.TotalTimeText, "Total Time: 131068");
    EXPECT_EQ(v.AvgTimeText, "Avg. Time: 32767");
    EXPECT_EQ(v.AvgDepthText, "Avg. Depth:-32768");
}

TEST(DiveValues, NegativeAverageDropsTheFraction) {
    store::AppState s = numberedLog(2, 0);
    s.Dives[1].DiveData[3] = -10;
    s.Dives[2].DiveData[3] = 1; // -9 / 2 = -4.5
    EXPECT_EQ(makeDiveValues(s, 2, RunningTotals(s)).AvgTimeText, "Avg. Time:-4");
}

TEST(RunningTotals, AgreesWithSummingEachPrefix) {
    store::AppState s = numberedLog(50, 0);
    for (int i = 1; i <= 50; ++i) {
        auto& d = s.Dives[static_cast<size_t>(i)].DiveData;
        d[3] = static_cast<int16_t>((i * 7919) % 300 - 40);
        d[4] = static_cast<int16_t>((i * 104729) % 200 - 20);
    }
    const RunningTotals totals(s);
    for (int i = 0; i <= 52; ++i) {
        SCOPED_TRACE(i);
        const store::LogTotals a = totals.upTo(i);
        const store::LogTotals b = store::totalsUpTo(s, i);
        EXPECT_EQ(a.minutes, b.minutes);
        EXPECT_EQ(a.depth, b.depth);
        EXPECT_EQ(a.dives, b.dives);
    }
}

TEST(DiveChoice, RangeFieldCorrection) {
    const store::AppState s = numberedLog(20, 100);
    EXPECT_EQ(rangeFirst(s), 101);
    EXPECT_EQ(rangeLast(s), 120);
    struct Case {
        int start, end, correctedStart, correctedEnd;
    };
    const Case cases[] = {
        {105, 107, 105, 107}, {90, 107, 101, 107},  {105, 200, 105, 120}, {110, 105, 101, 105},
        {0, 0, 101, 120},     {101, 120, 101, 120}, {121, 130, 121, 120}, {-5, 99999, 101, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << "-" << c.end);
        const int start = correctedRangeStart(s, c.start, c.end);
        EXPECT_EQ(start, c.correctedStart);
        EXPECT_EQ(correctedRangeEnd(s, start, c.end), c.correctedEnd);
    }
}

TEST(DiveChoice, DivesWalkedForEachChoice) {
    store::AppState s = numberedLog(20, 100);
    s.CurrentDive = 7;
    EXPECT_EQ(divesFor(s, DiveChoice::All).size(), 20u);
    EXPECT_EQ(divesFor(s, DiveChoice::All).front(), 1);
    EXPECT_EQ(divesFor(s, DiveChoice::All).back(), 20);
    EXPECT_EQ(divesFor(s, DiveChoice::Range, 105, 107), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(divesFor(s, DiveChoice::Range, 119, 500), (std::vector<int>{19, 20}));
    EXPECT_EQ(divesFor(s, DiveChoice::Range, std::numeric_limits<int>::min(), 102),
              (std::vector<int>{1, 2}));
    EXPECT_TRUE(divesFor(s, DiveChoice::Range, 121, 120).empty());
    EXPECT_EQ(divesFor(s, DiveChoice::Displayed), std::vector<int>{7});
    EXPECT_EQ(divesFor(s, DiveChoice::Selected, 0, 0, {4, 1, 17}), (std::vector<int>{4, 1, 17}));

    // Indexes that are not dives of the log are passed over, not written.
    EXPECT_EQ(divesFor(s, DiveChoice::Selected, 0, 0, {0, 21, 3, -2, 32767}), std::vector<int>{3});
    EXPECT_TRUE(divesFor(s, DiveChoice::Selected).empty());
    s.CurrentDive = 0;
    EXPECT_TRUE(divesFor(s, DiveChoice::Displayed).empty());
}

} // namespace output
