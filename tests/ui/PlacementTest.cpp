#include "ui/Placement.h"

#include <gtest/gtest.h>

namespace ui {

namespace {

const QRect Screen(0, 0, 1280, 1024);
// The main window centred on that screen, leaving 176 pixels at either side.
const QRect CentredMain(176, 80, 928, 760);
const QSize Results(278, 400);

} // namespace

TEST(Placement, BesideTheMainWindow) {
    struct Row {
        const char* what;
        QRect screen, main;
        QSize frame;
        std::vector<QRect> controls;
        QPoint place;
    };
    const Row rows[] = {
        {"left of it when it fits", Screen, {400, 80, 700, 600}, Results, {}, {122, 80}},
        {"flush with the screen's left edge", Screen, {278, 80, 700, 600}, Results, {}, {0, 80}},
        {"right of it when only that fits", Screen, {100, 80, 700, 600}, Results, {}, {800, 80}},
        {"neither side: clear of the labels at its left, lower to hide less of the window",
         Screen,
         CentredMain,
         Results,
         {{180, 100, 90, 20}, {180, 130, 90, 20}, {180, 700, 90, 20}},
         {1002, 624}},
        {"neither side: level, clear of the buttons at its right and everything at the foot",
         Screen,
         CentredMain,
         Results,
         {{1010, 100, 80, 24}, {180, 700, 90, 20}, {1010, 700, 80, 24}},
         {0, 80}},
        {"neither side: a little of a wide box hidden rather than a whole label",
         Screen,
         CentredMain,
         Results,
         {{180, 100, 90, 20}, {1010, 100, 80, 24}, {1010, 700, 80, 24}, {180, 600, 400, 200}},
         {0, 624}},
        {"neither side, no controls: where it covers least of the main window",
         Screen,
         CentredMain,
         Results,
         {},
         {0, 624}},
        {"a main window low on the screen: the bottom stays on it",
         Screen,
         {400, 900, 700, 100},
         Results,
         {},
         {122, 624}},
        {"taller than the screen: the title bar stays on it",
         Screen,
         {400, 80, 700, 600},
         {278, 1100},
         {},
         {122, 0}},
        {"on a second screen",
         {1280, 0, 1920, 1080},
         {1300, 50, 1000, 800},
         Results,
         {},
         {2300, 50}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.place, ui::besidePlace(r.screen, r.main, r.frame, r.controls)) << r.what;
}

TEST(Placement, CentredFrame) {
    const std::tuple<QRect, QSize, QPoint> rows[] = {
        {Screen, {400, 300}, {440, 362}},
        {Screen, {401, 301}, {439, 361}},
        {{1280, 24, 1920, 1056}, {600, 400}, {1940, 352}},
        {Screen, {1400, 1100}, {0, 0}}, // larger than the screen: top-left corner on it
    };
    for (const auto& [screen, frame, place] : rows)
        EXPECT_EQ(place, ui::centredPlace(screen, frame)) << frame.width();
}

} // namespace ui
