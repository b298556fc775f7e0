#include "store/EntryRules.h"

#include <gtest/gtest.h>

namespace store {

using namespace entry;

TEST(EntryRules, DiveNumberCheck) {
    struct Row {
        const char* typed;
        int shown, offset, count, expected;
    };
    const Row rows[] = {
        {"7", 3, 0, 10, 7},
        {"0", 3, 0, 10, 3},
        {"11", 3, 0, 10, 3},
        {"abc", 3, 0, 10, 3},
        {"", 3, 0, 10, 3},
        {"10", 3, 0, 10, 10},
        {"-4", 3, 0, 10, 3},
        {"32001", 3, 0, 10, 3},
        {"-32001", 3, 0, 10, 3},
        {"6.5", 3, 0, 10, 6},
        {"7.5", 3, 0, 10, 8},
        {"0.5", 3, 0, 10, 3},
        {"4th", 3, 0, 10, 4},
        {"101", 5, 100, 10, 1},
        {"100", 5, 100, 10, 5},
        {"110", 5, 100, 10, 10},
        {"111", 5, 100, 10, 5},
        {"1", 5, 100, 10, 5},
        {"32000", 1, 30000, 2000, 2000},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.expected,
                  checkDiveNumber(QString::fromUtf8(r.typed), r.shown, r.offset, r.count))
            << "typed " << r.typed << " offset " << r.offset;
}

TEST(EntryRules, DateAndTimeFields) {
    struct Row {
        int element;
        const char* typed;
        int16_t previous;
        bool store;
        int16_t value;
        const char* shown;
    };
    const Row rows[] = {
        {field::Month, "12", 0, true, 12, "12"},
        {field::Month, "13", 5, false, 0, ""},
        {field::Month, "0", 5, false, 0, ""},
        {field::Month, "", 7, true, 7, "7"},      // empty: the dive before
        {field::Month, "", 0, false, 0, ""},      // first dive: nothing before
        {field::Month, "10000", 4, true, 4, "4"}, // too long: the dive before
        {field::Month, "6.5", 0, true, 6, "6"},
        {field::Month, "7.5", 0, true, 8, "8"},
        {field::Month, "May", 3, false, 0, ""},
        {field::Day, "31", 0, true, 31, "31"},
        {field::Day, "32", 0, false, 0, ""},
        {field::Day, "1", 0, true, 1, "1"},
        {field::Year, "97", 0, true, 1997, "1997"},
        {field::Year, "5", 0, true, 2005, "2005"},
        {field::Year, "0", 0, true, 2000, "2000"},
        {field::Year, "49", 0, true, 2049, "2049"},
        {field::Year, "50", 0, true, 1950, "1950"},
        {field::Year, "150", 0, false, 0, ""},
        {field::Year, "1850", 0, false, 0, ""},
        {field::Year, "2100", 0, true, 2100, "2100"},
        {field::Year, "2101", 0, false, 0, ""},
        {field::Year, "", 1996, true, 1996, "1996"},
        {field::EntryHour, "24", 0, true, 24, "24"},
        {field::EntryHour, "25", 0, false, 0, ""},
        {field::ExitHour, "-3", 0, true, -3, "-3"},
        {field::EntryMinute, "7", 0, true, 7, "07"},
        {field::ExitMinute, "60", 0, true, 60, "60"},
        {field::ExitMinute, "61", 0, false, 0, ""},
        {field::ExitMinute, "0", 0, true, 0, "00"},
    };
    for (const Row& r : rows) {
        const TimeFieldOutcome out =
            checkTimeField(r.element, QString::fromUtf8(r.typed), r.previous);
        SCOPED_TRACE(testing::Message() << "element " << r.element << " typed '" << r.typed << "'");
        EXPECT_EQ(r.store, out.store);
        if (r.store) {
            EXPECT_EQ(r.value, out.value);
            EXPECT_EQ(QString::fromUtf8(r.shown), out.text);
        }
    }
}

TEST(EntryRules, NumberFields) {
    struct Row {
        const char* typed;
        int16_t previous;
        bool replace;
        int16_t value;
        const char* replacement;
    };
    const Row rows[] = {
        {"12ft", 0, false, 12, ""},       {"", 9, false, 0, ""},
        {"abc", 9, false, 0, ""},         {"32000", 9, false, 32000, ""},
        {"-32000", 9, false, -32000, ""}, {"32001", 9, true, 0, "9"},
        {"-32001", 4, true, 0, "4"},      {"2.5", 0, false, 2, ""},
        {"3.5", 0, false, 4, ""},         {"1e9", 77, true, 0, "77"},
    };
    for (const Row& r : rows) {
        const NumberFieldOutcome out = checkNumberField(QString::fromUtf8(r.typed), r.previous);
        SCOPED_TRACE(r.typed);
        EXPECT_EQ(r.replace, out.replace);
        if (r.replace)
            EXPECT_EQ(QString::fromUtf8(r.replacement), out.text);
        else
            EXPECT_EQ(r.value, out.value);
    }
}

TEST(EntryRules, Visibility) {
    struct Row {
        const char* typed;
        bool clear;
        int position;
    };
    const Row rows[] = {{"250", true, 0}, {"201", true, 0},    {"200", false, 200},
                        {"1", false, 1},  {"0", true, 0},      {"-5", true, 0},
                        {"", true, 0},    {"30ft", false, 30}, {"0.4", true, 0},
                        {"0.6", false, 1}};
    for (const Row& r : rows) {
        const VisibilityOutcome out = syncVisibility(QString::fromUtf8(r.typed));
        EXPECT_EQ(r.clear, out.clearBox) << r.typed;
        EXPECT_EQ(r.position, out.position) << r.typed;
    }
}

TEST(EntryRules, ProfileWarning) {
    struct Row {
        const char* bottom;
        const char* depth;
        int savedBottom, savedDepth, profile;
        bool ask;
    };
    const Row rows[] = {
        {"40", "20", 30, 0, 1, true},   // bottom time changed on a dive with a profile
        {"30", "20", 30, 0, 1, false},  // left unchanged
        {"40", "20", 30, 0, 0, false},  // no profile to lose
        {"40", "0", 30, 0, 1, false},   // depth 0: stops, as the dive cannot hold a profile
        {"30", "25", 0, 20, 2, true},   // depth changed
        {"30", "20", 0, 20, 2, false},  // depth unchanged
        {"30.4", "20", 30, 0, 1, true}, // typed over, though it rounds to the stored value
        {"30.0", "20", 30, 0, 1, false} // the same value
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.ask,
                  profileWarningNeeded(QString::fromUtf8(r.bottom), QString::fromUtf8(r.depth),
                                       r.savedBottom, r.savedDepth, r.profile))
            << r.bottom << " / " << r.depth;
}

TEST(EntryRules, ListPosition) {
    const QStringList gear{"Standard", "Drysuit", "Twin set", "Drysuit"};
    struct Row {
        int selected;
        const char* text;
        int expected;
    };
    const Row rows[] = {
        {0, "Standard", 0},   {-1, "Standard", 0},
        {-1, "Twin set", 2},  {-1, "Drysuit", 3}, // the last equal name wins
        {-1, "Wetsuit", -1},                      // new
        {-1, "standard", -1},                     // names are compared exactly
        {2, "Twin set", 2},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.expected, listPositionFor(r.selected, gear, QString::fromUtf8(r.text)))
            << r.text;
}

TEST(EntryRules, ProfileRefusal) {
    struct Row {
        int16_t bottom, depth;
        bool refused;
    };
    for (const Row& r : {Row{0, 0, true}, Row{30, 0, true}, Row{0, 20, true}, Row{30, 20, false},
                         Row{-5, 20, true}, Row{30, -1, true}}) {
        DiveRecord d;
        d.DiveData[field::BottomTime] = r.bottom;
        d.DiveData[field::MaxDepth] = r.depth;
        EXPECT_EQ(r.refused, profileRefused(d)) << r.bottom << "/" << r.depth;
    }
}

namespace {
ProfileRecord profileOf(std::initializer_list<std::pair<int16_t, int16_t>> points) {
    ProfileRecord p;
    size_t i = 0;
    for (const auto& [t, d] : points) {
        p.Times[i] = t;
        p.Depths[i] = d;
        ++i;
    }
    return p;
}
} // namespace

TEST(EntryRules, ThumbnailLines) {
    // 155 / (30 + 1) = 5 pixels a minute, 100 / 10 = 10 a depth unit.
    const ProfileRecord shortProfile = profileOf({{0, 0}, {10, 10}, {20, 10}, {30, 0}});
    EXPECT_EQ((std::vector<QLine>{QLine(0, 0, 50, 100), QLine(50, 100, 100, 100),
                                  QLine(100, 100, 150, 0)}),
              thumbnailLines(shortProfile, 30, 10, 155, 100))
        << "a profile that ends before the bottom time has no surface line";

    // Every minute has a point: the surface line closes the picture.
    const ProfileRecord full = profileOf({{0, 0}, {1, 5}, {2, 5}, {3, 0}});
    EXPECT_EQ((std::vector<QLine>{QLine(0, 0, 25, 100), QLine(25, 100, 50, 100),
                                  QLine(50, 100, 75, 0), QLine(0, 0, 100, 0)}),
              thumbnailLines(full, 3, 5, 100, 100));

    // A dive that surfaces at its bottom time stays inside the picture, whatever its width.
    for (const int width : {60, 99, 100, 167, 301})
        for (const QLine& line : thumbnailLines(shortProfile, 30, 10, width, 80)) {
            EXPECT_LE(line.x2(), width) << width;
            EXPECT_LE(line.y2(), 80) << width;
        }

    // Points beyond the bottom time are not drawn.
    EXPECT_EQ(3u, thumbnailLines(full, 2, 5, 100, 100).size());

    // A bottom time past the last point slot stops at the last slot.
    ProfileRecord longOne;
    for (int i = 1; i < ProfileRecord::PointSlots; ++i)
        longOne.Times[static_cast<size_t>(i)] = static_cast<int16_t>(i);
    EXPECT_EQ(151u, thumbnailLines(longOne, 300, 10, 300, 100).size());

    for (const auto& [bottom, depth] : {std::pair{0, 10}, {30, 0}, {-1, 10}, {30, -5}})
        EXPECT_TRUE(thumbnailLines(full, bottom, depth, 100, 100).empty())
            << bottom << "/" << depth;
}

TEST(EntryRules, CommentLineBreaks) {
    struct Row {
        const char16_t* stored;
        const char16_t* shown;
        const char16_t* typed; // the box's raw text: paragraphs and line separators
        const char16_t* kept;
    };
    const Row rows[] = {
        {u"a\r\nb", u"a\nb", u"a\u2029b", u"a\r\nb"},
        {u"a\nb\rc", u"a\nb\nc", u"a\u2028b\nc", u"a\r\nb\r\nc"},
        {u"\r\n\r\n", u"\n\n", u"x\u2029\u2029", u"x\r\n\r\n"},
        {u"no\u00a0break", u"no\u00a0break", u"no\u00a0break", u"no\u00a0break"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(QString::fromUtf16(r.shown), commentForBox(QString::fromUtf16(r.stored)));
        EXPECT_EQ(QString::fromUtf16(r.kept), commentFromBox(QString::fromUtf16(r.typed)));
    }
}

// The one year rule the entry boxes and the search share, at its borders.
TEST(EntryRules, FourDigitYear) {
    const std::pair<double, double> cases[] = {{-1, 1999},     {0, 2000},  {49, 2049},
                                               {49.5, 2049.5}, {50, 1950}, {99, 1999},
                                               {99.5, 1999.5}, {100, 100}, {1996, 1996}};
    for (const auto& [typed, year] : cases)
        EXPECT_EQ(entry::fourDigitYear(typed), year) << typed;
}

} // namespace store
