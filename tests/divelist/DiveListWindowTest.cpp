#include "app/FormLog.h"
#include "divelist/DiveColumns.h"
#include "divelist/frmDiveList.h"
#include "session/Session.h"
#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

namespace {

class DiveListWindow : public TempFolderTest {
  protected:
    // Eight dives whose depths run against their log order.
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::saveDefaultName(QStringLiteral("Tester"));
        store::AppState s;
        store::StartDefaultLists(s);
        s.Dives.resize(9);
        for (int i = 1; i <= 8; ++i)
            s.Dives[size_t(i)].DiveData[store::field::MaxDepth] = int16_t(100 - i);
        ASSERT_TRUE(store::SaveLog(s).empty());
        window = std::make_unique<app::FormLog>(state, app::FormLog::StartOptions{false});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    int shownDive() const { return child<QLineEdit>(window.get(), "txtDNum")->text().toInt(); }
    int currentRowDive(QTableView* table) const {
        return table->model()->index(table->currentIndex().row(), divelist::Number).data().toInt();
    }

    store::AppState state;
    std::unique_ptr<app::FormLog> window;
};

} // namespace

TEST_F(DiveListWindow, RowsAndTheMainWindowFollowEachOtherAcrossEditsAndSorts) {
    QAction* open = child<QAction>(window.get(), "mnuDiveList");
    ASSERT_TRUE(open);
    EXPECT_EQ(QKeySequence(Qt::Key_F5), open->shortcut());
    open->trigger();
    auto* list = window->findChild<divelist::frmDiveList*>();
    ASSERT_TRUE(list);
    auto* table = child<QTableView>(list, "tblDives");
    ASSERT_TRUE(table);
    // Opened on the main window's dive.
    EXPECT_EQ(8, currentRowDive(table));
    // Ctrl+F goes to the filter.
    QApplication::setActiveWindow(list);
    ASSERT_TRUE(list->isActiveWindow());
    QTest::keyClick(table, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(child<QLineEdit>(list, "txtFilter")->hasFocus());

    // Sorted by depth the first row is dive 8; the arrow keys move through the shown order
    // and the main window follows.
    table->sortByColumn(divelist::MaxDepth, Qt::AscendingOrder);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(7, currentRowDive(table));
    EXPECT_EQ(7, shownDive());

    // The main window's scroll bar selects the row.
    child<QScrollBar>(window.get(), "vsbDNum")->setValue(3);
    EXPECT_EQ(3, currentRowDive(table));
    EXPECT_EQ(1, table->selectionModel()->selectedRows().size());

    // An edit in the main window shows at once, moves the row to its sorted place and keeps
    // it current and selected, without a reset of the table.
    QSignalSpy resets(table->model(), &QAbstractItemModel::modelReset);
    window->logSession().setNumber(3, store::field::MaxDepth, 1);
    EXPECT_EQ(0, table->currentIndex().row());
    EXPECT_EQ(3, currentRowDive(table));
    EXPECT_EQ(QStringLiteral("1"), table->model()->index(0, divelist::MaxDepth).data().toString());
    EXPECT_EQ(0, resets.count());

    // Ctrl+A then Delete: one question naming the count, No keeps every dive.
    ScriptedPlatform platform;
    table->setFocus();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(
        child<QLabel>(list, "lblSummary")->text().contains(QStringLiteral("8 dives \u00b7")));
    platform.expect(QStringLiteral("Error"),
                    QStringLiteral("There must always be at least one entry in a Log"));
    QTest::keyClick(table, Qt::Key_Delete);
    table->selectRow(0);
    table->selectionModel()->select(table->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    platform.expect(QStringLiteral("Delete Confirmation"),
                    QStringLiteral("Are you sure you want to delete these 2 dives?"),
                    ui::Answer::No);
    QTest::keyClick(table, Qt::Key_Delete);
    EXPECT_EQ(8, state.DiveCount());
    platform.expect(QStringLiteral("Delete Confirmation"),
                    QStringLiteral("Are you sure you want to delete these 2 dives?"),
                    ui::Answer::Yes);
    QTest::keyClick(table, Qt::Key_Delete);
    EXPECT_EQ(6, state.DiveCount());
    EXPECT_EQ(6, table->model()->rowCount());
    window->logSession().undoStack().undo();
    EXPECT_EQ(8, table->model()->rowCount());
}

TEST_F(DiveListWindow, EditSelectedDivesSetsOnlyTheTickedFieldsAsOneStep) {
    // A metric diver's list says so; the numbers stay as logged.
    settings::saveDiverUnits(state.Files, interchange::Units::Metric);
    child<QAction>(window.get(), "mnuDiveList")->trigger();
    auto* list = window->findChild<divelist::frmDiveList*>();
    ASSERT_TRUE(list);
    auto* table = child<QTableView>(list, "tblDives");
    EXPECT_EQ(QStringLiteral("Max Depth (m)"),
              table->model()->headerData(divelist::MaxDepth, Qt::Horizontal).toString());
    table->selectRow(1);
    table->selectionModel()->select(table->model()->index(4, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_TRUE(
        child<QLabel>(list, "lblSummary")
            ->text()
            .endsWith(QStringLiteral("2 dives \u00b7 bottom time 0:00 \u00b7 max depth 98 m "
                                     "\u00b7 avg depth 96 m")));
    const store::AppState before = state;
    const int steps = window->logSession().undoStack().count();
    whenModalOpens([](QWidget* dialog) {
        child<QCheckBox>(dialog, "chkCond_2")->click();
        child<QCheckBox>(dialog, "chkWeight")->click();
        child<QSpinBox>(dialog, "txtWeight")->setValue(14);
        child<QCheckBox>(dialog, "chkComment")->click();
        QTest::keyClicks(child(dialog, "txtComment"), QStringLiteral("Trip"));
        // A value set without its tick is left alone.
        child<QSpinBox>(dialog, "txtTank")->setValue(80);
        child<QPushButton>(dialog, "cmdSet")->click();
    });
    QTest::mouseClick(child(list, "cmdEdit"), Qt::LeftButton);
    EXPECT_EQ(steps + 1, window->logSession().undoStack().count());
    for (int i = 1; i <= 8; ++i) {
        store::DiveRecord expected = before.Dives[size_t(i)];
        if (i == 2 || i == 5) {
            expected.CondData[2] = 1;
            expected.DiveData[store::field::Weight] = 14;
            expected.Comments = QStringLiteral("Trip");
        }
        EXPECT_EQ(expected, state.Dives[size_t(i)]) << "dive " << i;
    }
    window->logSession().undoStack().undo();
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(before.Dives[size_t(i)], state.Dives[size_t(i)]) << "dive " << i;
}
