#include "divers/DiverList.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "support/DeviceFiles.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace store {

namespace {

using SafeSave = TempFolderTest;

// Five dives on disk (bottom times 1 to 5) under a header that counts `count`.
QByteArray fiveDives(int count) {
    std::vector<DiveRecord> dives(5);
    for (int i = 0; i < 5; ++i)
        dives[static_cast<size_t>(i)].DiveData[field::BottomTime] = static_cast<int16_t>(i + 1);
    QByteArray file = dvl::serializeLog(dives);
    file[0] = static_cast<char>(count & 0xff);
    file[1] = static_cast<char>((count >> 8) & 0xff);
    return file;
}

void saveNewSet() {
    AppState fresh;
    StartNewLog(fresh);
    ASSERT_TRUE(SaveLog(fresh).empty());
}

} // namespace

// Bytes after the counted records may be whole dives behind a damaged count: they are named
// when the log is opened and kept aside before a save drops them.
TEST_F(SafeSave, BytesAfterTheCountAreNamedAndKeptAside) {
    QByteArray types = dvl::serializeList({{"Night", {}, {}}, {"Wall", {}, {}}}, false);
    types[0] = types[1] = '\xff'; // highest index -1: no entries
    const struct {
        const char* file;
        QByteArray bytes;
        const char* says;
        int dives; // shown
    } cases[] = {
        {"log1.dvl", fiveDives(4), "4 dives counted, but the file seems to hold 1 more (5 in all)",
         4},
        {"log1.dvl", fiveDives(0), "0 dives counted, but the file seems to hold 5 more", 1},
        {"log1.dvl", fiveDives(4) + "xyz", "(5 in all, then bytes that are not a whole dive)", 4},
        {"log1.dvl", fiveDives(5) + "xyz", "3 bytes after the last counted dive could not be", 5},
        {"type1.dvl", types, "0 entries counted, but the file seems to hold 2 more", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        saveNewSet();
        writeFile("log1.dvl", fiveDives(5));
        writeFile(c.file, c.bytes);
        AppState s;
        const FileProblems problems = OpenLog(s);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_TRUE(problems[0].what.contains(QLatin1String(c.says)))
            << problems[0].what.toStdString();
        EXPECT_TRUE(
            problems[0].what.contains(QStringLiteral("keep the copy \"%1.damaged\"").arg(c.file)));
        EXPECT_EQ(s.DiveCount(), c.dives);

        ASSERT_TRUE(SaveLog(s).empty());
        EXPECT_EQ(readFile(QLatin1String(c.file) + ".damaged"), c.bytes);
        EXPECT_TRUE(QFile::remove(path(QLatin1String(c.file) + ".damaged")));
        EXPECT_TRUE(OpenLog(s).empty());
    }
}

// A failed save replaces no file of the set, and says why in the system's words.
TEST_F(SafeSave, AFailedSaveReplacesNothing) {
    saveNewSet();
    const auto snapshot = [this] {
        QByteArray all;
        for (const QString& f : FileSet{}.names())
            all += readFile(f);
        return all;
    };
    const QByteArray before = snapshot();
    AppState s;
    OpenLog(s);
    s.Dives[1].Comments = QString(5000, QLatin1Char('c')); // the log outgrows the limit below
    s.BuddyList.push_back({QStringLiteral("Ann"), {}, {}});

    // The log marked read-only (by its owner bit, which binds root too).
    ASSERT_TRUE(QFile::setPermissions(path("log1.dvl"), QFileDevice::ReadOwner));
    EXPECT_EQ(SaveLog(s), (FileProblems{{"log1.dvl", "the file is read-only"}}));
    ASSERT_TRUE(
        QFile::setPermissions(path("log1.dvl"), QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    // A disk that takes no more than 4096 bytes per file: the lists would fit, the log does not.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const FileProblems failures = SaveLog(s);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failures, (FileProblems{{"log1.dvl", "File too large"}}));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6); // no temporaries
}

// Only regular files are data files: a pipe, a device or a folder is refused unread and never
// replaced. A symbolic link is read and written through: the link stays, its file changes.
TEST_F(SafeSave, OnlyRegularFilesAndLinksToThemAreDataFiles) {
    ASSERT_EQ(mkfifo("log1.dvl", 0644), 0);
    ASSERT_TRUE(QFile::link(deviceCopy(path("null"), 3, "/dev/null"), path("loc1.dvl")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("type1.dvl")));
    AppState s;
    FileProblems problems;
    {
        const PipeGuard guard(path("log1.dvl"));
        problems = OpenLog(s);
    }
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_TRUE(problems[0].what.startsWith(QLatin1String("not a regular file")));
    EXPECT_TRUE(problems[1].what.startsWith(QLatin1String("not a regular file")));
    EXPECT_EQ(problems[2].what, QStringLiteral("a folder stands where the file should be"));
    EXPECT_EQ(SaveLog(s).size(), 3u);
    EXPECT_FALSE(QFileInfo::exists(path("bud1.dvl"))); // nothing written at all
    struct stat st {};
    EXPECT_TRUE(stat("log1.dvl", &st) == 0 && S_ISFIFO(st.st_mode));

    // A damaged log kept in another folder through a link.
    QFile::remove(path("log1.dvl"));
    QFile::remove(path("loc1.dvl"));
    QFile::remove(path("null"));
    QDir(dir.path()).rmdir(QStringLiteral("type1.dvl"));
    saveNewSet();
    QFile::remove(path("log1.dvl"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("synced")));
    writeFile("synced/log.dvl", fiveDives(4));
    ASSERT_TRUE(QFile::link(QStringLiteral("synced/log.dvl"), path("log1.dvl")));
    AppState linked;
    EXPECT_EQ(OpenLog(linked).size(), 1u);
    ASSERT_TRUE(SaveLog(linked).empty());
    EXPECT_TRUE(QFileInfo(path("log1.dvl")).isSymLink());
    EXPECT_EQ(readFile("synced/log.dvl"), fiveDives(4).left(2 + 4 * 64));
    EXPECT_EQ(readFile("log1.dvl.damaged"), fiveDives(4));
}

// A rename that fails halfway through the commit (a busy file) puts back every file already
// replaced. Only when even that fails is the set left mixed, and then the copy holding the
// previous file is named.
TEST_F(SafeSave, AFailedRenameDuringTheCommitPutsEveryFileBack) {
    const struct {
        bool putBackFails;
        FileProblems expected;
    } cases[] = {
        {false, {{"bud1.dvl", "Device or resource busy"}}},
        {true,
         {{"bud1.dvl", "Device or resource busy"},
          {"loc1.dvl", "was replaced but could not be put back (Permission denied); the "
                       "previous file is kept as loc1.dvl.keep"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.putBackFails);
        saveNewSet();
        QByteArray before;
        for (const QString& f : FileSet{}.names())
            before += readFile(f);
        fileio::WriteBatch batch;
        for (const QString& f : FileSet{}.names())
            ASSERT_TRUE(batch.addDataFile(f, "new " + f.toLatin1()).isEmpty());
        batch.setRename([&](const QString& from, const QString& to) {
            if (to.endsWith(QLatin1String("bud1.dvl")))
                return QStringLiteral("Device or resource busy");
            if (c.putBackFails && from.endsWith(QLatin1String("loc1.dvl.keep")))
                return QStringLiteral("Permission denied");
            return fileio::renameFile(from, to);
        });
        FileProblems problems = batch.commit();
        for (FileProblem& p : problems)
            p.file = QFileInfo(p.file).fileName();
        EXPECT_EQ(c.expected, problems);
        EXPECT_EQ(c.putBackFails, batch.leftMixed());
        if (!c.putBackFails) {
            QByteArray after;
            for (const QString& f : FileSet{}.names())
                after += readFile(f);
            EXPECT_EQ(before, after);
            EXPECT_EQ(6, QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size());
        } else {
            EXPECT_EQ("new loc1.dvl", readFile("loc1.dvl"));
            EXPECT_EQ(dvl::serializeList({{"Pool", {}, {}}}, true), readFile("loc1.dvl.keep"));
            EXPECT_EQ(7, QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size());
        }
    }
}

// A file larger than any file of its kind can be is refused before it is read, with its size;
// the save then keeps it as it is.
TEST_F(SafeSave, FilesLargerThanTheirKindCanBeAreNotRead) {
    const struct {
        const char* file;
        qint64 most;
    } cases[] = {
        {"log1.dvl", dvl::MaxLogBytes},
        {"loc1.dvl", dvl::MaxListBytes},
        {"gear1.dvl", dvl::MaxListBytes},
        {"prof1.dvl", dvl::MaxProfileBytes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        saveNewSet();
        QFile big(path(QLatin1String(c.file)));
        ASSERT_TRUE(big.resize(c.most + 1)); // sparse: no disk space taken
        AppState s;
        const FileProblems problems = OpenLog(s);
        ASSERT_EQ(1u, problems.size());
        EXPECT_EQ(QStringLiteral("the file is %1 bytes, more than such a file can hold (%2 "
                                 "bytes); it is not read")
                      .arg(c.most + 1)
                      .arg(c.most),
                  problems[0].what);
        EXPECT_FALSE(SaveLog(s).empty());
        EXPECT_EQ(c.most + 1, QFileInfo(big).size());
        ASSERT_TRUE(big.resize(0));
    }
    // divers.dvl too, wherever it is read.
    writeFile("divers.dvl", {});
    QFile divers(path("divers.dvl"));
    ASSERT_TRUE(divers.resize(dvl::MaxDiversBytes + 1));
    AppState s;
    const FileProblems problems = divers::LoadDiverList(s);
    ASSERT_EQ(1u, problems.size());
    EXPECT_TRUE(problems[0].what.startsWith(
        QStringLiteral("the file is %1 bytes").arg(dvl::MaxDiversBytes + 1)));
}

} // namespace store
