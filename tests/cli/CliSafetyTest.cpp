// The command line and the desktop program share a data folder: a command that writes never
// works under the desktop program, and a write it cannot finish never ends it halfway.
#include "Cli.h"
#include "settings/Settings.h"
#include "store/DvlFormat.h"
#include "store/FolderLock.h"
#include "store/LogOps.h"
#include "support/CliRun.h"
#include "support/TestEnv.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QProcess>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Outcome = CliOutcome;

class CliSafety : public TempFolderTest {
  protected:
    Outcome run(const QStringList& args) { return runCliCommand(args); }

    QByteArray snapshot() const {
        QByteArray all;
        for (const QString& f : store::FileSet{}.names())
            all += f.toLatin1() + ':' + readFile(f) + '\n';
        return all;
    }

    void saveDives(int n) {
        store::AppState s;
        store::StartNewLog(s);
        for (int i = 1; i < n; ++i)
            store::AppendEntry(s);
        ASSERT_TRUE(store::SaveLog(s).empty());
    }
};

} // namespace

// With the desktop program holding the folder, commands that write refuse and name it;
// commands that only read still work.
TEST_F(CliSafety, CommandsThatWriteRefuseWhileTheFolderIsLocked) {
    saveDives(2);
    writeFile("dump.json", run({QStringLiteral("dump")}).out);
    writeFile("dives.csv", "Date,Entry Time,Max Depth (ft)\r\n1997-07-04,09:05,60\r\n");
    const QByteArray before = snapshot();
    store::FolderLock desktop;
    ASSERT_EQ(store::FolderLock::Outcome::Locked, desktop.lock());
    const QString refusal = QStringLiteral("reefbook-cli: the log is open in Reefbook, process "
                                           "%1; close it first\n")
                                .arg(QCoreApplication::applicationPid());
    const struct {
        QStringList args;
        int status;
    } cases[] = {
        {{"load", "dump.json"}, cli::ExitError},
        {{"import", "csv", "dives.csv"}, cli::ExitError},
        {{"import", "csv", "dives.csv", "--dry-run"}, cli::ExitOk},
        {{"info"}, cli::ExitOk},
        {{"dump"}, cli::ExitOk},
        {{"check"}, cli::ExitOk},
        {{"export", "text", "-o", "-"}, cli::ExitOk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Outcome r = run(c.args);
        EXPECT_EQ(c.status, r.status) << r.err.toStdString();
        EXPECT_EQ(c.status == cli::ExitError, r.err == refusal) << r.err.toStdString();
        EXPECT_EQ(before, snapshot());
    }
    desktop.unlock();
    EXPECT_EQ(cli::ExitOk, run({QStringLiteral("load"), QStringLiteral("dump.json")}).status);
}

// Past the file-size limit a save fails like a full disk: named, exit 2, nothing replaced.
TEST_F(CliSafety, AFileSizeLimitIsReportedLikeAFullDisk) {
    saveDives(200);
    store::AppState s;
    store::OpenLog(s);
    for (int i = 1; i <= s.DiveCount(); ++i)
        s.Dives[static_cast<size_t>(i)].Comments = QString(200, QLatin1Char('c'));
    ASSERT_TRUE(store::SaveLog(s).empty());
    writeFile("dump.json", run({QStringLiteral("dump")}).out);
    store::StartNewLog(s);
    ASSERT_TRUE(store::SaveLog(s).empty());
    const QByteArray before = snapshot();

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsDir.path());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16384; // the dump reads whole; the log of 200 long comments does not fit
    setrlimit(RLIMIT_FSIZE, &small);
    p.start(QStringLiteral(REEFBOOK_CLI), {QStringLiteral("load"), QStringLiteral("dump.json")});
    const bool started = p.waitForStarted();
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_TRUE(started);
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_EQ(QProcess::NormalExit, p.exitStatus()) << "ended by SIGXFSZ";
    EXPECT_EQ(cli::ExitError, p.exitCode());
    EXPECT_TRUE(err.contains(QLatin1String("cannot write log1.dvl: File too large")))
        << err.toStdString();
    EXPECT_EQ(before, snapshot());
}

// `load` over a log whose count hid dives keeps the old file as `.damaged`, as `check` promised.
TEST_F(CliSafety, LoadOverADamagedLogKeepsTheOldFile) {
    saveDives(5);
    QByteArray log = readFile("log1.dvl");
    log[0] = 4; // the fifth dive is hidden behind the count
    writeFile("log1.dvl", log);
    writeFile("dump.json", run({QStringLiteral("dump")}).out);
    const Outcome r = run({QStringLiteral("load"), QStringLiteral("dump.json")});
    EXPECT_EQ(cli::ExitOk, r.status) << r.err.toStdString();
    EXPECT_EQ(log, readFile("log1.dvl.damaged"));
}

// A file name from divers.dvl must be one of the diver's own .dvl files: `check` names every
// other one and a command that would write refuses it, writing nothing.
TEST_F(CliSafety, FileNamesThatAreNotTheDiversDataAreRefused) {
    settings::saveDefaultName(QStringLiteral("Default")); // the settings file exists
    ASSERT_TRUE(QFile::link(settings::settingsFile(), path("conf.dvl")));
    writeFile("notes.txt", "my notes");
    saveDives(1);
    writeFile("dump.json", run({QStringLiteral("dump")}).out);
    const struct {
        size_t role;
        const char* name;
        const char* says;
    } cases[] = {
        {0, "notes.txt", "log file name \"notes.txt\" is not a .dvl name"},
        {5, "divers.dvl", "profile file name \"divers.dvl\" is the list of divers"},
        {0, "conf.dvl", "log file name \"conf.dvl\" is the settings file"},
        {2, "loc2.dvl", "dive type list file name \"loc2.dvl\" is also his location list file"},
        {3, "log2.dvl", "buddy list file name \"log2.dvl\" is also his log file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store::FileSet bob = store::FileSet::numbered(2);
        std::array<QString*, 6> roles = {&bob.LogFile, &bob.LocFile,  &bob.TypeFile,
                                         &bob.BudFile, &bob.GearFile, &bob.ProfFile};
        *roles[c.role] = QLatin1String(c.name);
        const QByteArray list = store::dvl::serializeDivers(
            {store::DiverEntry{QStringLiteral("Default"), store::FileSet{}},
             store::DiverEntry{"Bob", bob}});
        writeFile("divers.dvl", list);
        const QByteArray before = snapshot() + readFile("notes.txt");

        const Outcome check = run({QStringLiteral("check")});
        EXPECT_EQ(cli::ExitProblems, check.status);
        EXPECT_TRUE(check.out.contains("divers.dvl: diver 2 (Bob): " + QByteArray(c.says)))
            << check.out.toStdString();
        const Outcome load = run({"--diver", "Bob", "load", "dump.json"});
        EXPECT_EQ(cli::ExitError, load.status);
        EXPECT_TRUE(load.err.contains(QLatin1String(c.says))) << load.err.toStdString();
        EXPECT_EQ(before, snapshot() + readFile("notes.txt"));
        EXPECT_EQ(list, readFile("divers.dvl"));
        EXPECT_FALSE(QFile::exists(path("log2.dvl")));
    }
}

// `-o` never writes a file the program keeps beside the data, under any name.
TEST_F(CliSafety, ExportNeverWritesAFileTheProgramKeeps) {
    saveDives(1);
    settings::saveDefaultName(QStringLiteral("Default")); // the settings file exists
    for (const char* kept :
         {"log1.dvl.damaged", "log1.dvl.recovery", "log1.dvl.recovery-old2", "reefbook.lock"})
        writeFile(QLatin1String(kept), "kept");
    ASSERT_EQ(0, ::link("log1.dvl.damaged", "hard.txt"));
    const QString settingsFile = settings::settingsFile();
    const QByteArray settingsBefore = readFile(settingsFile);
    const struct {
        QString target;
        const char* says;
    } cases[] = {
        {"log1.dvl.damaged", "a copy Reefbook keeps of a data file"},
        {"loc1.dvl.damaged2", "a copy Reefbook keeps of a data file"}, // not there yet
        {"hard.txt", "a copy Reefbook keeps of a data file"},
        {"log1.dvl.recovery", "a recovery file Reefbook keeps"},
        {"log1.dvl.recovery-old2", "a recovery file Reefbook keeps"},
        {"reefbook.lock", "the lock of the data folder"},
        {settingsFile, "the settings file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const Outcome r = run({"export", "text", "-o", c.target});
        EXPECT_EQ(cli::ExitError, r.status);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
    }
    EXPECT_EQ("kept", readFile("log1.dvl.damaged"));
    EXPECT_EQ("kept", readFile("reefbook.lock"));
    EXPECT_EQ(settingsBefore, readFile(settingsFile));
    EXPECT_FALSE(QFile::exists(path("loc1.dvl.damaged2")));
}

// `import` looks at its file before opening it: a pipe or a device is never read, and a file
// larger than any log's CSV is refused with its size.
TEST_F(CliSafety, ImportNeverReadsADeviceOrAPipeOrAHugeFile) {
    saveDives(1);
    const QByteArray before = snapshot();
    ASSERT_EQ(0, ::mkfifo("pipe.csv", 0644));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("zero.csv")));
    writeFile("huge.csv", {});
    ASSERT_TRUE(QFile(path("huge.csv")).resize(64LL * 1024 * 1024 + 1));
    const struct {
        const char* file;
        const char* says;
    } cases[] = {
        {"pipe.csv", "cannot read pipe.csv: not a regular file"},
        {"zero.csv", "cannot read zero.csv: not a regular file"},
        {"huge.csv", "huge.csv is 67108865 bytes, more than the CSV of a whole log can be "
                     "(67108864 bytes); nothing was written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Outcome r = run({"import", "csv", QLatin1String(c.file)});
        EXPECT_EQ(cli::ExitError, r.status);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
    }
    EXPECT_EQ(before, snapshot());
}

// `load` says which texts held characters the files cannot hold, instead of a silent '?'.
TEST_F(CliSafety, LoadListsTheCharactersItReplaced) {
    writeFile("in.json", R"({"dives": [{"comments": "Reef 日本 Ωμέγα"}], "locations": [{}],
        "types": [{}], "buddies": [{"name": "Zoë"}, {"name": "Łukasz"}], "gear": [{}]})");
    const Outcome r = run({QStringLiteral("load"), QStringLiteral("in.json")});
    EXPECT_EQ(cli::ExitOk, r.status) << r.err.toStdString();
    EXPECT_EQ(QStringLiteral(
                  "reefbook-cli: warning: log1.dvl: dive 1 comments: 日 本 Ω μ έ γ α cannot be "
                  "stored (the files hold Windows-1252 text) and became '?'\n"
                  "reefbook-cli: warning: bud1.dvl: entry 1 name: Ł cannot be stored (the files "
                  "hold Windows-1252 text) and became '?'\n"),
              r.err);
}

// Names from a CSV reach the terminal as text, never as the escape sequences they may hold.
TEST_F(CliSafety, ImportShowsControlCharactersInsteadOfSendingThem) {
    saveDives(1);
    writeFile("dives.csv", "Date,Entry Time,Max Depth (ft),Location\r\n"
                           "1997-07-04,09:05,60,\x1b[2J\x1b[31mRed Sea\x07\r\n");
    const Outcome r = run({"import", "csv", "dives.csv"});
    EXPECT_EQ(cli::ExitOk, r.status) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(R"(New locations: \x1b[2J\x1b[31mRed Sea\x07)"))
        << r.out.toStdString();
    EXPECT_FALSE(r.out.contains('\x1b'));
}

// A link to nothing is called what it is, not a device.
TEST_F(CliSafety, ADanglingLinkIsNamedAsSuch) {
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent/log.dvl"), path("log1.dvl")));
    const Outcome r = run({QStringLiteral("check")});
    EXPECT_TRUE(r.out.startsWith("log1.dvl: a symbolic link to \"/nonexistent/log.dvl\", which "
                                 "is not there\n"))
        << r.out.toStdString();
}

// `load` keeps every entry of a list another diver shares in its place; adding is fine.
TEST_F(CliSafety, LoadKeepsTheEntriesOfASharedListInPlace) {
    store::FileSet ann = store::FileSet::numbered(2);
    ann.BudFile = QStringLiteral("bud1.dvl");
    writeFile("divers.dvl",
              store::dvl::serializeDivers(
                  {{QStringLiteral("Default"), store::FileSet{}}, {QStringLiteral("Ann"), ann}}));
    store::AppState s;
    store::StartNewLog(s);
    s.BuddyList = {{"None", {}, {}}, {"Bob", {}, {}}, {"Cy", {}, {}}};
    ASSERT_TRUE(store::SaveLog(s).empty());
    const QByteArray before = snapshot();
    const struct {
        const char* buddies;
        const char* says; // empty: loaded
    } cases[] = {
        {R"([{"name": "None"}, {"name": "Cy"}])",
         "bud1.dvl is shared with Ann: entry 1 (\"Bob\") would become \"Cy\""},
        {R"([{"name": "None"}, {"name": "Bob"}])",
         "bud1.dvl is shared with Ann: entry 2 (\"Cy\") would be removed"},
        {R"([{"name": "None"}, {"name": "Bob"}, {"name": "Cy", "info": "new"}, {"name": "Di"}])",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buddies);
        writeFile("in.json", QByteArray(R"({"dives": [{}], "locations": [{}], "types": [{}],
            "gear": [{}], "buddies": )") +
                                 c.buddies + "}");
        const Outcome r = run({QStringLiteral("load"), QStringLiteral("in.json")});
        EXPECT_EQ(*c.says ? cli::ExitError : cli::ExitOk, r.status) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
        if (*c.says) {
            EXPECT_EQ(before, snapshot());
        }
    }
}

// `import` names every text whose characters the files cannot hold, as `load` does.
TEST_F(CliSafety, ImportListsTheCharactersItReplaced) {
    saveDives(1);
    writeFile("dives.csv", "Date,Entry Time,Max Depth (ft),Location,Comments\r\n"
                           "1997-07-04,09:05,60,Łódź,Ωμέγα\r\n");
    const Outcome r = run({"import", "csv", "dives.csv"});
    EXPECT_EQ(cli::ExitOk, r.status) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("reefbook-cli: warning: log1.dvl: dive 1 comments: Ω μ έ γ α "
                               "cannot be stored"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("reefbook-cli: warning: loc1.dvl: entry 1 name: Ł ź cannot be "
                               "stored"))
        << r.err.toStdString();
}
