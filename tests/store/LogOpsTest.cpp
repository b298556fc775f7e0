#include "divers/DiverList.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

#include <unistd.h>

namespace store {

namespace {

using LogOps = TempFolderTest;

DiveRecord diveWith(int bottomTime, const char* comment) {
    DiveRecord d;
    d.DiveData[field::BottomTime] = static_cast<int16_t>(bottomTime);
    d.Comments = QString::fromLatin1(comment);
    return d;
}

// A log of `n` dives whose bottom times are 10, 20, ... and comments "dive 1", "dive 2", ...
AppState stateWithDives(int n) {
    AppState s;
    StartNewLog(s);
    s.Dives.resize(1);
    for (int i = 1; i <= n; ++i)
        s.Dives.push_back(diveWith(10 * i, QStringLiteral("dive %1").arg(i).toLatin1().constData()));
    s.CurrentDive = n;
    return s;
}

std::vector<int> bottomTimes(const AppState& s) {
    std::vector<int> out;
    for (int i = 1; i <= s.DiveCount(); ++i)
        out.push_back(s.Dives[static_cast<size_t>(i)].DiveData[field::BottomTime]);
    return out;
}

QStringList names(const RefList& list) {
    QStringList out;
    for (const ListEntry& e : list)
        out << e.Name;
    return out;
}

// Permission bits do not stop root; such cases can only be checked as an ordinary user.
bool permissionsBindUs() { return geteuid() != 0; }

} // namespace

TEST_F(LogOps, SaveAndOpenRoundTrip) {
    AppState s = stateWithDives(3);
    s.LocationList.push_back({QStringLiteral("Reef"), QStringLiteral("north"), QStringLiteral("r.bmp")});
    s.Profiles.emplace_back();
    s.Profiles[1].Times[1] = 5;
    s.Dives[2].ProfileNum = 1;
    ASSERT_TRUE(SaveLog(s).empty());

    // The log is the count, then 64 bytes per dive plus its comment.
    EXPECT_EQ(readFile("log1.dvl").size(), 2 + 3 * 64 + 3 * 6);
    EXPECT_EQ(readFile("type1.dvl"), bytesOf(R"(00 00 08 00 "Pleasure" 00 00 00 00)"));

    AppState back;
    EXPECT_TRUE(OpenLog(back).empty());
    EXPECT_EQ(back.Dives, s.Dives);
    EXPECT_EQ(back.LocationList, s.LocationList);
    EXPECT_EQ(back.Profiles, s.Profiles);
    EXPECT_EQ(back.CurrentDive, 3);
}

TEST_F(LogOps, RewritingWithFewerDivesReadsTheNewCount) {
    AppState s = stateWithDives(3);
    ASSERT_TRUE(SaveLog(s).empty());
    s.CurrentDive = 3;
    RemoveEntry(s);
    ASSERT_TRUE(SaveLog(s).empty());
    AppState back;
    EXPECT_TRUE(OpenLog(back).empty());
    EXPECT_EQ(bottomTimes(back), (std::vector<int>{10, 20}));

    // A file that still holds an old third record after the two counted ones reads as two;
    // the record it cannot place is named, so that it is kept before a save drops it.
    writeFile("log1.dvl", dvl::serializeLog({diveWith(1, ""), diveWith(2, "")}) +
                              dvl::serializeLog({diveWith(3, "old")}).mid(2));
    AppState stale;
    EXPECT_EQ(OpenLog(stale).size(), 1u);
    EXPECT_EQ(bottomTimes(stale), (std::vector<int>{1, 2}));
}

TEST_F(LogOps, StartNewLogDefaults) {
    AppState s = stateWithDives(4);
    s.Profiles.resize(3);
    StartNewLog(s);
    EXPECT_EQ(s.DiveCount(), 1);
    EXPECT_EQ(s.CurrentDive, 1);
    EXPECT_EQ(s.Dives[0], DiveRecord{});
    EXPECT_EQ(s.Dives[1], DiveRecord{});
    const char* expected[4] = {"Pool", "Pleasure", "None", "Standard"};
    for (int which = 0; which < 4; ++which) {
        ASSERT_EQ(s.list(which).size(), 1u);
        EXPECT_EQ(s.list(which)[0], (ListEntry{QLatin1String(expected[which]), {}, {}}));
    }
    EXPECT_EQ(s.Profiles.size(), 1u);
    // No index outside the four names a list (the gear list least of all).
    for (const int bad : {-1, 4, 99})
        EXPECT_THROW(s.list(bad), std::out_of_range) << bad;
}

TEST_F(LogOps, EmptyOrMissingLogStartsANewLogWithoutTouchingFiles) {
    for (bool present : {false, true}) {
        SCOPED_TRACE(present ? "empty file" : "no file");
        if (present)
            writeFile("log1.dvl", {});
        AppState s = stateWithDives(2);
        EXPECT_TRUE(OpenLog(s).empty());
        EXPECT_EQ(s.DiveCount(), 1);
        EXPECT_EQ(s.CurrentDive, 1);
        EXPECT_EQ(names(s.LocationList), QStringList{"Pool"});
        EXPECT_EQ(names(s.GearList), QStringList{"Standard"});
        // Reading creates nothing.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), present ? 1 : 0);
    }
}

// With no dives in the log, list and profile files that hold entries are still read (a new
// diver may share another diver's lists); only a missing or empty one starts with its default.
TEST_F(LogOps, EmptyLogStillReadsListsThatHoldEntries) {
    const RefList shared{{QStringLiteral("Ann"), {}, {}}, {QStringLiteral("Bob"), {}, {}}};
    writeFile("bud1.dvl", dvl::serializeList(shared, false));
    writeFile("gear1.dvl", {});                                 // empty file
    writeFile("type1.dvl", bytesOf("FF FF"));                   // highest index -1: no entries
    ProfileRecord p;
    p.Notes[0] = QStringLiteral("kept");
    writeFile("prof1.dvl", dvl::serializeProfiles({ProfileRecord{}, p}));

    AppState s;
    const FileProblems problems = OpenLog(s);
    EXPECT_TRUE(problems.empty()) << describeProblems(problems).toStdString();
    EXPECT_EQ(s.DiveCount(), 1);
    EXPECT_EQ(names(s.BuddyList), (QStringList{"Ann", "Bob"}));
    EXPECT_EQ(names(s.LocationList), QStringList{"Pool"});
    EXPECT_EQ(names(s.TypeList), QStringList{"Pleasure"});
    EXPECT_EQ(names(s.GearList), QStringList{"Standard"});
    ASSERT_EQ(s.Profiles.size(), 2u);
    EXPECT_EQ(s.Profiles[1].Notes[0], QStringLiteral("kept"));
}

TEST_F(LogOps, DamagedFilesAreReadAsFarAsTheyGoAndNamed) {
    AppState s = stateWithDives(3);
    s.TypeList.push_back({QStringLiteral("Night"), {}, {}});
    ASSERT_TRUE(SaveLog(s).empty());
    const QByteArray log = readFile("log1.dvl");
    writeFile("log1.dvl", log.left(log.size() - 3));              // third dive cut short
    writeFile("type1.dvl", readFile("type1.dvl").left(14));       // second entry cut short
    QFile::remove(path("gear1.dvl"));                             // missing while dives exist
    writeFile("prof1.dvl", bytesOf("F0 FF"));                     // negative highest index

    AppState back;
    const FileProblems problems = OpenLog(back);
    EXPECT_EQ(bottomTimes(back), (std::vector<int>{10, 20}));
    EXPECT_EQ(names(back.TypeList), QStringList{"Pleasure"});
    EXPECT_EQ(names(back.GearList), QStringList{"Standard"});
    EXPECT_EQ(back.Profiles.size(), 1u);
    QStringList files;
    for (const FileProblem& p : problems) {
        files << p.file;
        EXPECT_FALSE(p.what.isEmpty());
    }
    EXPECT_EQ(files, (QStringList{"log1.dvl", "type1.dvl", "gear1.dvl", "prof1.dvl"}));
}

TEST_F(LogOps, RemoveEntry) {
    struct Case {
        int count, current;
        std::vector<int> times; // bottom times left
        int shown;              // CurrentDive afterwards
    };
    const Case cases[] = {
        {5, 5, {10, 20, 30, 40}, 4},     // last dive: the new last dive is shown
        {5, 3, {10, 20, 40, 50}, 3},     // the dive that followed takes its place
        {5, 1, {20, 30, 40, 50}, 1},
        {2, 1, {20}, 1},
        {1, 1, {10}, 1},                 // the only dive is never removed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " dives, remove " << c.current);
        AppState s = stateWithDives(c.count);
        s.CurrentDive = c.current;
        RemoveEntry(s);
        EXPECT_EQ(bottomTimes(s), c.times);
        EXPECT_EQ(s.CurrentDive, c.shown);
    }
}

TEST_F(LogOps, AppendAfterRemovalIsAnEmptyDive) {
    AppState s = stateWithDives(5);
    s.CurrentDive = 3;
    RemoveEntry(s);
    EXPECT_EQ(s.current().Comments, QStringLiteral("dive 4"));
    ASSERT_TRUE(AppendEntry(s));
    EXPECT_EQ(s.DiveCount(), 5);
    EXPECT_EQ(s.CurrentDive, 5);
    EXPECT_EQ(s.Dives[5], DiveRecord{});

    s.Dives.resize(MaxDives + 1);
    EXPECT_FALSE(AppendEntry(s));
    EXPECT_EQ(s.DiveCount(), MaxDives);
}

// What a failed save must do: name every file it could not write and leave every file of the
// set exactly as it was.
TEST_F(LogOps, SaveFailuresKeepOldFilesAndAreAllReported) {
    AppState s = stateWithDives(2);
    ASSERT_TRUE(SaveLog(s).empty());
    const QByteArray oldLoc = readFile("loc1.dvl");
    const QByteArray oldLog = readFile("log1.dvl");

    // A read-only location file and a folder standing where the profile file should be.
    ASSERT_TRUE(QFile::setPermissions(path("loc1.dvl"), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    ASSERT_TRUE(QFile::remove(path("prof1.dvl")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("prof1.dvl")));

    AppendEntry(s);
    s.current().Comments = QStringLiteral("new");
    s.LocationList.push_back({QStringLiteral("Wreck"), {}, {}});
    const FileProblems failures = SaveLog(s);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].file, QStringLiteral("loc1.dvl"));
    EXPECT_EQ(failures[1].file, QStringLiteral("prof1.dvl"));
    EXPECT_FALSE(failures[0].what.isEmpty());
    EXPECT_FALSE(failures[1].what.isEmpty());
    EXPECT_EQ(readFile("loc1.dvl"), oldLoc);
    EXPECT_EQ(readFile("log1.dvl"), oldLog); // nor any other: the set is replaced as a whole
    AppState back;
    OpenLog(back);
    EXPECT_EQ(back.DiveCount(), 2);
    EXPECT_EQ(s.DiveCount(), 3); // nothing in memory is lost
    EXPECT_TRUE(QFileInfo(path("prof1.dvl")).isDir());
    // The temporary files of the failed writes are gone.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);

    // Reading a folder where a file should be is named too, not taken for an empty file.
    const FileProblems readProblems = OpenLog(back);
    ASSERT_FALSE(readProblems.empty());
    EXPECT_EQ(readProblems.back().file, QStringLiteral("prof1.dvl"));
}

// More records than a 16-bit header can count would come back as an empty file.
TEST_F(LogOps, CountsBeyondTheHeaderAreNotWritten) {
    AppState s = stateWithDives(1);
    ASSERT_TRUE(SaveLog(s).empty());
    const QByteArray oldProfiles = readFile("prof1.dvl");
    const QByteArray oldTypes = readFile("type1.dvl");

    s.Profiles.resize(32768); // highest index 32767: still fits
    ASSERT_TRUE(SaveLog(s).empty());
    EXPECT_EQ(readFile("prof1.dvl").left(2), bytesOf("FF 7F"));

    writeFile("prof1.dvl", oldProfiles);
    s.Profiles.resize(32769);
    s.TypeList.resize(32769);
    const FileProblems failures = SaveLog(s);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].file, QStringLiteral("type1.dvl"));
    EXPECT_EQ(failures[1].file, QStringLiteral("prof1.dvl"));
    EXPECT_EQ(readFile("prof1.dvl"), oldProfiles);
    EXPECT_EQ(readFile("type1.dvl"), oldTypes);
}

TEST_F(LogOps, SaveIntoReadOnlyFolderKeepsTheOldFile) {
    if (!permissionsBindUs())
        GTEST_SKIP() << "running as root: folder permission bits do not stop writes";
    AppState s = stateWithDives(1);
    ASSERT_TRUE(SaveLog(s).empty());
    const QByteArray old = readFile("log1.dvl");
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    AppendEntry(s);
    const FileProblems failures = SaveLog(s);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    ASSERT_EQ(failures.size(), 6u);
    EXPECT_EQ(failures[0].file, QStringLiteral("log1.dvl"));
    EXPECT_EQ(readFile("log1.dvl"), old);
}

// Names from the settings or divers.dvl are never followed out of the log folder.
TEST_F(LogOps, UnsafeFileNamesAreRefused) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("inner")));
    ASSERT_TRUE(QDir::setCurrent(path("inner")));
    writeFile("outside.dvl", dvl::serializeLog({diveWith(7, "outside")}));
    writeFile("inner/sub.dvl", QByteArray("keep"));

    const QString bad[] = {QStringLiteral("../outside.dvl"), QStringLiteral(".."),
                           QStringLiteral("/tmp/x.dvl"),     QStringLiteral("a\\b.dvl"),
                           QStringLiteral(""),               QStringLiteral("."),
                           QStringLiteral("sub/../x.dvl")};
    for (const QString& name : bad) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(fileio::isSafeFileName(name));
        AppState s;
        s.Files.LogFile = name;
        s.Files.ProfFile = name;
        const FileProblems read = OpenLog(s);
        ASSERT_GE(read.size(), 1u);
        EXPECT_EQ(read.front().file, name);
        EXPECT_EQ(s.DiveCount(), 1); // nothing was read from outside

        const FileProblems written = SaveLog(s);
        ASSERT_EQ(written.size(), 2u);
        EXPECT_EQ(written[0].file, name);
        EXPECT_FALSE(fileio::FileExists(name));
        EXPECT_FALSE(fileio::removeFile(name).isEmpty());
    }
    EXPECT_EQ(readFile("outside.dvl"), dvl::serializeLog({diveWith(7, "outside")}));

    // Deleting a diver whose entry names files outside removes nothing there.
    AppState s;
    s.DiverList = {DiverEntry{QStringLiteral("Eve"), FileSet{}}};
    s.DiverList[0].Files.LogFile = QStringLiteral("../outside.dvl");
    s.DiverList[0].Files.LocFile = QStringLiteral("sub.dvl");
    const FileProblems removed = divers::DeleteData(s, 1);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].file, QStringLiteral("../outside.dvl"));
    EXPECT_TRUE(QFile::exists(path("outside.dvl")));
    EXPECT_FALSE(QFile::exists(path("inner/sub.dvl"))); // a bare name in the folder is removed
    QDir::setCurrent(dir.path());
}

TEST_F(LogOps, ADamagedFileIsKeptAsideBeforeItIsOverwritten) {
    AppState written = stateWithDives(3);
    ASSERT_TRUE(SaveLog(written).empty());
    QByteArray log = readFile(QStringLiteral("log1.dvl"));
    log.chop(5); // the third dive is cut short
    writeFile(QStringLiteral("log1.dvl"), log);
    const QByteArray types = bytesOf("02 00 04 00 \"Wall\" 00 00"); // 3 entries announced, 0.5 there
    writeFile(QStringLiteral("type1.dvl"), types);

    AppState s;
    const FileProblems problems = OpenLog(s);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(bottomTimes(s), (std::vector<int>{10, 20}));

    ASSERT_TRUE(SaveLog(s).empty());
    EXPECT_EQ(readFile(QStringLiteral("log1.dvl.damaged")), log);
    EXPECT_EQ(readFile(QStringLiteral("type1.dvl.damaged")), types);
    AppState reopened;
    EXPECT_TRUE(OpenLog(reopened).empty());
    EXPECT_EQ(bottomTimes(reopened), (std::vector<int>{10, 20}));

    // Once written anew the files are whole: a second save keeps no further copy, and an
    // older copy is never replaced by a newer one.
    ASSERT_TRUE(SaveLog(s).empty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("log1.dvl.damaged2"))));
    writeFile(QStringLiteral("log1.dvl"), log);
    AppState again;
    OpenLog(again);
    ASSERT_TRUE(SaveLog(again).empty());
    EXPECT_EQ(readFile(QStringLiteral("log1.dvl.damaged2")), log);
    EXPECT_EQ(readFile(QStringLiteral("log1.dvl.damaged")), log);
}

} // namespace store
