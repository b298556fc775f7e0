#include "app/FormLog.h"
#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

class ExportMenuTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::saveDefaultName(QStringLiteral("Tester"));
        store::AppState s;
        store::StartNewLog(s);
        s.Dives[1].DiveData[store::field::MaxDepth] = 60;
        s.Dives.push_back(s.Dives[1]);
        ASSERT_TRUE(store::SaveLog(s).empty());
        window = std::make_unique<app::FormLog>(state, app::FormLog::StartOptions{false});
    }
    QAction* action(const char* name) {
        QAction* a = window->findChild<QAction*>(QString::fromLatin1(name));
        if (!a) ADD_FAILURE() << "no menu command " << name;
        return a;
    }

    ScriptedPlatform platform;
    store::AppState state;
    std::unique_ptr<app::FormLog> window;
};

TEST_F(ExportMenuTest, FileMenuExportsEveryDiveInTheChosenUnits) {
    // Both commands sit in the File menu before Exit.
    QMenu* file = window->findChild<QMenu*>(QStringLiteral("mnuFile"));
    ASSERT_TRUE(file);
    QStringList texts;
    for (QAction* a : file->actions())
        if (!a->isSeparator()) texts << a->text();
    ASSERT_GE(texts.size(), 4);
    EXPECT_EQ(texts.mid(texts.size() - 4),
              (QStringList{"&Import...", "Export as &UDDF...", "Export as CS&V...", "E&xit"}));

    platform.chooseSaveFile(path("metric.csv"), 1);
    action("mnuExportCsv")->trigger();
    const QList<QByteArray> lines = readFile("metric.csv").split('\n');
    ASSERT_EQ(lines.size(), 4); // header, two dives, the empty rest after the last CR LF
    EXPECT_TRUE(lines[0].contains("Max Depth (m)"));
    EXPECT_EQ(platform.proposedNames.back(), QStringLiteral("tester.csv"));

    platform.chooseSaveFile(QString()); // cancelled: nothing is written
    action("mnuExportUddf")->trigger();
    EXPECT_FALSE(QFileInfo::exists(path("tester.uddf")));

    QDir(dir.path()).mkdir(QStringLiteral("taken.uddf"));
    platform.chooseSaveFile(path("taken.uddf"));
    platform.expect(QStringLiteral("Error"), QStringLiteral("Could not write %1: a folder of that "
                                                            "name is in the way")
                                                 .arg(path("taken.uddf")));
    action("mnuExportUddf")->trigger();
}

TEST_F(ExportMenuTest, FileImportAddsTheDivesInTheDiversUnitsAndSaysWhatItDid) {
    settings::saveDiverUnits(state.Files, interchange::Units::Metric);
    writeFile("other.csv", "Date;Depth [ft];Duration;Site;Suit\r\n2004-03-28;60;42;blue hole;\r\n"
                           "2004-03-29;30;40;Pool;\r\n");
    platform.chooseFile(path("other.csv"));
    platform.expect(QStringLiteral("Import"),
                    QStringLiteral("Added 2 dives as dives 3 to 4 (metric units).\n\n"
                                   "New locations: blue hole"),
                    ui::Answer::Ok, ui::Icon::Information);
    action("mnuImport")->trigger();
    ASSERT_EQ(state.DiveCount(), 4);
    EXPECT_EQ(state.CurrentDive, 3); // the first dive brought in is shown
    EXPECT_EQ(state.Dives[3].DiveData[store::field::MaxDepth], 18);
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("txtDNum"))->text(), "3");
    EXPECT_EQ(window->findChild<QComboBox*>(QStringLiteral("cboCData_0"))->currentText(),
              "blue hole");

    // The export offers the diver's units first; UDDF names the dives it had to date.
    platform.chooseSaveFile(path("first.csv"), 0);
    action("mnuExportCsv")->trigger();
    EXPECT_TRUE(readFile("first.csv").contains("Max Depth (m)"));
    platform.chooseSaveFile(path("all.uddf"), 0);
    platform.expect(QStringLiteral("Export as UDDF"),
                    QStringLiteral("Every dive was written. UDDF requires a date and time, so "
                                   "these were written in another form (a note in each dive says "
                                   "so):\n\ndive 1: no date was entered; written as 1900-01-01\n"
                                   "dive 2: no date was entered; written as 1900-01-01"),
                    ui::Answer::Ok, ui::Icon::Information);
    action("mnuExportUddf")->trigger();
    EXPECT_EQ(readFile("all.uddf").count("<dive "), 4);

    writeFile("bad.csv", "Date,Site\r\n2004-03-28,Pool\r\n");
    platform.chooseFile(path("bad.csv"));
    platform.expect(QStringLiteral("Error"),
                    QStringLiteral("bad.csv was not imported; the log is unchanged.\n\nline 1: no "
                                   "column for the depth, the time (entry time or duration); the "
                                   "columns found are \"Date\", \"Site\""));
    action("mnuImport")->trigger();
    EXPECT_EQ(state.DiveCount(), 4);
}

} // namespace
