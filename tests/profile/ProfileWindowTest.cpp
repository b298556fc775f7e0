#include "app/FormLog.h"
#include "profile/ProfileArea.h"
#include "profile/frmProfile.h"

#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace profile {

namespace {

store::DiveRecord dive(int bottomTime, int depth) {
    store::DiveRecord d;
    d.DiveData[store::field::BottomTime] = static_cast<int16_t>(bottomTime);
    d.DiveData[store::field::MaxDepth] = static_cast<int16_t>(depth);
    return d;
}

// The pixel of the area in the middle of the cell of this minute and depth.
QPoint pixelOf(frmProfile* w, int time, int depth) {
    const auto* area = child<ProfileArea>(w, "picProfile");
    const ProfileEditor& e = w->editor();
    const double x = time * e.timeScale() + e.timeScale() / 2.0;
    const double y = depth * e.depthScale() + e.depthScale() / 2.0;
    return area->contentsRect().marginsRemoved(area->plotMargins()).topLeft() +
           QPoint(static_cast<int>(x * area->logicalDpiX() / ProfileArea::UnitsPerInch),
                  static_cast<int>(y * area->logicalDpiY() / ProfileArea::UnitsPerInch));
}

void clickAt(frmProfile* w, int time, int depth) {
    QTest::mouseClick(child(w, "picProfile"), Qt::LeftButton, {}, pixelOf(w, time, depth));
}

void hoverAt(frmProfile* w, int time, int depth) {
    QWidget* area = child(w, "picProfile");
    const QPointF at = pixelOf(w, time, depth);
    QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton, {}, {});
    QApplication::sendEvent(area, &move);
}

QColor readoutColour(frmProfile* w) {
    const QColor depth = child<QLabel>(w, "lblInfo_2")->palette().color(QPalette::WindowText);
    EXPECT_EQ(depth, child<QLabel>(w, "lblInfo_3")->palette().color(QPalette::WindowText));
    return depth;
}

using Points = std::vector<std::pair<int, int>>;
Points storedPoints(const store::ProfileRecord& r) {
    Points out;
    for (size_t i = 1; i < r.Times.size() && r.Times[i] != 0; ++i)
        out.emplace_back(r.Times[i], r.Depths[i]);
    return out;
}

class ProfileWindowTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::saveDefaultName(QStringLiteral("Tester"));
    }

    std::unique_ptr<frmProfile> openWindow(const store::DiveRecord& d) {
        state.Dives = {store::DiveRecord(), d};
        state.CurrentDive = 1;
        auto w = std::make_unique<frmProfile>(state);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    ScriptedPlatform platform;
    store::AppState state;
};

} // namespace

// Clicks, then the crosshair from the last point: right 2, down 1, Space; left 1, up 2, Enter.
static void drawSample(frmProfile* w) {
    for (auto [t, d] : Points{{3, 18}, {12, 18}, {25, 12}, {8, 20}, {25, 10}})
        clickAt(w, t, d);
    for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space, Qt::Key_Left,
                      Qt::Key_Up, Qt::Key_Up, Qt::Key_Return})
        QTest::keyClick(child(w, "picProfile"), k);
    child<QLineEdit>(w, "txtProf_4")->setText(QStringLiteral("G"));
}

TEST_F(ProfileWindowTest, DrawnByMouseAndKeysStoredOnCloseOnly) {
    auto w = openWindow(dive(45, 30));
    EXPECT_EQ(QStringLiteral("30"), child<QLabel>(w.get(), "lblInfo_0")->text());
    EXPECT_EQ(QStringLiteral("45"), child<QLabel>(w.get(), "lblInfo_4")->text());
    drawSample(w.get());
    // Read-outs: yellow at the minute of a point (not the start), white elsewhere.
    const QColor white(255, 255, 255), yellow(255, 255, 0);
    for (auto [t, d, colour] : {std::tuple{12, 29, yellow}, {13, 18, white}, {0, 0, white}}) {
        hoverAt(w.get(), t, d);
        EXPECT_EQ(QString::number(d), child<QLabel>(w.get(), "lblInfo_2")->text());
        EXPECT_EQ(QString::number(t), child<QLabel>(w.get(), "lblInfo_3")->text());
        EXPECT_EQ(colour, readoutColour(w.get())) << t;
    }
    QTest::keyClick(child(w.get(), "txtProf_4"), Qt::Key_Return);
    EXPECT_TRUE(w->isVisible()) << "Enter does not close the window";
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_EQ(QDialog::Rejected, w->result());
    EXPECT_EQ(1u, state.Profiles.size()) << "Escape stores nothing";

    w = openWindow(state.current());
    drawSample(w.get());
    // The right button takes out the point at its minute, whatever the depth; Delete the one
    // at the crosshair (left on the last point pressed).
    QTest::mouseClick(child(w.get(), "picProfile"), Qt::RightButton, {}, pixelOf(w.get(), 8, 2));
    QTest::keyClick(child(w.get(), "picProfile"), Qt::Key_Delete);
    // A press at minute 0 sets the start's depth; a press past the last minute lands on it.
    clickAt(w.get(), 0, 4);
    QWidget* area = child(w.get(), "picProfile");
    QTest::mouseClick(area, Qt::LeftButton, {}, area->contentsRect().bottomRight());
    QTest::mouseClick(child<QPushButton>(w.get(), "cmdClose"), Qt::LeftButton);
    ASSERT_EQ(2u, state.Profiles.size());
    EXPECT_EQ(1, state.current().ProfileNum);
    EXPECT_EQ((Points{{3, 18}, {12, 18}, {25, 10}, {26, 9}, {45, 30}}),
              storedPoints(state.Profiles[1]));
    EXPECT_EQ(4, state.Profiles[1].Depths[0]);
    EXPECT_EQ(QStringLiteral("G"), state.Profiles[1].Notes[4]);
}

TEST_F(ProfileWindowTest, RefusesAPointTooManyAndADiveTooLarge) {
    store::ProfileRecord full;
    for (int i = 1; i <= 150; ++i)
        full.Times[static_cast<size_t>(i)] = static_cast<int16_t>(i);
    state.Profiles.push_back(full);
    store::DiveRecord d = dive(200, 30);
    d.ProfileNum = 1;
    auto w = openWindow(d);
    platform.expect(QStringLiteral("Sorry"), QStringLiteral("Maximum of 150 entries in profile."));
    clickAt(w.get(), 160, 5);
    EXPECT_EQ(150, w->editor().pointCount());

    w = openWindow(dive(32000, 30));
    platform.expect(QStringLiteral("Sorry!"),
                    QStringLiteral("The bottom time or maximum depth of this dive is too large to "
                                   "draw its profile on this screen: every minute and every unit "
                                   "of depth needs a dot of its own."));
    EXPECT_FALSE(w->fitsScreen());
}

TEST_F(ProfileWindowTest, MainWindowOpensItAndShowsTheResult) {
    {
        store::AppState s;
        store::StartDefaultLists(s);
        s.Dives.push_back(dive(0, 20));
        s.Dives.push_back(dive(40, 25));
        ASSERT_TRUE(store::SaveLog(s).empty());
    }
    auto window = std::make_unique<app::FormLog>(state, app::FormLog::StartOptions{false});
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_TRUE(window->thumbnail().empty());

    // Each of the three ways in opens the window; a click sequence and Close store a profile.
    const auto drawAndClose = [](const Points& points) {
        QTimer::singleShot(0, [points] {
            auto* w = qobject_cast<frmProfile*>(QApplication::activeModalWidget());
            ASSERT_NE(nullptr, w) << "the profile window did not open";
            for (auto [t, d] : points)
                clickAt(w, t, d);
            QTest::mouseClick(child<QPushButton>(w, "cmdClose"), Qt::LeftButton);
        });
    };
    drawAndClose({{5, 20}, {30, 20}, {35, 5}});
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdProfile"), Qt::LeftButton);
    EXPECT_EQ(1, state.current().ProfileNum);
    EXPECT_EQ(3u, window->thumbnail().size()) << "three segments, ended early: no surface line";

    drawAndClose({{38, 0}});
    child<QAction>(window.get(), "mnuProfile")->trigger();
    EXPECT_EQ(2, state.current().ProfileNum);

    drawAndClose({});
    QTest::mouseClick(child(window.get(), "picProfile"), Qt::LeftButton);
    EXPECT_EQ(3, state.current().ProfileNum);
    EXPECT_EQ(4u, window->thumbnail().size());

    // The unlinking warning holds for a profile drawn here.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    platform.expect(QStringLiteral("WARNING!"),
                    QStringLiteral("This will permanently delete the entered profile.  Are you "
                                   "sure you want to continue?"),
                    ui::Answer::No);
    QLineEdit* bottom = child<QLineEdit>(window.get(), "txtBData_3");
    bottom->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    bottom->selectAll();
    QTest::keyClicks(bottom, QStringLiteral("50"));
    child(window.get(), "txtBData_5")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(40, state.current().DiveData[store::field::BottomTime]);
    EXPECT_EQ(3, state.current().ProfileNum);

    // The first dive has no depth: refused, nothing opens.
    child<QWidget>(window.get(), "vsbDNum")->setProperty("value", 1);
    platform.expect(QStringLiteral("Sorry!"),
                    QStringLiteral("You must enter a bottom time and a maximum depth to view the "
                                   "dive profile"));
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdProfile"), Qt::LeftButton);

    // After Exit the profiles are on disk.
    EXPECT_TRUE(window->close());
    store::AppState reread;
    reread.Files = state.Files;
    ASSERT_TRUE(store::OpenLog(reread).empty());
    ASSERT_EQ(4u, reread.Profiles.size());
    EXPECT_EQ(3, reread.Dives[2].ProfileNum);
    EXPECT_EQ((Points{{5, 20}, {30, 20}, {35, 5}, {38, 0}}), storedPoints(reread.Profiles[3]));
}

} // namespace profile
