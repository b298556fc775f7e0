#include "interchange/Csv.h"
#include "Cli.h"
#include "interchange/CsvImport.h"
#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/CliRun.h"
#include "support/TestEnv.h"

namespace {

using interchange::Units;

TEST(Csv, QuotesWhatNeedsItAndReadsItBack) {
    const struct {
        QString text, field;
    } cases[] = {
        {"Blue Hole", "Blue Hole"},
        {"Reef, north", "\"Reef, north\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"one\r\ntwo\nthree\rfour", "\"one\r\ntwo\nthree\rfour\""},
        {"Ünterwasser ½ – 🐢", "Ünterwasser ½ – 🐢"},
        {"", ""},
    };
    QString file = QStringLiteral("\uFEFFfirst,second\r\n");
    for (const auto& c : cases) {
        EXPECT_EQ(interchange::csvField(c.text), c.field);
        file += interchange::csvField(c.text) + ",x\r\n";
    }
    const interchange::CsvTable t = interchange::parseCsv(file + "\n\"last\",\"\"");
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    ASSERT_EQ(t.rows.size(), std::size(cases) + 2);
    EXPECT_EQ(t.rows[0].cells, (QStringList{"first", "second"}));
    for (size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(t.rows[k + 1].cells, (QStringList{cases[k].text, "x"})) << k;
    // Rows keep the line they start on, past the line breaks inside quotes and the blank line.
    EXPECT_EQ(t.rows[4].line, 5);
    EXPECT_EQ(t.rows[5].line, 9);
    EXPECT_EQ(t.rows.back().line, 12);
    EXPECT_EQ(t.rows.back().cells, (QStringList{"last", ""}));

    EXPECT_EQ(interchange::parseCsv("a\n\"open,b\n").error,
              "line 2: a quote opened here is never closed");
    EXPECT_EQ(interchange::parseCsv("a\n\"x\"y,b\n").error,
              "line 2: text after the closing quote of a field");
}

// A log using every exported field, with texts that need quoting.
store::AppState fullLog() {
    store::AppState s;
    store::StartNewLog(s);
    s.DiveOffset = 40;
    s.LocationList.push_back({QStringLiteral("Reef, \"north\""), {}, {}});
    s.TypeList.push_back({QStringLiteral("Wall"), {}, {}});
    s.BuddyList.push_back({QStringLiteral("Zoë"), {}, {}});
    s.GearList.push_back({QStringLiteral("Drysuit\nheavy"), {}, {}});
    store::DiveRecord& d = s.Dives[1];
    d.TimeData = {7, 4, 1997, 9, 5, 9, 47};
    d.DiveData = {3000, 700, 80, 42, 60, 12, 84, 82, 78, 50};
    d.ListData = {1, 1, 1, 1};
    d.CondData = {1, 0, 1, 0, 1, 0, 1, 0};
    d.Rating = 2;
    d.Comments = QStringLiteral("Turtle, \"big\"\r\nsecond line\u00A0€");
    store::DiveRecord e;
    e.TimeData = {12, 31, 2005, 24, 0, 0, 60};
    e.DiveData = {-5, 32000, -32000, 1, 1, 1, -40, 0, 0, 200};
    e.CondData = {0, 1, 0, 1, 0, 1, 0, 1};
    e.Rating = 1;
    s.Dives.push_back(e);
    s.Dives.push_back(store::DiveRecord{}); // a dive never filled in
    return s;
}

TEST(Csv, ExportThenImportIntoAnEmptyLogGivesEveryFieldBack) {
    for (Units units : {Units::Imperial, Units::Metric}) {
        SCOPED_TRACE(interchange::unitsName(units).toStdString());
        const store::AppState source = fullLog();
        const QByteArray csv = interchange::csvDocument(source, {1, 2, 3}, units);
        store::AppState target;
        store::StartNewLog(target);
        const interchange::ImportReport r = interchange::importCsv(target, csv, units);
        ASSERT_TRUE(r.errors.isEmpty()) << r.errors.join('\n').toStdString();
        EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join('\n').toStdString();
        EXPECT_TRUE(r.replacedBlank);
        ASSERT_EQ(target.DiveCount(), 3);
        for (int i = 1; i <= 3; ++i) {
            const store::DiveRecord& a = source.Dives[static_cast<size_t>(i)];
            const store::DiveRecord& b = target.Dives[static_cast<size_t>(i)];
            EXPECT_EQ(a.TimeData, b.TimeData) << i;
            EXPECT_EQ(a.DiveData, b.DiveData) << i;
            EXPECT_EQ(a.Comments, b.Comments) << i;
            EXPECT_EQ(a.CondData, b.CondData) << i;
            EXPECT_EQ(a.Rating, b.Rating) << i;
            for (int w = 0; w < 4; ++w)
                EXPECT_EQ(
                    source.list(w)[static_cast<size_t>(a.ListData[static_cast<size_t>(w)])].Name,
                    target.list(w)[static_cast<size_t>(b.ListData[static_cast<size_t>(w)])].Name)
                    << i << " list " << w;
        }
        EXPECT_EQ(r.newNames[0], QStringList{"Reef, \"north\""});
    }
    // The log files hold Windows-1252 text; anything else is kept as "?" and said so.
    store::AppState s;
    store::StartNewLog(s);
    const auto r = interchange::importCsv(
        s, "Date,Depth,Time,Comments\r\n2004-03-28,1,9:00,turtle 🐢\r\n", Units::Imperial);
    EXPECT_EQ(r.warnings.join("\n").toStdString(), "line 2, column 4: characters the log files "
                                                    "cannot hold will be kept as ?");
}

TEST(Csv, ConvertsColumnsKeptInTheOtherUnits) {
    const QByteArray csv =
        "Date,Bottom Time,Max Depth (m),Air Temp (°C),Pressure In (bar),Weight (kg),"
        "Visibility (feet)\r\n"
        ",,18.3,25,200,5,30\r\n";
    store::AppState s;
    store::StartNewLog(s);
    ASSERT_TRUE(interchange::importCsv(s, csv, Units::Imperial).errors.isEmpty());
    EXPECT_EQ(s.Dives[1].DiveData, (std::array<int16_t, 10>{2901, 0, 0, 0, 60, 11, 77, 0, 0, 30}));
    store::AppState m;
    store::StartNewLog(m);
    ASSERT_TRUE(interchange::importCsv(
                    m, "Date,Dive Time,Max Depth (ft),Air Temp (F),Pressure In (psi)\n,,60,77,2901\n",
                    Units::Metric)
                    .errors.isEmpty());
    EXPECT_EQ(m.Dives[1].DiveData, (std::array<int16_t, 10>{200, 0, 0, 0, 18, 0, 25, 0, 0, 0}));
}

TEST(Csv, ValuesTheBoxesRefuseAreClampedOrLeftEmptyWithAWarning) {
    const QByteArray header =
        "Date,Entry Time,Max Depth (ft),Visibility (ft),Location,Saltwater,Rating\r\n";
    const struct {
        QByteArray row;
        const char* warning;
        int field; // DiveData index checked, -1 none
        int16_t value;
    } cases[] = {
        {"1997-13-04,,,,,,",
         "line 2, column 1 (Date): \"1997-13-04\" is not a date (month 1-12, "
         "day 1-31, year 1900-2100); left empty",
         -1, 0},
        {"04.07.1997x,,,,,,",
         "line 2, column 1 (Date): \"04.07.1997x\" is not a date such as "
         "2004-03-28; left empty",
         -1, 0},
        {",25:00,,,,,",
         "line 2, column 2 (Entry Time): \"25:00\" is past 24:00 or minute 60; "
         "kept as 24:00",
         -1, 0},
        {",,sixty,,,,", "line 2, column 3 (Max Depth): \"sixty\" is not a number; left empty",
         store::field::MaxDepth, 0},
        {",,40000,,,,",
         "line 2, column 3 (Max Depth): 40000 is outside -32000 to 32000; kept as "
         "32000",
         store::field::MaxDepth, 32000},
        {",,60 fathoms,,,,",
         "line 2, column 3 (Max Depth): \"60 fathoms\" has a unit Reefbook "
         "does not read; left empty",
         store::field::MaxDepth, 0},
        {",,,250,,,", "line 2, column 4 (Visibility): 250 is outside 0 to 200; kept as 200",
         store::field::Visibility, 200},
        {",,,,,maybe,", "line 2, column 6 (Saltwater): \"maybe\" is not 0 or 1; left empty", -1, 0},
        {",,,,,,superb",
         "line 2, column 7 (Rating): \"superb\" is not a rating (poor, average, "
         "good or 0-5 stars); kept as average",
         -1, 0},
        {",,,,,,,extra", "line 2, column 8: more cells than the header has; left out", -1, 0},
    };
    for (const auto& c : cases) {
        store::AppState s;
        store::StartNewLog(s);
        const interchange::ImportReport r =
            interchange::importCsv(s, header + c.row + "\r\n", Units::Imperial);
        ASSERT_TRUE(r.errors.isEmpty()) << r.errors.join('\n').toStdString();
        EXPECT_EQ(r.warnings, QStringList{QString::fromUtf8(c.warning)});
        ASSERT_EQ(s.DiveCount(), 1) << c.warning; // never a dive refused for one value
        if (c.field >= 0) {
            EXPECT_EQ(s.Dives[1].DiveData[static_cast<size_t>(c.field)], c.value) << c.warning;
        }
    }

    const struct {
        QByteArray file;
        const char* error;
    } files[] = {
        {"Depth,Place\r\n1,2\r\n",
         "line 1: no column for the date, the time (entry time or duration); the columns found "
         "are \"Depth\", \"Place\""},
        {"Date,Max Depth (fathoms),Duration\r\n1\r\n",
         "line 1: no column for the depth; the columns found are \"Date\", \"Max Depth "
         "(fathoms)\", \"Duration\""},
        {"Date,Depth,Time\r\n", "the file holds no dives"},
        {"", "the file is empty"},
        {"Date,Depth,Time\r\n\"open,1,2\r\n", "line 2: a quote opened here is never closed"},
    };
    for (const auto& f : files) {
        store::AppState s;
        store::StartNewLog(s);
        const store::AppState before = s;
        EXPECT_EQ(interchange::importCsv(s, f.file, Units::Imperial).errors.value(0),
                  QString::fromUtf8(f.error));
        EXPECT_TRUE(s.Dives == before.Dives);
    }
}

// Tables as other logbooks and spreadsheets write them, each with the dive it must give.
TEST(Csv, ReadsOtherLogbooksTables) {
    const struct {
        const char* name;
        QByteArray file;
        Units units;
        std::array<int16_t, 7> time;
        std::array<int16_t, 10> data; // in, out, tank, time, depth, lead, air, surface, bottom, vis
        const char* buddy;
        int rating;
        const char* comments;
    } cases[] = {
        {"tab-separated, US dates, units in brackets",
         "Dive #\tDate\tTime\tDuration\tMax Depth [m]\tWater Temp [C]\tBuddy\tRating\r\n"
         "1\t10/1/13\t9:05 AM\t0:42:30\t18.3\t20\t, Kiyan Griffin\t4\r\n"
         "2\t10/13/13\t2:10 PM\t35\t9\t21\tDirk,Linus\t\r\n",
         Units::Imperial, {10, 1, 2013, 9, 5, 0, 0}, {0, 0, 0, 43, 60, 0, 0, 0, 68, 0},
         "Kiyan Griffin", 2, ""},
        {"semicolon, Latin-1, day-first dates, decimal comma, units after the name",
         "Date;Start time;Dive time [min];Depth m;Air temp \xb0" "C;Tank_In bar;Tank_Out bar;"
         "Cylinder size (l);Weight kg;Site;Notes\r\n"
         "28.03.2004;09:05:00;42;18,3;25;200;50;12;6;Caf\xe9 Reef;M\xfc" "de\r\n"
         "29.03.2004;10:00;30;12;;;;;;;\r\n",
         Units::Metric, {3, 28, 2004, 9, 5, 0, 0}, {200, 50, 12, 42, 18, 6, 25, 0, 0, 0}, "",
         1, "Müde"},
        {"spreadsheet re-save of our own: seconds, AM/PM, yyyy/mm/dd, BOM",
         "\xEF\xBB\xBF" "Dive,Date,Entry Time,Exit Time,Bottom Time (min),Max Depth (ft),"
         "Pressure In (psi),Rating,Comments\r\n"
         "41,1997/07/04,09:05:00 AM,9:47:00 AM,42,60,3000,good,'=HYPERLINK(\"x\")\r\n",
         Units::Imperial, {7, 4, 1997, 9, 5, 9, 47}, {3000, 0, 0, 42, 60, 0, 0, 0, 0, 0}, "", 2,
         "=HYPERLINK(\"x\")"},
        {"written-out date, two units in one cell, stars, visibility in words, average depth",
         "Date,Entry time,Bottom time,Max. depth,Avg depth (ft),Visibility,Rating,Comments\r\n"
         "28 March 2004,9:05,40,8.0 m / 26 ft,20,good,**,Nice\r\n",
         Units::Imperial, {3, 28, 2004, 9, 5, 0, 0}, {0, 0, 0, 40, 26, 0, 0, 0, 0, 0}, "", 0,
         "Nice\r\nAverage depth: 20 ft\r\nVisibility: good"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store::AppState s;
        store::StartNewLog(s);
        const interchange::ImportReport r = interchange::importCsv(s, c.file, c.units);
        ASSERT_TRUE(r.errors.isEmpty()) << r.errors.join('\n').toStdString();
        ASSERT_GE(s.DiveCount(), 1);
        const store::DiveRecord& d = s.Dives[1];
        EXPECT_EQ(d.TimeData, c.time);
        EXPECT_EQ(d.DiveData, c.data);
        EXPECT_EQ(s.BuddyList[static_cast<size_t>(d.ListData[store::field::Buddy])].Name,
                  *c.buddy ? QString::fromUtf8(c.buddy) : s.BuddyList[0].Name);
        EXPECT_EQ(d.Rating, c.rating);
        EXPECT_EQ(d.Comments, QString::fromUtf8(c.comments));
    }
    // The second row of the first file: both buddies as one name, no rating is average.
    store::AppState s;
    store::StartNewLog(s);
    const auto r = interchange::importCsv(s, cases[0].file, Units::Metric);
    EXPECT_EQ(s.BuddyList[static_cast<size_t>(s.Dives[2].ListData[store::field::Buddy])].Name,
              "Dirk, Linus");
    EXPECT_EQ(s.Dives[2].TimeData[store::field::EntryHour], 14);
    EXPECT_EQ(s.Dives[2].Rating, 1);
    EXPECT_EQ(r.columnsLeftOut, QStringList{});
    // The Latin-1 file says how it was read.
    store::StartNewLog(s);
    EXPECT_EQ(interchange::importCsv(s, cases[1].file, Units::Metric).warnings,
              QStringList{"the file is not UTF-8; it was read as Windows-1252 (Latin-1)"});
    store::StartNewLog(s);
    EXPECT_EQ(interchange::importCsv(s, "Date,Depth,Time,Gas,Depth\n2004-03-28,1,2,EAN32,3\n",
                                     Units::Metric)
                  .columnsLeftOut,
              (QStringList{"column 4 \"Gas\"",
                           "column 5 \"Depth\" (a second column for the same field)"}));
}

TEST(Csv, DatesThatCanBeReadTwoWaysNeedTheOrder) {
    const QByteArray file = "Date,Depth,Time\n5/6/13,10,9:00\n7/7/13,10,9:00\n";
    store::AppState s;
    store::StartNewLog(s);
    EXPECT_EQ(interchange::importCsv(s, file, Units::Metric).errors,
              QStringList{"a date such as 5/6/13 can be month first or day first; say which with "
                          "--date-format MDY or DMY"});
    const struct {
        interchange::DateOrder order;
        int month, day;
    } orders[] = {{interchange::DateOrder::MDY, 5, 6}, {interchange::DateOrder::DMY, 6, 5}};
    for (const auto& o : orders) {
        store::StartNewLog(s);
        ASSERT_TRUE(interchange::importCsv(s, file, Units::Metric, o.order).errors.isEmpty());
        EXPECT_EQ(s.Dives[1].TimeData[store::field::Month], o.month);
        EXPECT_EQ(s.Dives[1].TimeData[store::field::Day], o.day);
        EXPECT_EQ(s.Dives[1].TimeData[store::field::Year], 2013);
    }
    store::StartNewLog(s);
    EXPECT_EQ(interchange::importCsv(s, "Date,Depth,Time\n13/6/13,1,2\n6/13/13,1,2\n",
                                     Units::Metric)
                  .errors.value(0),
              "the dates cannot all be read in one order (some have a first number above 12, "
              "some a second one); say which with --date-format MDY or DMY");
}

TEST(Csv, TextsSpreadsheetsWouldRunAsFormulasComeBackWhole) {
    const QString texts[] = {"=HYPERLINK(\"http://x\")", "+1", "-", "@SUM(A1)", "\tindent",
                             "\rreturn", "'=already", "''", "'tis", "plain", "-5 degrees"};
    store::AppState source;
    store::StartNewLog(source);
    source.Dives[1].TimeData = {7, 4, 1997, 9, 5, 9, 47};
    source.Dives[1].DiveData[store::field::AirTemp] = -5; // a number stays a number
    for (const QString& t : texts) {
        source.Dives.push_back(source.Dives[1]);
        source.Dives.back().Comments = t;
    }
    source.Dives.erase(source.Dives.begin() + 1);
    std::vector<int> all;
    for (int i = 1; i <= source.DiveCount(); ++i)
        all.push_back(i);
    const QByteArray csv = interchange::csvDocument(source, all, Units::Metric, true);
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF" "Dive,"));
    EXPECT_TRUE(csv.contains(",-5,"));
    EXPECT_TRUE(csv.contains(",\"'=HYPERLINK(\"\"http://x\"\")\""));
    EXPECT_TRUE(csv.contains(",'tis\r\n"));
    EXPECT_TRUE(csv.contains(",'''\r\n"));
    store::AppState target;
    store::StartNewLog(target);
    ASSERT_TRUE(interchange::importCsv(target, csv, Units::Metric).errors.isEmpty());
    ASSERT_EQ(target.DiveCount(), source.DiveCount());
    for (int i = 1; i <= source.DiveCount(); ++i)
        EXPECT_EQ(target.Dives[static_cast<size_t>(i)].Comments,
                  source.Dives[static_cast<size_t>(i)].Comments);
}

class CsvCli : public TempFolderTest {
  protected:
    int run(const QStringList& args) {
        const CliOutcome r = runCliCommand(args);
        out = r.out;
        err = r.err;
        return r.status;
    }
    QByteArray logBytes() const { return readFile(QStringLiteral("log1.dvl")); }
    QByteArray out;
    QString err;
};

TEST_F(CsvCli, ImportAppendsThroughTheSaveAndDryRunWritesNothing) {
    store::AppState s = fullLog();
    s.Dives.pop_back();
    ASSERT_TRUE(store::SaveLog(s).empty());
    settings::SaveSetting(settings::AppName, QStringLiteral("Startup"), QStringLiteral("Offset"),
                          QStringLiteral("40"));
    ASSERT_EQ(run({"export", "csv", "-o", "dives.csv", "--dives", "41"}), 0) << err.toStdString();
    EXPECT_EQ(out, "Wrote dives.csv (1 dive, imperial units)\n");
    const QByteArray before = logBytes();

    ASSERT_EQ(run({"import", "csv", "dives.csv", "--dry-run"}), 0) << err.toStdString();
    EXPECT_EQ(out, "Would add 1 dive as dive 43 (imperial units)\n");
    EXPECT_EQ(logBytes(), before);

    writeFile("bad.csv", "Date,Location\r\n1997-07-04,New Place\r\n1997-02-30x,\r\n");
    EXPECT_EQ(run({"import", "csv", "bad.csv"}), 2);
    EXPECT_TRUE(err.contains("bad.csv: line 1: no column for the depth")) << err.toStdString();
    EXPECT_EQ(logBytes(), before);

    writeFile("new.csv", "Date,Location,Depth,Time\r\n1997-07-04,New Place,,\r\n,,,\r\n"
                         "1997-07-05,,,\r\n");
    ASSERT_EQ(run({"import", "csv", "new.csv", "--units", "metric"}), 0) << err.toStdString();
    EXPECT_EQ(out, "Added 2 dives as dives 43 to 44 (metric units)\nNew locations: New Place\n");
    store::AppState after;
    store::OpenLog(after);
    ASSERT_EQ(after.DiveCount(), 4); // the row of empty cells is no dive
    EXPECT_EQ(after.LocationList.back().Name, "New Place");
    EXPECT_EQ(after.Dives[3].TimeData[store::field::Year], 1997);

    EXPECT_EQ(run({"import", "csv", "new.csv", "--units", "nautical"}), 2);
    EXPECT_EQ(run({"export", "uddf", "--units"}), 2);
    EXPECT_EQ(run({"export", "csv", "--dives", "99"}), 2);
    EXPECT_TRUE(err.contains("dive 99 is not in the log")) << err.toStdString();
}

} // namespace

namespace {

TEST_F(CsvCli, ImportUddfDryRunRelativePathsAndTheDiversUnits) {
    store::AppState s;
    store::StartNewLog(s);
    s.Dives[1].TimeData = {7, 4, 1997, 9, 5, 9, 47};
    s.Dives[1].DiveData[store::field::MaxDepth] = 18;
    s.Dives[1].DiveData[store::field::BottomTime] = 42;
    s.Dives.push_back(store::DiveRecord{}); // no date: written as 1900-01-01, said so
    ASSERT_TRUE(store::SaveLog(s).empty());
    settings::saveDiverUnits(s.Files, Units::Metric);
    ASSERT_EQ(run({"export", "uddf", "-o", "mine.uddf"}), 0) << err.toStdString();
    EXPECT_EQ(out, "Wrote mine.uddf (2 dives, metric units)\n");
    EXPECT_EQ(err, "reefbook-cli: note: dive 2: no date was entered; written as 1900-01-01\n");

    // From another folder, with the data folder named: the file is where the command was typed.
    QDir(dir.path()).mkdir("data");
    ASSERT_TRUE(QFile::copy(path("mine.uddf"), path("data/../other.uddf")));
    for (const char* name : {"log1.dvl", "loc1.dvl", "type1.dvl", "bud1.dvl", "gear1.dvl",
                             "prof1.dvl"})
        ASSERT_TRUE(QFile::rename(path(name), path(QStringLiteral("data/") + name)));
    const QByteArray before = readFile("data/log1.dvl");
    // --data-dir moves the process into that folder; each command starts from the test's own.
    auto fromHere = [this](const QStringList& args) {
        QDir::setCurrent(dir.path());
        return run(args);
    };
    ASSERT_EQ(fromHere({"--data-dir", "data", "import", "uddf", "other.uddf", "--dry-run"}), 0)
        << err.toStdString();
    EXPECT_EQ(out, "Would add 1 dive as dive 3 (metric units)\n"
                   "  dive 3: no date, 0 m, 0 min\n"
                   "Skipped 1 dive:\n"
                   "  1997-07-04 09:05 (line 29): already in the log as dive 1\n");
    EXPECT_EQ(readFile("data/log1.dvl"), before);
    EXPECT_EQ(fromHere({"--data-dir", "data", "import", "csv", "--units", "imperial", "nowhere.csv"}),
              2);
    EXPECT_TRUE(err.contains("cannot read " + path("nowhere.csv"))) << err.toStdString();
    EXPECT_EQ(fromHere({"import", "csv", "x.csv", "--date-format", "YDM"}), 2);
    EXPECT_TRUE(err.contains("--date-format is YMD, MDY or DMY, not 'YDM'")) << err.toStdString();

    // CSV for spreadsheets: a byte order mark on request.
    ASSERT_EQ(fromHere({"--data-dir", "data", "export", "csv", "--bom", "-o", "-"}), 0);
    EXPECT_TRUE(out.startsWith("\xEF\xBB\xBF" "Dive,Date,Entry Time,Exit Time,Bottom Time (min),"
                               "Max Depth (m)"));
}

} // namespace
