#include "app/FormLog.h"
#include "app/Thumbnail.h"

#include "settings/Settings.h"
#include "store/FileIO.h"
#include "store/LogOps.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"
#include "ui/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <functional>

namespace app {

namespace {

store::DiveRecord dive(int psi, int bottomTime = 0, int depth = 0) {
    store::DiveRecord d;
    d.DiveData[store::field::PsiIn] = static_cast<int16_t>(psi);
    d.DiveData[store::field::BottomTime] = static_cast<int16_t>(bottomTime);
    d.DiveData[store::field::MaxDepth] = static_cast<int16_t>(depth);
    return d;
}

// Ten dives whose PSI In tells them apart: dive i has 100 * i.
std::vector<store::DiveRecord> tenDives() {
    std::vector<store::DiveRecord> dives;
    for (int i = 1; i <= 10; ++i)
        dives.push_back(dive(100 * i));
    return dives;
}

} // namespace

class FormLogTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::saveDefaultName(QStringLiteral("Tester"));
    }

    // Writes the default diver's files as the program would.
    void writeLog(const std::vector<store::DiveRecord>& dives,
                  const std::vector<store::ProfileRecord>& profiles = {}) {
        store::AppState s;
        store::StartDefaultLists(s);
        s.Dives.insert(s.Dives.end(), dives.begin(), dives.end());
        s.Profiles.insert(s.Profiles.end(), profiles.begin(), profiles.end());
        ASSERT_TRUE(store::SaveLog(s).empty());
    }

    void open() {
        window = std::make_unique<FormLog>(state, FormLog::StartOptions{false});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget> T* ctl(const char* name) {
        return child<T>(window.get(), name);
    }
    QString text(const char* name) { return ctl<QLineEdit>(name)->text(); }

    // Clicks into a box, replaces its text by typing, and leaves it for `next`.
    void type(const char* name, const QString& typed, const char* next = "txtBData_5") {
        QLineEdit* box = ctl<QLineEdit>(name);
        box->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        box->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, typed);
        if (next) ctl(next)->setFocus(Qt::TabFocusReason);
    }

    void goTo(int index) { ctl<QScrollBar>("vsbDNum")->setValue(index); }

    ScriptedPlatform platform; // outlives the window, which may still ask something
    store::AppState state;
    std::unique_ptr<FormLog> window;
};

TEST_F(FormLogTest, NumberBoxMovesOnlyToDivesThatExist) {
    writeLog(tenDives());
    struct Row {
        int offset;
        const char* typed;
        bool enter;
        int expected; // record index shown afterwards (dive 3 was shown before)
    };
    const Row rows[] = {
        {0, "7", true, 7},      {0, "7", false, 7},     {0, "0", false, 3},
        {0, "11", false, 3},    {0, "abc", false, 3},   {0, "32001", false, 3},
        {0, "-40000", true, 3}, {0, "10", true, 10},    {0, "2.5", true, 2},
        {100, "101", false, 1}, {100, "110", true, 10}, {100, "100", false, 3},
        {100, "5", false, 3},   {100, "111", true, 3},
    };
    int openOffset = -1;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "offset " << r.offset << " typed " << r.typed);
        if (r.offset != openOffset) {
            window.reset();
            settings::saveOptions(static_cast<int16_t>(r.offset), 0);
            open();
            openOffset = r.offset;
            EXPECT_EQ(QString::number(10 + r.offset), text("txtDNum")) << "opens at the last dive";
        }
        goTo(3);
        ASSERT_EQ(3, state.CurrentDive);
        ASSERT_EQ(QStringLiteral("300"), text("txtBData_0"));
        type("txtDNum", QString::fromLatin1(r.typed), r.enter ? nullptr : "txtBData_5");
        if (r.enter) QTest::keyClick(ctl("txtDNum"), Qt::Key_Return);
        EXPECT_EQ(r.expected, state.CurrentDive);
        EXPECT_EQ(r.expected, ctl<QScrollBar>("vsbDNum")->value());
        EXPECT_EQ(QString::number(r.expected + r.offset), text("txtDNum"));
        EXPECT_EQ(QString::number(100 * r.expected), text("txtBData_0"));
    }
}

TEST_F(FormLogTest, NewEntryShowsWhenTheNumberBoxIsLeft) {
    writeLog({dive(100), dive(200), dive(300)});
    open();
    QTest::mouseClick(ctl<QPushButton>("cmdNew"), Qt::LeftButton);
    EXPECT_EQ(4, state.DiveCount());
    EXPECT_EQ(4, state.CurrentDive);
    EXPECT_EQ(QStringLiteral("4"), text("txtDNum"));
    EXPECT_EQ(QStringLiteral("4"), ctl<QLabel>("lblTotal")->text());
    EXPECT_TRUE(ctl("txtDNum")->hasFocus());
    EXPECT_EQ(QStringLiteral("300"), text("txtBData_0")) << "still the dive before";
    EXPECT_EQ(4, ctl<QScrollBar>("vsbDNum")->maximum());

    ctl("txtBData_1")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(QStringLiteral("0"), text("txtBData_0"));
    EXPECT_EQ(store::DiveRecord{}, state.Dives[4]);
    EXPECT_EQ(dive(300), state.Dives[3]) << "showing the new dive changed the one before";
}

TEST_F(FormLogTest, DeleteKeepsOneDiveAndRenumbers) {
    writeLog({dive(100)});
    open();
    platform.expect(QStringLiteral("Error"),
                    QStringLiteral("There must always be at least one entry in a Log"));
    ctl<QAction>("mnuDelete")->trigger();
    EXPECT_EQ(1, state.DiveCount());

    window.reset();
    writeLog(tenDives());
    open();
    goTo(5);
    const QString question = QStringLiteral("Are you sure you want to delete this entry?");
    platform.expect(QStringLiteral("Delete Confirmation"), question, ui::Answer::No);
    ctl<QAction>("mnuDelete")->trigger();
    EXPECT_EQ(10, state.DiveCount());
    EXPECT_EQ(QStringLiteral("500"), text("txtBData_0"));

    platform.expect(QStringLiteral("Delete Confirmation"), question, ui::Answer::Yes);
    ctl<QAction>("mnuDelete")->trigger();
    EXPECT_EQ(9, state.DiveCount());
    EXPECT_EQ(QStringLiteral("5"), text("txtDNum"));
    EXPECT_EQ(QStringLiteral("600"), text("txtBData_0")) << "the former dive 6";
    EXPECT_EQ(QStringLiteral("9"), ctl<QLabel>("lblTotal")->text());
    EXPECT_EQ(9, ctl<QScrollBar>("vsbDNum")->maximum());

    goTo(9);
    platform.expect(QStringLiteral("Delete Confirmation"), question, ui::Answer::Yes);
    ctl<QAction>("mnuDelete")->trigger();
    EXPECT_EQ(8, state.CurrentDive) << "removing the last dive shows the new last one";
    EXPECT_EQ(QStringLiteral("900"), text("txtBData_0"));
}

TEST_F(FormLogTest, DateAndTimeBoxesCheckWhenLeft) {
    store::DiveRecord first = dive(100);
    first.TimeData = {7, 14, 1996, 9, 5, 10, 2};
    store::DiveRecord second = dive(200);
    second.TimeData = {3, 2, 1997, 11, 30, 12, 15};
    writeLog({first, second});
    open();
    EXPECT_EQ(QStringLiteral("30"), text("txtAData_4"));
    struct Row {
        const char* box;
        int element;
        const char* typed;
        const char* shown;
        int stored;
    };
    const Row rows[] = {
        {"txtAData_0", 0, "13", "", 3}, // refused, the month stays
        {"txtAData_0", 0, "", "7", 7},  // empty: the dive before
        {"txtAData_0", 0, "12", "12", 12},
        {"txtAData_1", 1, "32", "", 2},
        {"txtAData_2", 2, "97", "1997", 1997},
        {"txtAData_2", 2, "5", "2005", 2005},
        {"txtAData_2", 2, "0", "2000", 2000},
        {"txtAData_2", 2, "150", "", 2000},
        {"txtAData_2", 2, "1850", "", 2000},
        {"txtAData_2", 2, "2100", "2100", 2100},
        {"txtAData_2", 2, "12345", "1996", 1996}, // too long: the dive before
        {"txtAData_4", 4, "7", "07", 7},
        {"txtAData_6", 6, "60", "60", 60},
        {"txtAData_5", 5, "25", "", 12},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.box << " typed '" << r.typed << "'");
        type(r.box, QString::fromLatin1(r.typed));
        EXPECT_EQ(QString::fromLatin1(r.shown), text(r.box));
        EXPECT_EQ(r.stored, state.Dives[2].TimeData[static_cast<size_t>(r.element)]);
    }
    EXPECT_EQ(first.TimeData, state.Dives[1].TimeData);
}

TEST_F(FormLogTest, NumberBoxesAndVisibility) {
    writeLog({dive(100), dive(200)});
    open();
    type("txtBData_5", QStringLiteral("12ft"), "txtBData_6");
    EXPECT_EQ(12, state.current().DiveData[store::field::Weight]);
    type("txtBData_0", QStringLiteral("40000"), "txtBData_6");
    EXPECT_EQ(QStringLiteral("100"), text("txtBData_0")) << "too large: the dive before";
    EXPECT_EQ(100, state.current().DiveData[store::field::PsiIn]);

    QScrollBar* viz = ctl<QScrollBar>("hsbViz");
    type("txtBData_9", QStringLiteral("120"));
    EXPECT_EQ(120, viz->value());
    EXPECT_EQ(120, state.current().DiveData[store::field::Visibility]);
    type("txtBData_9", QStringLiteral("250"));
    EXPECT_EQ(QString(), text("txtBData_9"));
    EXPECT_EQ(0, viz->value());
    EXPECT_EQ(0, state.current().DiveData[store::field::Visibility]);
    viz->setValue(30);
    EXPECT_EQ(QStringLiteral("30"), text("txtBData_9"));
    EXPECT_EQ(30, state.current().DiveData[store::field::Visibility]);
}

TEST_F(FormLogTest, ViewingDivesNeverChangesThem) {
    // Values a hand-edited or foreign file may hold, beyond what the boxes accept.
    store::DiveRecord odd = dive(32500, 45, 18);
    odd.DiveData[store::field::Visibility] = 250;
    odd.DiveData[store::field::Weight] = -32768;
    odd.TimeData = {13, 40, 1850, 30, 75, 99, 5};
    odd.ListData = {9, -1, 0, 4};
    odd.Rating = 5;
    odd.ProfileNum = 9;
    odd.Comments = QStringLiteral("kept as it is");
    store::DiveRecord plain = dive(200);
    plain.Rating = 1;
    writeLog({plain, odd, plain});
    open();
    for (const int index : {2, 1, 2, 3, 2})
        goTo(index);
    EXPECT_EQ(QStringLiteral("32500"), text("txtBData_0"));
    EXPECT_EQ(QString(), text("txtBData_9"));
    EXPECT_TRUE(window->close());

    store::AppState reread;
    reread.Files = state.Files;
    store::OpenLog(reread);
    ASSERT_EQ(3, reread.DiveCount());
    EXPECT_EQ(plain, reread.Dives[1]);
    EXPECT_EQ(odd, reread.Dives[2]);
    EXPECT_EQ(plain, reread.Dives[3]);
}

TEST_F(FormLogTest, TotalsRunUpToTheShownDive) {
    writeLog({dive(1, 60, 30), dive(2, 65, 40), dive(3, 0, 45)});
    open();
    struct Row {
        int shown;
        const char* time;
        const char* avgTime;
        const char* avgDepth;
    };
    for (const Row& r :
         {Row{3, "2:05", "41", "38"}, Row{1, "1:00", "60", "30"}, Row{2, "2:05", "62", "35"}}) {
        goTo(r.shown);
        EXPECT_EQ(QString::fromLatin1(r.time), ctl<QLabel>("lblTime")->text()) << r.shown;
        EXPECT_EQ(QString::fromLatin1(r.avgTime), ctl<QLabel>("lblAvgTime")->text()) << r.shown;
        EXPECT_EQ(QString::fromLatin1(r.avgDepth), ctl<QLabel>("lblAvgDepth")->text()) << r.shown;
        EXPECT_EQ(QStringLiteral("3"), ctl<QLabel>("lblTotal")->text());
    }
    // Typing a bottom time or depth updates the figures at once.
    type("txtBData_3", QStringLiteral("10"), nullptr);
    EXPECT_EQ(QStringLiteral("1:10"), ctl<QLabel>("lblTime")->text());
    EXPECT_EQ(QStringLiteral("35"), ctl<QLabel>("lblAvgTime")->text());
    type("txtBData_4", QStringLiteral("50"), nullptr);
    EXPECT_EQ(QStringLiteral("40"), ctl<QLabel>("lblAvgDepth")->text());
}

TEST_F(FormLogTest, TypedListNamesAreAddedOrFound) {
    writeLog({dive(1), dive(2)});
    open();
    QComboBox* gear = ctl<QComboBox>("cboCData_3");
    gear->setFocus(Qt::TabFocusReason);
    gear->setEditText(QStringLiteral("Drysuit"));
    ctl("txtBData_0")->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(2u, state.GearList.size());
    EXPECT_EQ(QStringLiteral("Drysuit"), state.GearList[1].Name);
    EXPECT_EQ(1, state.current().ListData[store::field::Gear]);
    EXPECT_EQ(2, gear->count());
    EXPECT_EQ(1, gear->currentIndex());

    // A name already in the list is chosen, not added again; the other lists are untouched.
    gear->setFocus(Qt::TabFocusReason);
    gear->setEditText(QStringLiteral("Standard"));
    ctl("txtBData_0")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(2u, state.GearList.size());
    EXPECT_EQ(0, state.current().ListData[store::field::Gear]);
    EXPECT_EQ(1u, state.BuddyList.size());

    // The new name reaches the gear file when the program ends.
    window->close();
    EXPECT_TRUE(readFile(QStringLiteral("gear1.dvl")).contains("Drysuit"));
}

TEST_F(FormLogTest, ChangingBottomTimeAsksBeforeDroppingTheProfile) {
    store::ProfileRecord profile;
    profile.Times[1] = 10;
    profile.Depths[1] = 20;
    store::DiveRecord d = dive(1, 30, 20);
    d.ProfileNum = 1;
    writeLog({d}, {profile});
    open();
    EXPECT_FALSE(window->thumbnail().empty());
    const QString caption = QStringLiteral("WARNING!");
    const QString warning = QStringLiteral(
        "This will permanently delete the entered profile.  Are you sure you want to continue?");

    platform.expect(caption, warning, ui::Answer::No);
    type("txtBData_3", QStringLiteral("40"));
    EXPECT_EQ(QStringLiteral("30"), text("txtBData_3"));
    EXPECT_EQ(30, state.current().DiveData[store::field::BottomTime]);
    EXPECT_EQ(1, state.current().ProfileNum);

    // Leaving the box unchanged asks nothing.
    type("txtBData_3", QStringLiteral("30"));

    platform.expect(caption, warning, ui::Answer::Yes);
    type("txtBData_4", QStringLiteral("25"));
    EXPECT_EQ(25, state.current().DiveData[store::field::MaxDepth]);
    EXPECT_EQ(0, state.current().ProfileNum);
    EXPECT_TRUE(window->thumbnail().empty());
    EXPECT_EQ(2u, state.Profiles.size()) << "the profile itself stays in the file";
}

TEST_F(FormLogTest, CtrlZInTheDepthBoxTakesBackTheEditAndTheDroppedProfile) {
    store::ProfileRecord profile;
    profile.Times[1] = 10;
    profile.Depths[1] = 20;
    store::DiveRecord d = dive(1, 30, 20);
    d.ProfileNum = 1;
    writeLog({dive(5), d}, {profile});
    open();
    platform.expect(QStringLiteral("WARNING!"),
                    QStringLiteral("This will permanently delete the entered profile.  Are you "
                                   "sure you want to continue?"),
                    ui::Answer::Yes);
    type("txtBData_4", QStringLiteral("25"), "txtBData_4");
    ctl("txtBData_3")->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(window->thumbnail().empty());
    EXPECT_EQ(QStringLiteral("&Undo Max. Depth of Dive 2"), ctl<QAction>("mnuUndo")->text());

    // Typed while a box has the focus, Ctrl+Z is the log's, not the box's own.
    QLineEdit* depth = ctl<QLineEdit>("txtBData_4");
    depth->setFocus(Qt::TabFocusReason);
    QTest::keyClick(depth, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(QStringLiteral("20"), depth->text());
    EXPECT_EQ(20, state.current().DiveData[store::field::MaxDepth]);
    EXPECT_EQ(1, state.current().ProfileNum);
    EXPECT_FALSE(window->thumbnail().empty());
    EXPECT_FALSE(ctl<QAction>("mnuUndo")->isEnabled());

    // Redo on another dive goes back to the dive it changes.
    goTo(1);
    ctl<QAction>("mnuRedo")->trigger();
    EXPECT_EQ(2, state.CurrentDive);
    EXPECT_EQ(QStringLiteral("25"), depth->text());
}

TEST_F(FormLogTest, ThumbnailAndProfileRefusal) {
    store::ProfileRecord profile;
    profile.Times = {0, 5, 25, 30};
    profile.Depths = {0, 10, 10, 0};
    store::DiveRecord drawn = dive(1, 30, 10);
    drawn.ProfileNum = 1;
    store::DiveRecord missing = dive(2, 30, 10);
    missing.ProfileNum = 9; // the profile file holds no profile 9
    writeLog({dive(0, 0, 12), drawn, missing}, {profile});
    open();

    EXPECT_TRUE(window->thumbnail().empty());
    EXPECT_TRUE(window->DiveProfile()) << "a dive with a profile may show it";

    goTo(2);
    ASSERT_FALSE(window->thumbnail().empty());
    // The picture draws the window's lines, all inside it.
    const auto* picture = ctl<Thumbnail>("picProfile");
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->lines(), window->thumbnail());
    for (const QLine& l : picture->lines())
        EXPECT_TRUE(picture->rect().contains(l.p1()) && picture->rect().contains(l.p2())) << l.x1();

    goTo(1);
    EXPECT_TRUE(window->thumbnail().empty());
    platform.expect(QStringLiteral("Sorry!"),
                    QStringLiteral("You must enter a bottom time and a maximum depth to view the "
                                   "dive profile"));
    EXPECT_FALSE(window->DiveProfile());

    // The profile window's commands are on.
    EXPECT_TRUE(ctl<QPushButton>("cmdProfile")->isEnabled());
    EXPECT_TRUE(ctl<QAction>("mnuProfile")->isEnabled());
}

TEST_F(FormLogTest, TitleNamesVersionAndDiver) {
    writeLog({dive(1)});
    for (const uint8_t multi : {0, 1}) {
        settings::saveOptions(0, multi);
        window.reset();
        if (multi == 1) // several divers: the start-up asks who is logging
            whenModalOpens([](QWidget* select) {
                select->findChild<QPushButton*>(QStringLiteral("cmdOkay"))->click();
            });
        open();
        // The version as the package names it ("1.0.0"), without its last number.
        const QString version = QStringLiteral(REEFBOOK_VERSION_STRING).section(u'.', 0, 1);
        EXPECT_EQ("RB - The Reef Book  V" + version + "     [Tester]", window->windowTitle());
        EXPECT_EQ(multi == 1, ctl<QAction>("mnuChDiver")->isVisible()) << int(multi);
    }
}

TEST_F(FormLogTest, UnreadableFilesAreReportedAtStart) {
    QByteArray log = bytesOf("02 00");
    log.append(64, '\0');
    log.append(10, '\0'); // the second dive is cut short
    writeFile(QStringLiteral("log1.dvl"), log);
    store::AppState probe;
    const store::FileProblems problems = store::OpenLog(probe);
    ASSERT_FALSE(problems.empty());
    platform.expect(QStringLiteral("Error"),
                    QStringLiteral("Some of the diver's files could not be read as they are:\n\n") +
                        store::describeProblems(problems) +
                        QStringLiteral("\n\nWhat could be read is shown. Before the log is saved, "
                                       "each damaged file is kept under its own name followed "
                                       "by \".damaged\"."));
    open();
    EXPECT_EQ(1, state.DiveCount()) << "the complete dive is kept";
    EXPECT_EQ(QStringLiteral("1"), text("txtDNum"));
    window->close();
    EXPECT_EQ(log, readFile(QStringLiteral("log1.dvl.damaged"))) << "the damaged log is kept";
}

TEST_F(FormLogTest, FirstStartOnACleanStore) {
    QSettings(settings::AppName, settings::AppName).clear();
    whenModalOpens([](QWidget* dialog) {
        EXPECT_EQ(QStringLiteral("Change Default Diver Name"), dialog->windowTitle());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("txtName"));
        ASSERT_NE(nullptr, name);
        EXPECT_EQ(QStringLiteral("Default"), name->text());
        name->setText(QStringLiteral("Jo"));
        dialog->findChild<QPushButton*>(QStringLiteral("cmdOkay"))->click();
    });
    open();
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("[Jo]")));
    EXPECT_EQ(QStringLiteral("1"), text("txtDNum"));
    EXPECT_EQ(QStringLiteral("Pool"), ctl<QComboBox>("cboCData_0")->currentText());
    EXPECT_EQ(QStringLiteral("Standard"), ctl<QComboBox>("cboCData_3")->currentText());

    EXPECT_TRUE(window->close());
    QByteArray oneEmptyDive = bytesOf("01 00");
    oneEmptyDive.append(64, '\0');
    EXPECT_EQ(oneEmptyDive, readFile(QStringLiteral("log1.dvl")));
    EXPECT_EQ(bytesOf(R"(00 00 04 00 "Pool" 00 00 00 00)"), readFile(QStringLiteral("loc1.dvl")));
    EXPECT_EQ(bytesOf(R"(00 00 04 00 "None" 00 00 00 00)"), readFile(QStringLiteral("bud1.dvl")));
    for (const char* name : {"type1.dvl", "gear1.dvl", "prof1.dvl"})
        EXPECT_TRUE(store::fileio::FileExists(QString::fromLatin1(name))) << name;
}

TEST_F(FormLogTest, FunctionKeys) {
    writeLog({dive(1)});
    open();
    struct Row {
        const char* action;
        Qt::Key key;
        bool enabled;
    };
    for (const Row& r : {Row{"mnuCont", Qt::Key_F1, true}, Row{"mnuNew", Qt::Key_F2, true},
                         Row{"mnuChart", Qt::Key_F3, true}, Row{"mnuPrint", Qt::Key_F4, true}}) {
        EXPECT_EQ(QKeySequence(r.key), ctl<QAction>(r.action)->shortcut()) << r.action;
        EXPECT_EQ(r.enabled, ctl<QAction>(r.action)->isEnabled()) << r.action;
    }

    QTest::keyClick(ctl("txtBData_0"), Qt::Key_F2);
    EXPECT_EQ(2, state.DiveCount());
    QTest::keyClick(ctl("txtBData_0"), Qt::Key_F1);
    EXPECT_TRUE(window->helpWindow().isOpen());
    QString chart;
    whenModalOpens([&chart](QWidget* dialog) {
        chart = dialog->windowTitle();
        static_cast<QDialog*>(dialog)->reject();
    });
    QTest::keyClick(ctl("txtBData_0"), Qt::Key_F3);
    EXPECT_EQ(QStringLiteral("Chart Dives"), chart);
    EXPECT_EQ(2, state.DiveCount());
    // The offscreen platform gives no window the focus back when a dialog closes.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // F4 opens Print; no dives of a search are on offer from here.
    bool opened = false;
    whenModalOpens([&opened](QWidget* modal) {
        opened = modal->windowTitle() == QStringLiteral("Print");
        EXPECT_FALSE(modal->findChild<QWidget*>(QStringLiteral("optSelected"))->isEnabled());
        modal->findChild<QPushButton*>(QStringLiteral("cmdCxl"))->click();
    });
    QTest::keyClick(ctl("txtBData_0"), Qt::Key_F4);
    EXPECT_TRUE(opened);

    // Exit closes the help window too.
    QTest::mouseClick(ctl<QPushButton>("cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->helpWindow().isOpen());
}

TEST_F(FormLogTest, FailedSaveOnExitKeepsTheWindowWhenAsked) {
    writeLog({dive(100), dive(200)});
    open();
    type("txtBData_0", QStringLiteral("250"), "txtBData_1");
    // A folder in the way of the log file: it cannot be written.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("log1.dvl"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("log1.dvl")));
    const QString reason = store::fileio::writeWhole(QStringLiteral("log1.dvl"), "x");
    ASSERT_FALSE(reason.isEmpty());
    const QString message = QStringLiteral("The log could not be saved:\n\n") +
                            store::describeProblems({{QStringLiteral("log1.dvl"), reason}}) +
                            QStringLiteral("\n\nQuit anyway? The changes of this session would "
                                           "be lost.");

    platform.expect(QStringLiteral("Error"), message, ui::Answer::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(250, state.Dives[2].DiveData[store::field::PsiIn]);

    // With the way cleared the next Exit saves everything.
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("log1.dvl")));
    QTest::mouseClick(ctl<QPushButton>("cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    store::AppState reread;
    reread.Files = state.Files;
    EXPECT_TRUE(store::OpenLog(reread).empty());
    EXPECT_EQ(250, reread.Dives[2].DiveData[store::field::PsiIn]);

    // Answering Yes gives up the changes and quits.
    window.reset();
    open();
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("log1.dvl"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("log1.dvl")));
    platform.expect(QStringLiteral("Error"), message, ui::Answer::Yes);
    EXPECT_TRUE(window->close());
}

TEST_F(FormLogTest, EditTypedLastIsSavedOnExit) {
    writeLog({dive(100)});
    open();
    // The month is typed and the window closed without leaving the box.
    type("txtAData_0", QStringLiteral("11"), nullptr);
    EXPECT_TRUE(window->close());
    store::AppState reread;
    reread.Files = state.Files;
    store::OpenLog(reread);
    EXPECT_EQ(11, reread.Dives[1].TimeData[store::field::Month]);
}

TEST_F(FormLogTest, EditTypedBeforeACommandStaysWithItsDive) {
    writeLog({dive(100)});
    open();
    type("txtAData_1", QStringLiteral("14"), nullptr);
    QTest::keyClick(ctl("txtAData_1"), Qt::Key_F2);
    EXPECT_EQ(14, state.Dives[1].TimeData[store::field::Day]);
    EXPECT_EQ(0, state.Dives[2].TimeData[store::field::Day]);
    ctl("txtBData_0")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(QStringLiteral("0"), text("txtAData_1")) << "the new dive is shown";
    EXPECT_EQ(0, state.Dives[2].TimeData[store::field::Day]);

    // So does one typed before the scroll bar moves to another dive.
    type("txtAData_0", QStringLiteral("12"), nullptr);
    goTo(1);
    EXPECT_EQ(12, state.Dives[2].TimeData[store::field::Month]);
    EXPECT_EQ(0, state.Dives[1].TimeData[store::field::Month]);
    EXPECT_EQ(QStringLiteral("0"), text("txtAData_0"));
    goTo(2);

    // A command that stays on the dive leaves the box working as before.
    type("txtBData_2", QStringLiteral("80"), nullptr);
    QTest::mouseClick(ctl<QPushButton>("cmdClear"), Qt::LeftButton);
    type("txtBData_2", QStringLiteral("12"), "txtBData_0");
    EXPECT_EQ(12, state.Dives[2].DiveData[store::field::TankSize]);
}

TEST_F(FormLogTest, NewEntryRefusedWhenTheLogIsFull) {
    writeLog(std::vector<store::DiveRecord>(store::MaxDives, dive(7)));
    open();
    platform.expect(QStringLiteral("Error"),
                    QStringLiteral("This log already holds 32767 dives, the most it can hold. "
                                   "No entry was added."));
    QTest::mouseClick(ctl<QPushButton>("cmdNew"), Qt::LeftButton);
    EXPECT_EQ(store::MaxDives, state.DiveCount());
    EXPECT_EQ(QStringLiteral("32767"), text("txtDNum"));
}

TEST_F(FormLogTest, ConditionsRatingCommentsAndClear) {
    store::DiveRecord d = dive(100, 40, 18);
    d.TimeData = {6, 1, 2001, 9, 0, 10, 0};
    d.DiveData[store::field::Visibility] = 20;
    d.ListData = {0, 0, 0, 0};
    d.Comments = QStringLiteral("Turtles");
    d.Rating = 2;
    writeLog({d});
    open();
    EXPECT_EQ(QStringLiteral("Turtles"), ctl<QPlainTextEdit>("txtDData")->toPlainText());
    EXPECT_TRUE(ctl<QRadioButton>("optRate_2")->isChecked());

    QTest::mouseClick(ctl<QCheckBox>("chkEData_4"), Qt::LeftButton);
    EXPECT_EQ(1, state.current().CondData[4]);
    QTest::mouseClick(ctl("imgRate_0"), Qt::LeftButton);
    EXPECT_TRUE(ctl<QRadioButton>("optRate_0")->isChecked());
    EXPECT_EQ(0, state.current().Rating);
    ctl<QPlainTextEdit>("txtDData")->setPlainText(QStringLiteral("Turtles and a ray"));
    EXPECT_EQ(QStringLiteral("Turtles and a ray"), state.current().Comments);

    QTest::mouseClick(ctl<QPushButton>("cmdClear"), Qt::LeftButton);
    for (const char* box : {"txtAData_0", "txtAData_1", "txtAData_2", "txtBData_9"})
        EXPECT_EQ(QString(), text(box)) << box;
    EXPECT_EQ(QStringLiteral("09"), text("txtAData_3").rightJustified(2, QLatin1Char('0')));
    EXPECT_EQ(QStringLiteral("0"), text("txtBData_3"));
    EXPECT_EQ((std::array<int16_t, 10>{}), state.current().DiveData);
    EXPECT_EQ((std::array<int16_t, 8>{}), state.current().CondData);
    EXPECT_EQ(1, state.current().Rating);
    EXPECT_EQ(0, state.current().TimeData[store::field::Year]) << "Clear empties the record too";
    EXPECT_EQ(QString(), state.current().Comments) << "Clear empties the record too";
}

TEST_F(FormLogTest, GoToDiveFromTheResultsWindow) {
    writeLog(tenDives());
    open();
    type("txtBData_2", QStringLiteral("99"), nullptr);
    ctl<QLineEdit>("txtAData_0")->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(ctl("txtAData_0"), QStringLiteral("5"));
    window->GoToDive(4);
    EXPECT_EQ(4, state.CurrentDive);
    EXPECT_EQ(QStringLiteral("4"), text("txtDNum"));
    EXPECT_EQ(4, ctl<QScrollBar>("vsbDNum")->value());
    EXPECT_EQ(QStringLiteral("400"), text("txtBData_0"));
    EXPECT_TRUE(ctl("txtDNum")->hasFocus());
    EXPECT_EQ(99, state.Dives[10].DiveData[store::field::TankSize]);
    EXPECT_EQ(0, state.Dives[4].TimeData[store::field::Month]) << "a month typed for dive 10";
}

TEST_F(FormLogTest, LinksAboutAndListEditors) {
    writeLog({dive(1)});
    open();
    ctl<QAction>("mnuEmail")->trigger();
    ctl<QAction>("mnuWebPage")->trigger();
    ASSERT_EQ(2u, platform.urls.size());
    EXPECT_EQ(QStringLiteral("mailto"), platform.urls[0].scheme());
    EXPECT_EQ(QStringLiteral("https"), platform.urls[1].scheme());

    QString about;
    whenModalOpens([this, &about](QWidget* dialog) {
        about = dialog->windowTitle();
        auto* version = dialog->findChild<QLabel*>(QStringLiteral("lblVersion"));
        ASSERT_NE(nullptr, version);
        EXPECT_EQ(QStringLiteral("Version " REEFBOOK_VERSION_STRING), version->text());
        // The box tells where the logbook files are: the folder the program works in.
        auto* folder = dialog->findChild<QLabel*>(QStringLiteral("lblFolder"));
        ASSERT_NE(nullptr, folder);
        EXPECT_TRUE(folder->text().endsWith(QFileInfo(dir.path()).canonicalFilePath()));
        dialog->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    });
    ctl<QAction>("mnuAbout")->trigger();
    EXPECT_EQ(QStringLiteral("About"), about);

    // An entry added in the gear editor shows in the drop-down list afterwards.
    QString editorTitle;
    whenModalOpens([&editorTitle](QWidget* dialog) {
        editorTitle = dialog->windowTitle();
        auto* names = dialog->findChild<QComboBox*>(QStringLiteral("cboData"));
        ASSERT_NE(nullptr, names);
        names->lineEdit()->selectAll();
        QTest::keyClicks(names->lineEdit(), QStringLiteral("Twin set"));
        dialog->findChild<QPushButton*>(QStringLiteral("cmdAdd"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    });
    QTest::mouseClick(ctl<QPushButton>("cmdGear"), Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("Gear Records"), editorTitle);
    EXPECT_EQ(2, ctl<QComboBox>("cboCData_3")->count());
    EXPECT_EQ(QStringLiteral("Standard"), ctl<QComboBox>("cboCData_3")->currentText());
}

} // namespace app
