#include "Cli.h"
#include "settings/Settings.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "store/Recovery.h"
#include "store/Text.h"
#include "support/DeviceFiles.h"
#include "support/CliRun.h"
#include "support/TestEnv.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Outcome = CliOutcome;

class Cli : public TempFolderTest {
protected:
    Outcome run(const QStringList& args) { return runCliCommand(args); }

    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // Every byte of every data file of the default set, for "nothing changed" checks.
    QByteArray snapshot() const {
        QByteArray all;
        for (const QString& f : store::FileSet{}.names())
            all += f.toLatin1() + ':' + readFile(f) + '\n';
        return all;
    }
};

void setSetting(const char* section, const char* key, const QString& value) {
    settings::SaveSetting(settings::AppName, QLatin1String(section), QLatin1String(key), value);
}

// A log that uses every field, the extremes of the numbers and every byte in its texts.
store::AppState richState() {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString every = store::text::fromCp1252(all);

    store::AppState s;
    store::StartNewLog(s);
    s.Dives.resize(4);
    store::DiveRecord& d = s.Dives[1];
    d.TimeData = {7, 4, 1997, 9, 5, 9, 47};
    d.DiveData = {3000, 700, 80, 60, 30, 12, 84, 82, 78, 80};
    d.ListData = {1, 0, 0, 0};
    d.Comments = every;
    d.CondData = {0, 1, 1, 0, 0, 0, 0, 1};
    d.Rating = 2;
    d.ProfileNum = 1;
    s.Dives[2].DiveData = {-32768, 32767, 0, 65, 40, 0, 0, 0, 0, 0};
    s.Dives[2].Comments = QStringLiteral("line 1\r\nline \"2\"\t\\end");
    s.Dives[3].DiveData[store::field::MaxDepth] = 45;
    s.LocationList.push_back({every, QStringLiteral("info"), QStringLiteral("C:\\maps\\reef.bmp")});
    s.BuddyList.push_back({QStringLiteral("Ann"), every, {}});
    s.Profiles.resize(2);
    s.Profiles[1].Times[1] = 10;
    s.Profiles[1].Depths[1] = 20;
    s.Profiles[1].Times[150] = -1;
    s.Profiles[1].Notes = {QStringLiteral("1:00"), QStringLiteral("B"), every, {}, {}, {}, {}};
    return s;
}

} // namespace

TEST_F(Cli, UsageErrorsAreOneLineAndWriteNothing) {
    struct Case {
        QStringList args;
        const char* mentions;
    };
    const Case cases[] = {
        {{}, "no command"},
        {{"frob"}, "frob"},
        {{"--bogus", "info"}, "--bogus"},
        {{"info", "--diver"}, "--diver"},
        {{"--diver=", "info"}, "--diver"},
        {{"info", "extra"}, "extra"},
        {{"dump", "x.json"}, "x.json"},
        {{"load"}, "load"},
        {{"load", "a.json", "b.json"}, "load"},
        {{"load", "missing.json"}, "missing.json"},
        {{"--diver", "Ann", "info"}, "divers.dvl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, cli::ExitError);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.mentions))) << r.err.toStdString();
        EXPECT_TRUE(files().isEmpty());
    }
}

TEST_F(Cli, HelpListsEveryCommand) {
    const Outcome r = run({QStringLiteral("--help")});
    EXPECT_EQ(r.status, cli::ExitOk);
    EXPECT_TRUE(r.err.isEmpty());
    for (const cli::Command& c : cli::commands())
        EXPECT_TRUE(r.out.contains("  " + c.name().toUtf8() + ' ')) << c.name().toStdString();
    EXPECT_TRUE(r.out.contains("--diver NAME"));
}

TEST_F(Cli, EachCommandsHelpListsItsOptionsAndWritesNothing) {
    for (const cli::Command& c : cli::commands()) {
        SCOPED_TRACE(c.name().toStdString());
        const Outcome r = run({c.name(), QStringLiteral("--help")});
        EXPECT_EQ(r.status, cli::ExitOk);
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith("Usage: reefbook-cli [--diver NAME] [--data-dir DIR] " +
                                     c.name().toUtf8()));
        for (const cli::OptionDef& o : c.options())
            EXPECT_TRUE(r.out.contains("  " + cli::CommandLine::typed(o.name).toUtf8() + ' '))
                << o.name.toStdString();
        EXPECT_TRUE(files().isEmpty());
    }
}

TEST_F(Cli, OptionsTakeTheirValueEitherWay) {
    // The same request typed both ways, and the mistakes each way, give the same answers.
    struct Case {
        QStringList spaced, joined;
        int status;
    };
    const Case cases[] = {
        {{"export", "csv", "--units", "metric", "-o", "-"},
         {"export", "csv", "--units=metric", "-o=-"}, cli::ExitOk},
        {{"list", "--sort", "number:desc"}, {"list", "--sort=number:desc"}, cli::ExitOk},
        {{"select", "--numbers", "1-", "--json"}, {"select", "--numbers=1-", "--json"}, cli::ExitOk},
        {{"stats", "--by", "week"}, {"stats", "--by=week"}, cli::ExitError},
        {{"export", "text", "--units", "metric"}, {"export", "text", "--units=metric"},
         cli::ExitError},
    };
    ASSERT_TRUE(store::SaveLog(richState()).empty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.joined.join(QLatin1Char(' ')).toStdString());
        const Outcome spaced = run(c.spaced), joined = run(c.joined);
        EXPECT_EQ(spaced.status, c.status) << spaced.err.toStdString();
        EXPECT_EQ(joined.status, spaced.status);
        EXPECT_EQ(joined.out, spaced.out);
        EXPECT_EQ(joined.err, spaced.err);
    }
}

TEST_F(Cli, ANegativeDiveNumberIsAWordNotAnOption) {
    ASSERT_TRUE(store::SaveLog(richState()).empty());
    setSetting("Startup", "Offset", QStringLiteral("-5")); // the first dive is number -4
    const Outcome r = run({QStringLiteral("profile"), QStringLiteral("-4")});
    EXPECT_EQ(r.status, cli::ExitOk) << r.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("text"), QStringLiteral("--dives"),
                   QStringLiteral("-4"), QStringLiteral("-o"), QStringLiteral("-")})
                  .status,
              cli::ExitOk);
}

TEST_F(Cli, InfoShowsDiverFilesTotalsAndCounts) {
    ASSERT_TRUE(store::SaveLog(richState()).empty());
    setSetting("Startup", "Offset", QStringLiteral("100"));
    setSetting("Multi", "DefName", QStringLiteral("Ann"));
    const Outcome r = run({QStringLiteral("info")});
    EXPECT_EQ(r.status, cli::ExitOk);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    // Bottom times 60, 65, 0 and depths 30, 40, 45 over the whole log.
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("Diver: Ann\n"
                                                       "Log: log1.dvl\n"
                                                       "Total Dives: 3\n"
                                                       "Dive Numbers: 101-103\n"
                                                       "Time to Date: 2:05\n"
                                                       "Avg. Depth: 38\n"
                                                       "Avg. Time: 41\n"
                                                       "Locations: 2 entries in loc1.dvl\n"
                                                       "Dive Types: 1 entry in type1.dvl\n"
                                                       "Buddies: 2 entries in bud1.dvl\n"
                                                       "Gear: 1 entry in gear1.dvl\n"
                                                       "Profiles: 1 in prof1.dvl\n"));
}

TEST_F(Cli, DumpOfAnEmptyFolderIsTheNewLogAndCreatesNothing) {
    setSetting("Startup", "Offset", QStringLiteral("499"));
    const QStringList before = files();
    const Outcome r = run({QStringLiteral("dump")});
    ASSERT_EQ(r.status, cli::ExitOk) << r.err.toStdString();
    EXPECT_EQ(files(), before);

    QJsonParseError error;
    const QJsonObject top = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(top.value("diver").toString(), QStringLiteral("Default"));
    EXPECT_EQ(top.value("offset").toInt(), 499);
    EXPECT_EQ(top.value("files").toObject().value("profiles").toString(), QStringLiteral("prof1.dvl"));
    const QJsonArray dives = top.value("dives").toArray();
    ASSERT_EQ(dives.size(), 1);
    const QJsonObject dive = dives[0].toObject();
    EXPECT_EQ(dive.value("number").toInt(), 500);
    EXPECT_EQ(dive.value("date").toObject().value("year").toInt(-1), 0);
    EXPECT_EQ(dive.value("conditions").toObject().size(), 8);
    EXPECT_EQ(dive.size(), 22);
    const char* names[4][2] = {
        {"locations", "Pool"}, {"types", "Pleasure"}, {"buddies", "None"}, {"gear", "Standard"}};
    for (const auto& n : names) {
        const QJsonArray list = top.value(QLatin1String(n[0])).toArray();
        ASSERT_EQ(list.size(), 1) << n[0];
        EXPECT_EQ(list[0].toObject().value("name").toString(), QLatin1String(n[1]));
    }
    EXPECT_TRUE(top.value("locations").toArray()[0].toObject().contains("picture"));
    EXPECT_FALSE(top.value("types").toArray()[0].toObject().contains("picture"));
    const QJsonArray profiles = top.value("profiles").toArray();
    ASSERT_EQ(profiles.size(), 1);
    EXPECT_EQ(profiles[0].toObject().value("times").toArray().size(), 151);
    EXPECT_EQ(profiles[0].toObject().value("notes").toArray().size(), 7);
}

TEST_F(Cli, DumpThenLoadWritesTheSameBytes) {
    store::AppState s = richState();
    ASSERT_TRUE(store::SaveLog(s).empty());
    const QByteArray before = snapshot();

    const Outcome dumped = run({QStringLiteral("dump")});
    ASSERT_EQ(dumped.status, cli::ExitOk) << dumped.err.toStdString();
    EXPECT_EQ(snapshot(), before);
    // Written out as it is stored: one dive per line, numbers as they are.
    EXPECT_TRUE(dumped.out.contains("\"psiIn\": -32768, \"psiOut\": 32767,"));
    EXPECT_TRUE(dumped.out.contains(R"("comments": "line 1\r\nline \"2\"\t\\end")"));
    EXPECT_TRUE(dumped.out.contains(R"("\u0000\u0001)"));
    EXPECT_TRUE(dumped.out.contains("\xE2\x82\xAC")); // byte 0x80 is the euro sign, in UTF-8

    QDir folder(dir.path());
    for (const QString& f : files())
        ASSERT_TRUE(folder.remove(f));
    writeFile("dump.json", dumped.out);
    const Outcome loaded = run({QStringLiteral("load"), QStringLiteral("dump.json")});
    ASSERT_EQ(loaded.status, cli::ExitOk) << loaded.err.toStdString();
    EXPECT_TRUE(loaded.out.isEmpty());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Cli, LoadFillsMissingKeysWithZeroAndEmpty) {
    writeFile("in.json", R"({"dives": [{"psiIn": 3000, "date": {"year": 1997}}, {}],
        "locations": [{"name": "Pool"}], "types": [{"name": "Pleasure"}],
        "buddies": [{"info": "x"}], "gear": [{"name": "Standard"}]})");
    const Outcome r = run({QStringLiteral("load"), QStringLiteral("in.json")});
    ASSERT_EQ(r.status, cli::ExitOk) << r.err.toStdString();
    const QByteArray emptyDive(64, '\0');
    QByteArray first = emptyDive;
    first[4] = char(0xCD); // year 1997
    first[5] = char(0x07);
    first[14] = char(0xB8); // PSI in 3000
    first[15] = char(0x0B);
    EXPECT_EQ(readFile("log1.dvl"), bytesOf("02 00") + first + emptyDive);
    EXPECT_EQ(readFile("bud1.dvl"), bytesOf(R"(00 00 00 00 01 00 "x" 00 00)"));
    EXPECT_EQ(readFile("loc1.dvl"), bytesOf(R"(00 00 04 00 "Pool" 00 00 00 00)"));
    // No profiles given: record 0 alone.
    EXPECT_EQ(readFile("prof1.dvl"), bytesOf("00 00") + QByteArray(618, '\0'));
}

TEST_F(Cli, LoadRefusesBadInputAndWritesNothing) {
    ASSERT_TRUE(store::SaveLog(richState()).empty());
    const QByteArray before = snapshot();
    const QByteArray lists = R"("locations": [{"name": "Pool"}], "types": [{"name": "T"}],
        "buddies": [{"name": "B"}], "gear": [{"name": "G"}])";
    auto withDives = [&lists](const char* dives) {
        return "{\"dives\": " + QByteArray(dives) + ", " + lists + "}";
    };
    struct Case {
        QByteArray json;
        const char* message;
    };
    const Case cases[] = {
        {"{\"dives\": [", "not valid JSON"},
        {"[1, 2]", "expected an object"},
        {withDives("[{}, {}, {}, {\"psiIn\": 40000}]"), "dives[3].psiIn: 40000 is out of range"},
        {withDives("[{\"rating\": -32769}]"), "dives[0].rating: -32769 is out of range"},
        {withDives("[{\"date\": {\"day\": 1.5}}]"), "dives[0].date.day: 1.5 is not a whole number"},
        {withDives("[{\"weight\": \"12\"}]"), "dives[0].weight: expected a number"},
        {withDives("[{\"comments\": 5}]"), "dives[0].comments: expected a text"},
        {withDives("[{\"psiin\": 5}]"), "dives[0].psiin: unknown key"},
        {withDives("[{\"conditions\": {\"wind\": 1}}]"), "dives[0].conditions.wind: unknown key"},
        {withDives("[]"), "dives: a log always holds at least one dive"},
        {withDives("[7]"), "dives[0]: expected an object"},
        {withDives("[{\"comments\": \"" + QByteArray(65536, 'x') + "\"}]"),
         "dives[0].comments: longer than 65535 bytes"},
        {R"({"dives": [{}], "locations": [], "types": [{}], "buddies": [{}], "gear": [{}]})",
         "locations: a list always holds at least one entry"},
        {R"({"dives": [{}], "locations": [{}], "types": [{}], "buddies": [{}]})", "gear: missing"},
        {R"({"dives": [{}], "locations": [{}], "types": [{"picture": "p"}], "buddies": [{}], "gear": [{}]})",
         "types[0].picture: unknown key"},
        {"{\"dives\": [{}], " + lists + ", \"profiles\": [{\"times\": [" +
             QByteArray("0, ").repeated(151) + "0]}]}",
         "profiles[0].times: 152 values"},
        {"{\"dives\": [{}], " + lists + ", \"profiles\": [{}, {\"depths\": [1, 99999]}]}",
         "profiles[1].depths[1]: 99999 is out of range"},
        {"{\"dives\": [{}], " + lists + ", \"profiles\": [{\"notes\": [\"\", 3]}]}",
         "profiles[0].notes[1]: expected a text"},
        {"{\"dives\": [{}], " + lists + ", \"extra\": 1}", "extra: unknown key"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        writeFile("in.json", c.json);
        const Outcome r = run({QStringLiteral("load"), QStringLiteral("in.json")});
        EXPECT_EQ(r.status, cli::ExitError);
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(Cli, DiverOptionPicksTheFilesFromTheDiverList) {
    store::FileSet bobs = store::FileSet::numbered(2);
    bobs.LocFile = QStringLiteral("loc1.dvl");
    writeFile("divers.dvl", store::dvl::serializeDivers(
                                {store::DiverEntry{QStringLiteral("Ann"), store::FileSet{}},
                                 store::DiverEntry{QStringLiteral("Bob"), bobs}}));
    store::AppState bob;
    bob.Files = bobs;
    store::StartNewLog(bob);
    store::AppendEntry(bob);
    ASSERT_TRUE(store::SaveLog(bob).empty());

    const Outcome r =
        run({QStringLiteral("--diver"), QStringLiteral("Bob"), QStringLiteral("info")});
    ASSERT_EQ(r.status, cli::ExitOk) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Diver: Bob\nLog: log2.dvl\nTotal Dives: 2\n"));
    EXPECT_TRUE(r.out.contains("Locations: 1 entry in loc1.dvl\n"));
    EXPECT_TRUE(r.out.contains("Gear: 1 entry in gear2.dvl\n"));

    const Outcome unknown = run({QStringLiteral("--diver=Carl"), QStringLiteral("dump")});
    EXPECT_EQ(unknown.status, cli::ExitError);
    EXPECT_TRUE(unknown.err.contains(QLatin1String("Carl")));
    EXPECT_TRUE(unknown.out.isEmpty());
}

TEST_F(Cli, UnsafeFileNameFromTheSettingsIsRefused) {
    setSetting("Multi", "DefLog", QStringLiteral("../escape.dvl"));
    writeFile(
        "in.json",
        R"({"dives": [{}], "locations": [{}], "types": [{}], "buddies": [{}], "gear": [{}]})");
    for (const char* command : {"info", "dump"}) {
        const Outcome r = run({QLatin1String(command)});
        EXPECT_EQ(r.status, cli::ExitError) << command;
        EXPECT_TRUE(r.err.contains(QLatin1String("\"../escape.dvl\""))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const Outcome load = run({QStringLiteral("load"), QStringLiteral("in.json")});
    EXPECT_EQ(load.status, cli::ExitError);
    EXPECT_EQ(files(), QStringList{"in.json"});
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("../escape.dvl")));

    const Outcome check = run({QStringLiteral("check")});
    EXPECT_EQ(check.status, cli::ExitProblems);
    EXPECT_TRUE(check.out.startsWith("../escape.dvl: unsafe file name")) << check.out.toStdString();
}

TEST_F(Cli, CheckReportsEveryProblemAndExitsOne) {
    const Outcome clean = run({QStringLiteral("check")});
    EXPECT_EQ(clean.status, cli::ExitOk);
    EXPECT_EQ(clean.out, "No problems found.\n");

    store::AppState s = richState();
    ASSERT_TRUE(store::SaveLog(s).empty());
    EXPECT_EQ(run({QStringLiteral("check")}).status, cli::ExitOk);
    s.Dives[2].ListData[store::field::Gear] = 4;
    s.Dives[3].ProfileNum = 9;
    ASSERT_TRUE(store::SaveLog(s).empty());
    writeFile("type1.dvl", readFile("type1.dvl").left(5));
    store::FileSet eve = store::FileSet::numbered(3);
    eve.GearFile = QStringLiteral("../gear.dvl");
    writeFile("divers.dvl", store::dvl::serializeDivers(
                                {store::DiverEntry{QStringLiteral("Default"), store::FileSet{}},
                                 store::DiverEntry{QStringLiteral("Eve"), eve}}) +
                                bytesOf("07"));

    const Outcome r = run({QStringLiteral("check")});
    EXPECT_EQ(r.status, cli::ExitProblems);
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QLatin1String("type1.dvl: the file ends after 0 of 1")));
    EXPECT_EQ(lines[1], QStringLiteral("log1.dvl: dive 2: gear 4 is outside the gear list (0-0)"));
    EXPECT_EQ(lines[2],
              QStringLiteral("log1.dvl: dive 3: profile 9 is not a stored profile (1-1)"));
    EXPECT_EQ(lines[3], QStringLiteral("divers.dvl: diver 2 (Eve): unsafe gear list file name "
                                       "\"../gear.dvl\""));
}

TEST_F(Cli, DamagedOrUnreadableFilesWhenReading) {
    store::AppState s = richState();
    ASSERT_TRUE(store::SaveLog(s).empty());
    const QByteArray log = readFile("log1.dvl");
    writeFile("log1.dvl", log.left(log.size() - 1));

    // What could be read is shown; what was dropped is a warning, not silence.
    const Outcome info = run({QStringLiteral("info")});
    EXPECT_EQ(info.status, cli::ExitOk);
    EXPECT_TRUE(info.out.contains("Total Dives: 2\n"));
    EXPECT_EQ(info.err, QStringLiteral("reefbook-cli: warning: log1.dvl: the file ends after 2 of "
                                       "3 dives; the rest was dropped\n"));

    // A folder where the log should be is an error: it is not an empty log.
    ASSERT_TRUE(QFile::remove(path("log1.dvl")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("log1.dvl")));
    const Outcome dump = run({QStringLiteral("dump")});
    EXPECT_EQ(dump.status, cli::ExitError);
    EXPECT_TRUE(dump.out.isEmpty());
    EXPECT_TRUE(dump.err.startsWith(QLatin1String("reefbook-cli: cannot read log1.dvl: ")));
    EXPECT_EQ(dump.err.count(QLatin1Char('\n')), 1);
}

TEST_F(Cli, LoadReportsEveryFileItCouldNotWrite) {
    ASSERT_TRUE(store::SaveLog(richState()).empty());
    const QByteArray oldTypes = readFile("type1.dvl");
    ASSERT_TRUE(QFile::setPermissions(path("type1.dvl"), QFileDevice::ReadOwner));
    ASSERT_TRUE(QFile::remove(path("prof1.dvl")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("prof1.dvl")));
    writeFile("in.json", R"({"dives": [{"psiIn": 1}], "locations": [{}], "types": [{"name": "New"}],
        "buddies": [{}], "gear": [{}]})");
    const QByteArray oldLog = readFile("log1.dvl");
    const Outcome r = run({QStringLiteral("load"), QStringLiteral("in.json")});
    EXPECT_EQ(r.status, cli::ExitError);
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QLatin1String("reefbook-cli: cannot write type1.dvl: ")));
    EXPECT_TRUE(lines[1].startsWith(QLatin1String("reefbook-cli: cannot write prof1.dvl: ")));
    EXPECT_EQ(lines[2], QStringLiteral("reefbook-cli: no file was replaced; the six files are as "
                                       "they were"));
    EXPECT_EQ(readFile("type1.dvl"), oldTypes);
    EXPECT_EQ(readFile("log1.dvl"), oldLog); // nor the others: the set is replaced as a whole
}

// Any name for a data file, the open diver's or another's, is refused as an export target.
TEST_F(Cli, ExportNeverWritesOverADataFile) {
    ASSERT_TRUE(store::SaveLog(richState()).empty());
    writeFile("divers.dvl",
              store::dvl::serializeDivers(
                  {store::DiverEntry{QStringLiteral("Default"), store::FileSet{}},
                   store::DiverEntry{QStringLiteral("Ann"), store::FileSet::numbered(2)}}));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(QStringLiteral("type1.dvl"), path("alias.txt")));
    ASSERT_EQ(::link("bud1.dvl", "hard.txt"), 0);
    const QByteArray before = snapshot() + readFile("divers.dvl");
    const struct {
        QString target;
        const char* says;
    } cases[] = {
        {QStringLiteral("log1.dvl"), "the log of the open diver"},
        {QStringLiteral("sub/../loc1.dvl"), "the location list of the open diver"},
        {path("prof1.dvl"), "the profile file of the open diver"},
        {QStringLiteral("alias.txt"), "the dive type list of the open diver"},
        {QStringLiteral("hard.txt"), "the buddy list of the open diver"},
        {QStringLiteral("./divers.dvl"), "the list of divers"},
        {QStringLiteral("log2.dvl"), "the log of diver Ann"}, // not written yet: still his
    };
    for (const char* format : {"html", "csv", "uddf"})
        for (const auto& c : cases) {
            SCOPED_TRACE(format + (" " + c.target.toStdString()));
            const Outcome r = run({QStringLiteral("export"), QLatin1String(format),
                                   QStringLiteral("-o"), c.target});
            EXPECT_EQ(r.status, cli::ExitError);
            EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
            EXPECT_TRUE(r.out.isEmpty());
        }
    EXPECT_EQ(snapshot() + readFile("divers.dvl"), before);
    EXPECT_FALSE(QFile::exists(path("log2.dvl")));
    EXPECT_TRUE(QFileInfo(path("alias.txt")).isSymLink());
}

// A pipe or a device among the data files is refused at once instead of hanging or reading
// for ever; `load` reads a limited size.
TEST_F(Cli, FilesThatNeverEndAreRefused) {
    ASSERT_TRUE(store::SaveLog(richState()).empty());
    ASSERT_TRUE(QFile::remove(path("log1.dvl")));
    ASSERT_EQ(mkfifo("log1.dvl", 0600), 0);
    ASSERT_TRUE(QFile::remove(path("prof1.dvl")));
    ASSERT_TRUE(QFile::link(deviceCopy(path("null"), 3, "/dev/null"), path("prof1.dvl")));
    const PipeGuard guard(path("log1.dvl"));
    const Outcome info = run({QStringLiteral("info")});
    EXPECT_EQ(info.status, cli::ExitError);
    EXPECT_TRUE(info.err.startsWith(QLatin1String("reefbook-cli: cannot read log1.dvl: not a "
                                                  "regular file")))
        << info.err.toStdString();
    const Outcome check = run({QStringLiteral("check")});
    EXPECT_EQ(check.status, cli::ExitProblems);
    EXPECT_TRUE(check.out.startsWith("log1.dvl: not a regular file")) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains("\nprof1.dvl: not a regular file"));

    QFile big(path("big.json"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(cli::MaxJsonBytes + 1)); // sparse
    big.close();
    const Outcome load = run({QStringLiteral("load"), QStringLiteral("big.json")});
    EXPECT_EQ(load.status, cli::ExitError);
    EXPECT_TRUE(load.err.contains(QLatin1String("more than 1073741824 bytes")));

    QFile zero(QStringLiteral("/dev/zero"));
    ASSERT_TRUE(zero.open(QIODevice::ReadOnly));
    QByteArray data;
    EXPECT_EQ(cli::readAtMost(zero, 3 << 20, data),
              QStringLiteral("it holds more than 3145728 bytes"));
}

// A count that leaves complete dives unread is a problem `check` names, with what to do.
TEST_F(Cli, CheckNamesADamagedCount) {
    ASSERT_TRUE(store::SaveLog(richState()).empty());
    writeFile("log1.dvl", bytesOf("02") + readFile("log1.dvl").mid(1)); // three dives follow
    const Outcome check = run({QStringLiteral("check")});
    EXPECT_EQ(check.status, cli::ExitProblems);
    EXPECT_EQ(check.out, "log1.dvl: 2 dives counted, but the file seems to hold 1 more (3 in all): "
                         "the count is probably damaged. Only the counted dives are read; keep the "
                         "copy \"log1.dvl.damaged\" made at the next save, it holds the rest.\n");
    EXPECT_TRUE(run({QStringLiteral("info")}).err.contains(QLatin1String("probably damaged")));
}

TEST_F(Cli, ExportWritesTheChosenDivesOfTheSettingsDiver) {
    setSetting("Multi", "DefName", QStringLiteral("O'Brien, Pat"));
    setSetting("Startup", "Offset", QStringLiteral("100"));
    store::AppState s;
    store::StartNewLog(s);
    store::AppendEntry(s);
    store::AppendEntry(s);
    s.Dives[1].Comments = QStringLiteral("first");
    s.Dives[2].Comments = QStringLiteral("second <deep>");
    ASSERT_TRUE(store::SaveLog(s).empty());
    const QByteArray before = snapshot();

    const Outcome text = run({QStringLiteral("export"), QStringLiteral("text"),
                              QStringLiteral("--dives"), QStringLiteral("102,101")});
    ASSERT_EQ(text.status, cli::ExitOk) << text.err.toStdString();
    const QByteArray txt = readFile(QStringLiteral("o_brien_.txt"));
    ASSERT_TRUE(txt.startsWith("Reef Book of O'Brien, Pat\r\n"));
    const qsizetype second = txt.indexOf("Dive: 102");
    const qsizetype first = txt.indexOf("Dive: 101");
    EXPECT_TRUE(second > 0 && first > second) << txt.toStdString();
    EXPECT_FALSE(txt.contains("Dive: 103"));

    const Outcome html =
        run({QStringLiteral("export"), QStringLiteral("html"), QStringLiteral("--no-comments"),
             QStringLiteral("-o"), QStringLiteral("-")});
    ASSERT_EQ(html.status, cli::ExitOk) << html.err.toStdString();
    EXPECT_TRUE(html.out.startsWith("<html>\r\n"));
    EXPECT_EQ(html.out.count("<td>Dive: 10"), 0); // the dive number sits in a sized cell
    EXPECT_EQ(html.out.count("Dive: 10"), 3);
    EXPECT_FALSE(html.out.contains("second"));

    const Outcome bad = run({QStringLiteral("export"), QStringLiteral("text"),
                             QStringLiteral("--dives"), QStringLiteral("101,7")});
    EXPECT_EQ(bad.status, cli::ExitError);
    EXPECT_TRUE(bad.err.contains(QLatin1String("7")));
    EXPECT_EQ(snapshot(), before); // exporting never touches the log files
}

// Standard output that takes nothing is an error with the system's reason, not a silent success.
TEST_F(Cli, FullStandardOutputIsAnError) {
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    for (const char* command : {"info", "dump", "--help"}) {
        SCOPED_TRACE(command);
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsDir.path()); // never the user's
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(REEFBOOK_CLI), {QLatin1String(command)});
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitCode(), cli::ExitError);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(QLatin1String(": No space left on device"))) << err.toStdString();
    }
}

TEST_F(Cli, CheckReportsARecoveryFile) {
    store::AppState s = richState();
    ASSERT_TRUE(store::SaveLog(s).empty());
    s.Dives[1].Rating = 0;
    writeFile("log1.dvl.recovery", store::recovery::buildJournal(s));
    const Outcome r = run({QStringLiteral("check")});
    EXPECT_EQ(r.status, cli::ExitProblems);
    EXPECT_TRUE(r.out.startsWith("log1.dvl.recovery: Reefbook was not closed properly"))
        << r.out.toStdString();
    EXPECT_EQ(files().size(), 7) << "check only reads";
}
