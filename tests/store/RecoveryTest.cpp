#include "store/Recovery.h"
#include "store/LogOps.h"
#include "support/TestEnv.h"

#include <QDateTime>
#include <QFile>

namespace store {

namespace {

AppState sampleLog() {
    AppState s;
    StartDefaultLists(s);
    s.Dives.resize(4);
    s.Dives[2].Comments = QStringLiteral("Wreck\r\nof the \xe9t\xe9");
    s.Dives[3].DiveData[field::BottomTime] = 45;
    s.LocationList.push_back(
        {QStringLiteral("Reef"), QStringLiteral("north"), QStringLiteral("/m.bmp")});
    s.Profiles.resize(2);
    s.Profiles[1].Times[1] = 5;
    s.CurrentDive = 2;
    return s;
}

void setAge(const QString& name, int seconds) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(seconds),
                              QFileDevice::FileModificationTime));
}

} // namespace

class RecoveryTest : public TempFolderTest {};

TEST_F(RecoveryTest, JournalReadsBackWholeOrNotAtAll) {
    const AppState s = sampleLog();
    const QByteArray journal = recovery::buildJournal(s);
    AppState back;
    ASSERT_TRUE(recovery::restoreJournal(journal, back));
    EXPECT_EQ(s.Dives, back.Dives);
    EXPECT_EQ(s.LocationList, back.LocationList);
    EXPECT_EQ(s.GearList, back.GearList);
    EXPECT_EQ(s.Profiles, back.Profiles);
    EXPECT_EQ(2, back.CurrentDive);

    struct Case {
        const char* what;
        QByteArray data;
    };
    QByteArray badLog = journal;
    badLog[14] = 9; // the log part's count says 9 dives
    const Case damaged[] = {
        {"cut short", journal.left(journal.size() - 1)}, {"bytes after the end", journal + "x"},
        {"not a journal", "RBRECOV2" + journal.mid(8)},  {"empty", QByteArray()},
        {"a part that does not read whole", badLog},
    };
    for (const Case& c : damaged) {
        SCOPED_TRACE(c.what);
        AppState untouched = sampleLog();
        EXPECT_FALSE(recovery::restoreJournal(c.data, untouched));
        EXPECT_EQ(sampleLog().Dives, untouched.Dives);
    }
}

TEST_F(RecoveryTest, JournalHoldsOnlyWorkTheFilesDoNot) {
    AppState s = sampleLog();
    ASSERT_TRUE(SaveLog(s).empty());
    const QString name = QStringLiteral("log1.dvl.recovery");
    recovery::Journal journal(s);
    journal.opened();
    s.CurrentDive = 1; // looking at another dive is no work to keep
    EXPECT_TRUE(journal.update().isEmpty());
    EXPECT_FALSE(QFile::exists(name));

    s.Dives[1].DiveData[field::PsiIn] = 3000;
    EXPECT_TRUE(journal.update().isEmpty());
    EXPECT_EQ(recovery::Found::Newer, recovery::findJournal(s.Files));
    s.Dives[1].DiveData[field::PsiIn] = 0; // undone: nothing left to recover
    journal.update();
    EXPECT_FALSE(QFile::exists(name));
    s.Dives[1].DiveData[field::PsiIn] = 1;
    journal.update();
    EXPECT_TRUE(journal.saved().isEmpty());
    EXPECT_FALSE(QFile::exists(name)) << "a save removes it";
}

TEST_F(RecoveryTest, FoundNewerOrOlderAndSetAsideNeverOverwrites) {
    const FileSet files;
    EXPECT_EQ(recovery::Found::None, recovery::findJournal(files));
    writeFile(QStringLiteral("log1.dvl.recovery"), "first");
    EXPECT_EQ(recovery::Found::Newer, recovery::findJournal(files)) << "no log at all";
    writeFile(QStringLiteral("log1.dvl"), "00 00");
    setAge(path(QStringLiteral("log1.dvl.recovery")), -60);
    EXPECT_EQ(recovery::Found::Older, recovery::findJournal(files));
    setAge(path(QStringLiteral("log1.dvl.recovery")), 60);
    EXPECT_EQ(recovery::Found::Newer, recovery::findJournal(files));

    EXPECT_EQ(QStringLiteral("log1.dvl.recovery-old"), recovery::setAside(files));
    writeFile(QStringLiteral("log1.dvl.recovery"), "second");
    EXPECT_EQ(QStringLiteral("log1.dvl.recovery-old2"), recovery::setAside(files));
    EXPECT_EQ("first", readFile(QStringLiteral("log1.dvl.recovery-old")));
    EXPECT_EQ("second", readFile(QStringLiteral("log1.dvl.recovery-old2")));

    FileSet odd; // a journal never takes the name of one of the six files
    odd.ProfFile = QStringLiteral("log1.dvl.recovery");
    EXPECT_EQ(QString(), recovery::journalName(odd));
}

// A journal belongs to the program that wrote it: another program's save never removes one it
// did not write (say of a program killed while this one ran).
TEST_F(RecoveryTest, AJournalIsRemovedOnlyByItsWriter) {
    AppState s = sampleLog();
    ASSERT_TRUE(SaveLog(s).empty());
    recovery::Journal journal(s);
    journal.opened();
    const QByteArray theirs = "RBRECOV1 of a killed program";
    writeFile("log1.dvl.recovery", theirs);
    EXPECT_TRUE(journal.saved().isEmpty());
    EXPECT_EQ(theirs, readFile("log1.dvl.recovery"));

    QFile::remove(path("log1.dvl.recovery"));
    s.Dives[1].Rating = 2;
    EXPECT_TRUE(journal.update().isEmpty());
    EXPECT_TRUE(QFile::exists(path("log1.dvl.recovery")));
    ASSERT_TRUE(SaveLog(s).empty());
    EXPECT_TRUE(journal.saved().isEmpty());
    EXPECT_FALSE(QFile::exists(path("log1.dvl.recovery"))) << "its own journal goes";
}

} // namespace store
