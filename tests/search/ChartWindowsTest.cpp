#include "app/FormLog.h"
#include "output/frmPrint.h"

#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace search {

namespace {} // namespace

class ChartWindows : public TempFolderTest {
  protected:
    // Four dives, the first and the last rated good; dive numbers start at 101.
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::saveDefaultName(QStringLiteral("Tester"));
        settings::SaveSetting(settings::AppName, QStringLiteral("Startup"),
                              QStringLiteral("Offset"), QStringLiteral("100"));
        store::AppState s;
        store::StartDefaultLists(s);
        s.Dives.resize(5);
        for (int i = 1; i <= 4; ++i)
            s.Dives[static_cast<size_t>(i)].DiveData[store::field::PsiIn] = static_cast<int16_t>(i);
        s.Dives[1].Rating = s.Dives[4].Rating = 2;
        ASSERT_TRUE(store::SaveLog(s).empty());
        window = std::make_unique<app::FormLog>(state, app::FormLog::StartOptions{false});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Charting, tick "Good Dives", press Enter: the results window.
    QDialog* searchGoodDives() {
        whenModalOpens([](QWidget* chart) {
            QTest::mouseClick(child<QCheckBox>(chart, "chkData_3"), Qt::LeftButton);
            QTest::keyClick(child(chart, "chkData_3"), Qt::Key_Return);
        });
        QTest::mouseClick(child(window.get(), "cmdChart"), Qt::LeftButton);
        return results();
    }
    // The open results window; a closed one may linger until it is deleted.
    QDialog* results() {
        for (QDialog* d : window->findChildren<QDialog*>(QStringLiteral("frmResults")))
            if (d->isVisible()) return d;
        return nullptr;
    }
    QStringList lines(QDialog* r) {
        QStringList all;
        auto* list = child<QListWidget>(r, "lstFlaggedDives");
        for (int i = 0; i < list->count(); ++i)
            all << list->item(i)->text();
        return all;
    }
    void jumpFrom(QDialog* r, int line) {
        auto* list = child<QListWidget>(r, "lstFlaggedDives");
        list->clearSelection();
        list->item(line)->setSelected(true);
        QTest::mouseClick(child<QPushButton>(r, "cmdGoTo"), Qt::LeftButton);
    }

    ScriptedPlatform platform;
    store::AppState state;
    std::unique_ptr<app::FormLog> window;
};

TEST_F(ChartWindows, EachBoxFollowsItsSwitch) {
    bool checked = false;
    whenModalOpens([&checked](QWidget* chart) {
        EXPECT_EQ(QStringLiteral("Chart Dives"), chart->windowTitle());
        const auto enabled = [chart](std::initializer_list<const char*> names) {
            QString on;
            for (const char* n : names)
                on += child(chart, n)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return on;
        };
        const auto modeBoxes = {"txtDateFrom_0", "txtDateFrom_2", "txtDateTo_1", "txtNumFrom",
                                "txtNumTo"};
        EXPECT_EQ(QStringLiteral("00000"), enabled(modeBoxes));
        QTest::mouseClick(child(chart, "optDate"), Qt::LeftButton);
        EXPECT_EQ(QStringLiteral("11100"), enabled(modeBoxes));
        QTest::mouseClick(child(chart, "optNum"), Qt::LeftButton);
        EXPECT_EQ(QStringLiteral("00011"), enabled(modeBoxes));

        const auto switched = {"txtMin_0", "txtMax_0", "txtMin_1",    "txtMax_1",
                               "txtMin_2", "txtMax_2", "lstLocation", "lstGear",
                               "lstBud",   "lstType",  "txtComm"};
        EXPECT_EQ(QStringLiteral("00000000000"), enabled(switched));
        for (const char* box : {"chkData_1", "chkGear", "chkComm"})
            QTest::mouseClick(child(chart, box), Qt::LeftButton);
        EXPECT_EQ(QStringLiteral("00110001001"), enabled(switched));
        QTest::mouseClick(child(chart, "chkData_1"), Qt::LeftButton);
        EXPECT_EQ(QStringLiteral("00000001001"), enabled(switched));
        // The lists hold the reference lists' names, several selectable at once.
        auto* gear = child<QListWidget>(chart, "lstGear");
        EXPECT_EQ(1, gear->count());
        EXPECT_EQ(QStringLiteral("Standard"), gear->item(0)->text());
        EXPECT_NE(QAbstractItemView::SingleSelection, gear->selectionMode());
        checked = true;
        QTest::mouseClick(child(chart, "cmdClose"), Qt::LeftButton);
    });
    QTest::mouseClick(child(window.get(), "cmdChart"), Qt::LeftButton);
    EXPECT_TRUE(checked);
    EXPECT_EQ(nullptr, results()) << "Close searches nothing";
}

TEST_F(ChartWindows, EnterSearchesAndTheResultsMoveTheMainWindow) {
    QDialog* r = searchGoodDives();
    ASSERT_NE(nullptr, r);
    EXPECT_TRUE(r->isVisible());
    EXPECT_FALSE(r->isModal());
    EXPECT_EQ(QStringLiteral("Results"), r->windowTitle());
    EXPECT_EQ(QStringLiteral("2"), child<QLabel>(r, "lblMatch")->text());
    EXPECT_EQ(QStringLiteral("4"), child<QLabel>(r, "lblTotal")->text());
    EXPECT_EQ(QStringLiteral("50"), child<QLabel>(r, "lblpercent")->text());
    EXPECT_EQ((QStringList{"101", "104"}), lines(r));
    EXPECT_EQ(QStringLiteral("Searched: all dives 101\u2013104"),
              child<QLabel>(r, "lblSearched")->text());
    // Print hands exactly the dives found to the Print window, with them on offer there.
    bool offered = false;
    std::vector<int> handed;
    whenModalOpens([&offered, &handed](QWidget* print) {
        offered = child(print, "optSelected")->isEnabled();
        if (auto* p = qobject_cast<output::frmPrint*>(print)) handed = p->offeredDives();
        QTest::mouseClick(child(print, "cmdCxl"), Qt::LeftButton);
    });
    QTest::mouseClick(child(r, "cmdPrint"), Qt::LeftButton);
    EXPECT_TRUE(offered);
    EXPECT_EQ((std::vector<int>{1, 4}), handed);
    // The main window is centred, so the results may not fit at its left: on the screen anyway.
    EXPECT_TRUE(r->screen()->availableGeometry().contains(r->geometry().topLeft()));

    jumpFrom(r, 1);
    EXPECT_EQ(4, state.CurrentDive);
    EXPECT_EQ(QStringLiteral("104"), child<QLineEdit>(window.get(), "txtDNum")->text());
    EXPECT_EQ(QStringLiteral("4"), child<QLineEdit>(window.get(), "txtBData_0")->text());
    auto* list = child<QListWidget>(r, "lstFlaggedDives");
    const QPoint first = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(1, state.CurrentDive);
    list->selectAll();
    QTest::mouseClick(child<QPushButton>(r, "cmdGoTo"), Qt::LeftButton);
    EXPECT_EQ(4, state.CurrentDive) << "several lines end on the last";
    EXPECT_TRUE(r->isVisible());
}

TEST_F(ChartWindows, ChangeCloseAndChartingEndTheResults) {
    // Change: the selection comes back with its defaults and an empty selection.
    QPointer<QDialog> r = searchGoodDives();
    ASSERT_TRUE(r);
    QTest::mouseClick(child(r, "cmdChange"), Qt::LeftButton);
    // The selection dialog comes up once the click is over.
    bool fresh = false;
    whenModalOpens([this, &fresh](QWidget* chart) {
        fresh = child<QRadioButton>(chart, "optAll")->isChecked() &&
                !child<QCheckBox>(chart, "chkData_3")->isChecked() &&
                !(results() && results()->isVisible());
        QTest::mouseClick(child(chart, "cmdClose"), Qt::LeftButton);
    });
    EXPECT_TRUE(QTest::qWaitFor([&fresh] { return fresh; }));

    // Charting while the results are open closes them. F3 works from the results window too.
    r = searchGoodDives();
    ASSERT_TRUE(r);
    r->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(r));
    bool charted = false;
    whenModalOpens([&r, &charted](QWidget* chart) {
        EXPECT_FALSE(r && r->isVisible());
        charted = true;
        QTest::mouseClick(child(chart, "cmdClose"), Qt::LeftButton);
    });
    QTest::keyClick(r, Qt::Key_F3);
    EXPECT_TRUE(charted);

    // Close forgets the selection.
    r = searchGoodDives();
    ASSERT_TRUE(r);
    EXPECT_EQ(2, child<QListWidget>(r, "lstFlaggedDives")->count());
    QTest::mouseClick(child(r, "cmdClose"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&r] { return r.isNull(); }));
}

TEST_F(ChartWindows, NumbersAreLogPositionsAndTheResultsSayWhatWasSearched) {
    whenModalOpens([](QWidget* chart) {
        EXPECT_EQ(QStringLiteral("(positions 1\u20134 are dives 101\u2013104)"),
                  child<QLabel>(chart, "lblNumHint")->text());
        QTest::mouseClick(child(chart, "optNum"), Qt::LeftButton);
        QTest::keyClicks(child(chart, "txtNumFrom"), QStringLiteral("103"));
        QTest::mouseClick(child(chart, "chkAllInRange"), Qt::LeftButton);
        QTest::mouseClick(child(chart, "cmdGo"), Qt::LeftButton);
    });
    QTest::mouseClick(child(window.get(), "cmdChart"), Qt::LeftButton);
    QDialog* r = results();
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(QStringLiteral("0"), child<QLabel>(r, "lblMatch")->text());
    EXPECT_EQ(QStringLiteral("Searched: no dives (positions 103 to 4)"),
              child<QLabel>(r, "lblSearched")->text());
    EXPECT_FALSE(child(r, "cmdPrint")->isEnabled()) << "nothing to print";
}

TEST_F(ChartWindows, DeletingADiveKeepsEachLineOnItsDive) {
    QDialog* r = searchGoodDives();
    ASSERT_NE(nullptr, r);
    child<QScrollBar>(window.get(), "vsbDNum")->setValue(2);
    platform.expect(QStringLiteral("Delete Confirmation"),
                    QStringLiteral("Are you sure you want to delete this entry?"), ui::Answer::Yes);
    window->findChild<QAction*>(QStringLiteral("mnuDelete"))->trigger();
    EXPECT_EQ((QStringList{"101", "103"}), lines(r));
    EXPECT_EQ(QStringLiteral("3"), child<QLabel>(r, "lblTotal")->text());
    EXPECT_EQ(QStringLiteral("66"), child<QLabel>(r, "lblpercent")->text());
    jumpFrom(r, 1);
    EXPECT_EQ(3, state.CurrentDive);
    EXPECT_EQ(QStringLiteral("4"), child<QLineEdit>(window.get(), "txtBData_0")->text())
        << "the dive that was found";
}

} // namespace search
