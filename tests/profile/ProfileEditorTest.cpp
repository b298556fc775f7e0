#include "profile/ProfileEditor.h"

#include <gtest/gtest.h>

#include <utility>

namespace profile {

namespace {

using Points = std::vector<std::pair<int, int>>; // (minute, depth) after the start point

Points pointsOf(const ProfileEditor& e) {
    Points out;
    for (int i = 1; i <= e.pointCount(); ++i)
        out.emplace_back(e.point(i).time, e.point(i).depth);
    return out;
}

ProfileEditor pressed(const Points& presses, int bottomTime = 40, int depth = 60) {
    ProfileEditor e(bottomTime, depth);
    for (auto [t, d] : presses)
        e.press(static_cast<int16_t>(t), static_cast<int16_t>(d));
    return e;
}

store::AppState oneDive() {
    store::AppState s;
    s.Dives.emplace_back();
    s.CurrentDive = 1;
    return s;
}

} // namespace

TEST(ProfileEditor, ScalesAndPointerPositions) {
    struct Row {
        int bottomTime, depth, width, height;
        int timeScale, depthScale;
        int x, y, time, pointDepth;
    };
    const Row rows[] = {
        {40, 60, 3600, 2400, 87, 40, 870, 800, 10, 20},
        {40, 60, 3600, 2400, 87, 40, 869, 799, 9, 19},         // rounded down, not to the nearest
        {40, 60, 3600, 2400, 87, 40, -1, -1, 0, 0},            // dragged off the top-left corner
        {40, 60, 3600, 2400, 87, 40, 3599, 2399, 40, 59},      // the remainder: the last minute
        {40, 60, 3599, 2441, 87, 40, 3598, 2440, 40, 60},      // deepest depth, not below it
        {100, 30, 90000, 60000, 324, 1092, 3240, 1092, 10, 1}, // held to 16-bit units
        {40, 60, 40, 59, 0, 0, 870, 800, 0, 0},                // too small: no scale, no point
    };
    for (const Row& r : rows) {
        ProfileEditor e(r.bottomTime, r.depth);
        e.setArea(r.width, r.height);
        EXPECT_EQ(r.timeScale, e.timeScale()) << r.width;
        EXPECT_EQ(r.depthScale, e.depthScale()) << r.height;
        const ProfileEditor::Point p = e.pointAt(r.x, r.y);
        EXPECT_EQ(r.time, p.time) << r.x;
        EXPECT_EQ(r.pointDepth, p.depth) << r.y;
    }
}

TEST(ProfileEditor, DrawableOnlyWithUnitsForEveryMinuteAndDepth) {
    const std::tuple<int, int, bool> rows[] = {
        {45, 30, true},  {0, 30, false},       {45, 0, false},     {-5, 30, false},
        {45, -3, false}, {32766, 32767, true}, {32767, 10, false}, // one minute more than a 16-bit
                                                                   // area holds
    };
    for (auto [bottomTime, depth, ok] : rows)
        EXPECT_EQ(ok, ProfileEditor(bottomTime, depth).drawable()) << bottomTime << " " << depth;
}

TEST(ProfileEditor, PressAppendsMovesOrInserts) {
    struct Row {
        const char* what;
        Points presses;
        Points points;
        int lastTime;
    };
    const std::vector<Row> rows = {
        {"append", {{5, 10}, {10, 20}, {30, 20}}, {{5, 10}, {10, 20}, {30, 20}}, 30},
        {"same minute as the last moves it",
         {{5, 10}, {10, 20}, {10, 25}},
         {{5, 10}, {10, 25}},
         10},
        {"between two points inserts",
         {{5, 10}, {20, 20}, {12, 15}},
         {{5, 10}, {12, 15}, {20, 20}},
         20},
        {"before the first point inserts",
         {{5, 10}, {20, 20}, {2, 4}},
         {{2, 4}, {5, 10}, {20, 20}},
         20},
        {"an earlier point's minute moves it",
         {{5, 10}, {20, 20}, {30, 5}, {5, 18}},
         {{5, 18}, {20, 20}, {30, 5}},
         30},
        {"minute 0 with no points sets the start", {{0, 7}}, {}, 0},
        {"minute 0 with points moves the start", {{5, 10}, {0, 3}}, {{5, 10}}, 5},
        {"right of the last minute", {{5, 10}, {45, 61}}, {{5, 10}, {45, 61}}, 45},
    };
    for (const Row& r : rows) {
        const ProfileEditor e = pressed(r.presses);
        EXPECT_EQ(r.points, pointsOf(e)) << r.what;
        EXPECT_EQ(r.lastTime, e.lastTime()) << r.what;
    }
    EXPECT_EQ(7, pressed({{0, 7}}).point(0).depth);
    EXPECT_EQ(3, pressed({{5, 10}, {20, 4}, {0, 3}}).point(0).depth);
}

TEST(ProfileEditor, RemoveTakesOutThePointAtThatMinute) {
    const std::tuple<const char*, int, bool, Points, int> rows[] = {
        {"the last", 30, true, {{5, 10}, {20, 20}}, 20},
        {"a middle one", 20, true, {{5, 10}, {30, 5}}, 30},
        {"the first", 5, true, {{20, 20}, {30, 5}}, 30},
        {"no point there", 12, false, {{5, 10}, {20, 20}, {30, 5}}, 30},
        {"not the start", 0, false, {{5, 10}, {20, 20}, {30, 5}}, 30},
    };
    for (const auto& [what, minute, removed, left, lastTime] : rows) {
        ProfileEditor e = pressed({{5, 10}, {20, 20}, {30, 5}});
        EXPECT_EQ(removed, e.remove(static_cast<int16_t>(minute))) << what;
        EXPECT_EQ(left, pointsOf(e)) << what;
        EXPECT_EQ(lastTime, e.lastTime()) << what;
        EXPECT_EQ(0, e.point(4).time) << what;
    }
    ProfileEditor one = pressed({{5, 10}});
    ASSERT_TRUE(one.remove(5));
    EXPECT_EQ(0, one.lastTime());
    EXPECT_EQ(ProfileEditor::Press::MovedLast, one.press(0, 6)) << "empty again";
}

TEST(ProfileEditor, TickStepKeepsLabelsApart) {
    const std::tuple<int, int, int> rows[] = {
        {100, 50, 1}, {30, 50, 2}, {12, 50, 5}, {6, 50, 10}, {1, 50, 50}, {1, 90, 100}, {0, 5, 0},
    };
    for (auto [perStep, gap, step] : rows)
        EXPECT_EQ(step, tickStep(perStep, gap)) << perStep << " " << gap;
}

TEST(ProfileEditor, HoldsAtMost150Points) {
    ProfileEditor e(200, 60);
    for (int t = 2; t <= 300; t += 2)
        ASSERT_TRUE(e.AddPoint(static_cast<int16_t>(t), 10));
    const Points full = pointsOf(e);
    ASSERT_EQ(150u, full.size());
    EXPECT_EQ(ProfileEditor::Press::Full, e.press(301, 5)) << "append";
    EXPECT_EQ(ProfileEditor::Press::Full, e.press(3, 5)) << "insert";
    EXPECT_EQ(ProfileEditor::Press::Full, e.press(1, 5)) << "insert first";
    EXPECT_EQ(full, pointsOf(e));
    EXPECT_EQ(ProfileEditor::Press::Moved, e.press(4, 33));
    EXPECT_EQ(ProfileEditor::Press::MovedLast, e.press(300, 12));
    EXPECT_EQ(33, e.point(2).depth);
    EXPECT_EQ(12, e.point(150).depth);
    EXPECT_FALSE(e.atPoint(0)) << "the start point is not a point of the read-outs";
    EXPECT_TRUE(e.atPoint(150));
    EXPECT_FALSE(e.atPoint(151));

    e.Clear();
    EXPECT_EQ(0, e.pointCount());
    EXPECT_EQ(0, e.lastTime());
    EXPECT_TRUE(e.lines().empty());
}

TEST(ProfileEditor, StoreAndLoad) {
    Points many;
    for (int t = 1; t <= 150; ++t)
        many.emplace_back(t, t % 40);
    const std::tuple<const char*, Points, Points, int> rows[] = {
        {"150 points reopen whole", many, many, 0},
        {"the start depth comes back", {{0, 9}, {10, 20}}, {{10, 20}}, 9},
        {"a press at minute 0 keeps the profile",
         {{10, 20}, {20, 5}, {0, 4}},
         {{10, 20}, {20, 5}},
         4},
    };
    for (const auto& [what, presses, reopened, start] : rows) {
        store::AppState s = oneDive();
        ASSERT_TRUE(pressed(presses, 150).Store(s, {"SI", "A", "RNT", "TBT", "B"}));
        const store::ProfileRecord* stored = linkedProfile(s);
        ASSERT_EQ(&s.Profiles.at(1), stored) << what;
        EXPECT_EQ(QStringLiteral("TBT"), stored->Notes[3]);
        ProfileEditor e(150, 60);
        e.Load(*stored);
        EXPECT_EQ(reopened, pointsOf(e)) << what;
        EXPECT_EQ(reopened.empty() ? 0 : reopened.back().first, e.lastTime()) << what;
        EXPECT_EQ(start, e.point(0).depth) << what;
    }

    // Earlier versions stored a press at minute 0 as a second point there; such a profile
    // loads whole, the repeated minute giving the start its depth.
    struct Stored {
        const char* what;
        std::vector<int> times, depths;
        Points points;
        int start;
    };
    const Stored stored[] = {
        {"one repeated minute 0", {0, 0, 10, 20}, {2, 4, 20, 5}, {{10, 20}, {20, 5}}, 4},
        {"two of them", {0, 0, 0, 10}, {0, 4, 6, 20}, {{10, 20}}, 6},
        {"nothing after them", {0, 0, 0}, {3, 4, 6}, {}, 3},
        {"a minute 0 after later ones still ends it", {0, 10, 0, 30}, {0, 20, 4, 5}, {{10, 20}}, 0},
    };
    for (const Stored& r : stored) {
        store::ProfileRecord record;
        for (size_t i = 0; i < r.times.size(); ++i) {
            record.Times[i] = static_cast<int16_t>(r.times[i]);
            record.Depths[i] = static_cast<int16_t>(r.depths[i]);
        }
        ProfileEditor e(40, 60);
        e.Load(record);
        EXPECT_EQ(r.points, pointsOf(e)) << r.what;
        EXPECT_EQ(r.start, e.point(0).depth) << r.what;
        // Stored again, it reads back the same and holds no repeated minute.
        store::AppState s = oneDive();
        ASSERT_TRUE(e.Store(s, {}));
        ProfileEditor again(40, 60);
        again.Load(s.Profiles.at(1));
        EXPECT_EQ(r.points, pointsOf(again)) << r.what;
        EXPECT_EQ(r.points.empty() ? 0 : r.points.front().first, s.Profiles.at(1).Times[1]);
    }

    // Every Close makes a new record; the old one stays, unreferenced.
    store::AppState s = oneDive();
    ASSERT_TRUE(ProfileEditor(30, 20).Store(s, {}));
    ASSERT_TRUE(ProfileEditor(30, 20).Store(s, {}));
    EXPECT_EQ(3u, s.Profiles.size());
    EXPECT_EQ(2, s.current().ProfileNum);
    s.current().ProfileNum = 9; // a profile the file does not hold: the dive opens empty
    EXPECT_EQ(nullptr, linkedProfile(s));

    // A dive keeps its profile's number in 16 bits: record 32767 is the last there can be.
    s.Profiles.resize(32768);
    EXPECT_FALSE(pressed({{5, 10}}).Store(s, {}));
    EXPECT_EQ(32768u, s.Profiles.size());
    EXPECT_EQ(9, s.current().ProfileNum);
}

} // namespace profile
