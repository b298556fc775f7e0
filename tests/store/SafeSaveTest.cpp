#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "support/PipeGuard.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using SafeSave = TempFolderTest;

DiveRecord dive(int bottomTime, const QString& comment = {}) {
    DiveRecord d;
    d.DiveData[field::BottomTime] = static_cast<int16_t>(bottomTime);
    d.Comments = comment;
    return d;
}

// Five dives on disk: bottom times 1 to 5.
QByteArray fiveDives() {
    std::vector<DiveRecord> dives;
    for (int i = 1; i <= 5; ++i)
        dives.push_back(dive(i));
    return dvl::serializeLog(dives);
}

QByteArray withCount(QByteArray file, int count) {
    file[0] = static_cast<char>(count & 0xff);
    file[1] = static_cast<char>((count >> 8) & 0xff);
    return file;
}

QStringList allFiles(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

// Bytes after the counted records may be whole dives behind a damaged count: they are named
// when the log is opened and kept aside before a save drops them.
TEST_F(SafeSave, BytesAfterTheCountAreNamedAndKeptAside) {
    const QByteArray threeTypes = dvl::serializeList(
        {{QStringLiteral("Night"), {}, {}}, {QStringLiteral("Wall"), {}, {}}, {"Drift", {}, {}}},
        false);
    struct Case {
        const char* file;
        QByteArray bytes;
        const char* says; // in the problem text
        int dives;        // read and shown
    };
    const Case cases[] = {
        {"log1.dvl", withCount(fiveDives(), 4),
         "4 dives counted, but the file seems to hold 1 "
         "more (5 in all): the count is probably damaged",
         4},
        {"log1.dvl", withCount(fiveDives(), 0),
         "0 dives counted, but the file seems to hold 5 "
         "more (5 in all)",
         1},
        {"log1.dvl", withCount(fiveDives(), 4) + "xyz",
         "1 more (5 in all, then bytes that are "
         "not a whole dive)",
         4},
        {"log1.dvl", withCount(fiveDives(), 5) + "xyz",
         "3 bytes after the last counted dive "
         "could not be read",
         5},
        {"type1.dvl", withCount(threeTypes, -1),
         "0 entries counted, but the file seems to "
         "hold 3 more",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        for (const QString& f : allFiles(dir.path()))
            QFile::remove(path(f));
        AppState fresh;
        StartNewLog(fresh);
        ASSERT_TRUE(SaveLog(fresh).empty());
        writeFile("log1.dvl", fiveDives());
        writeFile(c.file, c.bytes);

        AppState s;
        const FileProblems problems = OpenLog(s);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].file, QLatin1String(c.file));
        EXPECT_TRUE(problems[0].what.contains(QLatin1String(c.says)))
            << problems[0].what.toStdString();
        EXPECT_TRUE(problems[0].what.contains(QLatin1String(c.file) + ".damaged"));
        EXPECT_EQ(s.DiveCount(), QLatin1String(c.file) == "log1.dvl" ? c.dives : 5);

        ASSERT_TRUE(SaveLog(s).empty());
        EXPECT_EQ(readFile(QLatin1String(c.file) + ".damaged"), c.bytes);
        EXPECT_LT(readFile(c.file).size(), c.bytes.size());
        AppState again;
        EXPECT_TRUE(OpenLog(again).empty());
    }
}

// A failed save replaces no file of the set, and says why in the system's words.
TEST_F(SafeSave, AFailedSaveReplacesNothing) {
    AppState s;
    StartNewLog(s);
    ASSERT_TRUE(SaveLog(s).empty());
    const QStringList names = [&] {
        QStringList n;
        for (const QString& f : s.Files.names())
            n << f;
        return n;
    }();
    QByteArray before;
    for (const QString& f : names)
        before += readFile(f);

    s.Dives[1].Comments = QString(5000, QLatin1Char('c')); // the log outgrows the limit below
    s.BuddyList.push_back({QStringLiteral("Ann"), {}, {}});
    s.Dives[1].ListData[field::Buddy] = 1;

    // The log marked read-only (its owner bit, which binds root too), then a disk that takes no
    // more than 4096 bytes per file: the lists would fit, the log does not.
    ASSERT_TRUE(QFile::setPermissions(path("log1.dvl"), QFileDevice::ReadOwner));
    FileProblems failures = SaveLog(s);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].what, QStringLiteral("the file is read-only"));
    ASSERT_TRUE(
        QFile::setPermissions(path("log1.dvl"), QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    failures = SaveLog(s);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].file, QStringLiteral("log1.dvl"));
    EXPECT_EQ(failures[0].what, QStringLiteral("File too large"));

    QByteArray after;
    for (const QString& f : names)
        after += readFile(f);
    EXPECT_EQ(after, before);
    EXPECT_EQ(allFiles(dir.path()).size(), 6); // no temporary file is left behind

    ASSERT_TRUE(SaveLog(s).empty());
    AppState back;
    OpenLog(back);
    EXPECT_EQ(back.BuddyList.size(), 2u);
    EXPECT_EQ(back.Dives[1].Comments.size(), 5000);
}

// Only regular files are data files: a pipe, a device or a folder is refused unread and never
// replaced. A symbolic link is read and written through: the link stays, its file changes.
TEST_F(SafeSave, OnlyRegularFilesAndLinksToThemAreDataFiles) {
    ASSERT_EQ(mkfifo(path("log1.dvl").toLocal8Bit().constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("loc1.dvl")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("type1.dvl")));
    AppState s;
    FileProblems problems;
    {
        const PipeGuard guard(path("log1.dvl"));
        problems = OpenLog(s); // returns at once: nothing is opened
    }
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_TRUE(problems[0].what.startsWith(QLatin1String("not a regular file")));
    EXPECT_TRUE(problems[1].what.startsWith(QLatin1String("not a regular file")));
    EXPECT_EQ(problems[2].what, QStringLiteral("a folder stands where the file should be"));
    EXPECT_EQ(SaveLog(s).size(), 3u);
    EXPECT_FALSE(QFileInfo::exists(path("bud1.dvl"))); // nothing written at all
    EXPECT_EQ(QFileInfo(path("loc1.dvl")).symLinkTarget(), QStringLiteral("/dev/zero"));
    struct stat st {};
    ASSERT_EQ(stat(path("log1.dvl").toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // A log kept in another folder through a link, damaged at that.
    for (const char* f : {"log1.dvl", "loc1.dvl"})
        QFile::remove(path(QLatin1String(f)));
    QDir(dir.path()).rmdir(QStringLiteral("type1.dvl"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("synced")));
    const QByteArray damaged = withCount(fiveDives(), 4);
    writeFile("synced/log.dvl", damaged);
    AppState fresh;
    StartNewLog(fresh);
    ASSERT_TRUE(SaveLog(fresh).empty());
    QFile::remove(path("log1.dvl"));
    ASSERT_TRUE(QFile::link(QStringLiteral("synced/log.dvl"), path("log1.dvl")));
    AppState linked;
    EXPECT_EQ(OpenLog(linked).size(), 1u);
    EXPECT_EQ(linked.DiveCount(), 4);
    ASSERT_TRUE(SaveLog(linked).empty());
    EXPECT_TRUE(QFileInfo(path("log1.dvl")).isSymLink());
    EXPECT_EQ(readFile("synced/log.dvl"), dvl::serializeLog({dive(1), dive(2), dive(3), dive(4)}));
    EXPECT_EQ(readFile("log1.dvl.damaged"), damaged);
}
