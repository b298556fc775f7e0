#include "interchange/Csv.h"
#include "Cli.h"
#include "interchange/CsvImport.h"
#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/TestEnv.h"

#include <QBuffer>

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
AppState fullLog() {
    AppState s;
    StartNewLog(s);
    s.DiveOffset = 40;
    s.LocationList.push_back({QStringLiteral("Reef, \"north\""), {}, {}});
    s.TypeList.push_back({QStringLiteral("Wall"), {}, {}});
    s.BuddyList.push_back({QStringLiteral("Zoë"), {}, {}});
    s.GearList.push_back({QStringLiteral("Drysuit\nheavy"), {}, {}});
    DiveRecord& d = s.Dives[1];
    d.TimeData = {7, 4, 1997, 9, 5, 9, 47};
    d.DiveData = {3000, 700, 80, 42, 60, 12, 84, 82, 78, 50};
    d.ListData = {1, 1, 1, 1};
    d.CondData = {1, 0, 1, 0, 1, 0, 1, 0};
    d.Rating = 2;
    d.Comments = QStringLiteral("Turtle, \"big\"\r\nsecond line\u00A0€");
    DiveRecord e;
    e.TimeData = {12, 31, 2005, 24, 0, 0, 60};
    e.DiveData = {-5, 32000, -32000, 1, 1, 1, -40, 0, 0, 200};
    e.CondData = {0, 1, 0, 1, 0, 1, 0, 1};
    e.Rating = 1;
    s.Dives.push_back(e);
    s.Dives.push_back(DiveRecord{}); // a dive never filled in
    return s;
}

TEST(Csv, ExportThenImportIntoAnEmptyLogGivesEveryFieldBack) {
    for (Units units : {Units::Imperial, Units::Metric}) {
        SCOPED_TRACE(interchange::unitsName(units).toStdString());
        const AppState source = fullLog();
        const QByteArray csv = interchange::csvDocument(source, {1, 2, 3}, units);
        AppState target;
        StartNewLog(target);
        const interchange::ImportReport r = interchange::importCsv(target, csv, units);
        ASSERT_TRUE(r.errors.isEmpty()) << r.errors.join('\n').toStdString();
        EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join('\n').toStdString();
        EXPECT_TRUE(r.replacedBlank);
        ASSERT_EQ(target.DiveCount(), 3);
        for (int i = 1; i <= 3; ++i) {
            const DiveRecord& a = source.Dives[static_cast<size_t>(i)];
            const DiveRecord& b = target.Dives[static_cast<size_t>(i)];
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
    AppState s;
    StartNewLog(s);
    const auto r = interchange::importCsv(s, "Comments\r\nturtle 🐢\r\n", Units::Imperial);
    EXPECT_EQ(r.warnings, QStringList{"line 2, column 1: characters the log files cannot hold "
                                      "will be kept as ?"});
}

TEST(Csv, ConvertsColumnsKeptInTheOtherUnits) {
    const QByteArray csv =
        "Max Depth (m),Air Temp (°C),Pressure In (bar),Weight (kg),Visibility (feet)\r\n"
        "18.3,25,200,5,30\r\n";
    AppState s;
    StartNewLog(s);
    ASSERT_TRUE(interchange::importCsv(s, csv, Units::Imperial).errors.isEmpty());
    EXPECT_EQ(s.Dives[1].DiveData, (std::array<int16_t, 10>{2901, 0, 0, 0, 60, 11, 77, 0, 0, 30}));
    AppState m;
    StartNewLog(m);
    ASSERT_TRUE(interchange::importCsv(
                    m, "Max Depth (ft),Air Temp (F),Pressure In (psi)\n60,77,2901\n", Units::Metric)
                    .errors.isEmpty());
    EXPECT_EQ(m.Dives[1].DiveData, (std::array<int16_t, 10>{200, 0, 0, 0, 18, 0, 25, 0, 0, 0}));
}

TEST(Csv, RefusesBadRowsAndChangesNothing) {
    const QByteArray header =
        "Date,Entry Time,Max Depth (ft),Visibility (ft),Location,Saltwater,Rating\r\n";
    const struct {
        QByteArray rows;
        const char* error;
    } cases[] = {
        {"1997-13-04,,,,,,\r\n", "line 2, column 1 (Date): \"1997-13-04\" is not a date (month "
                                 "1-12, day 1-31, year 1900-2100)"},
        {"4/7/1997,,,,,,\r\n",
         "line 2, column 1 (Date): \"4/7/1997\" is not a date such as 1997-07-04"},
        {",25:00,,,,,\r\n", "line 2, column 2 (Entry Time): \"25:00\" is not a time such as 09:05 "
                            "(hours up to 24, minutes up to 60)"},
        {",,sixty,,,,\r\n", "line 2, column 3 (Max Depth): \"sixty\" is not a number"},
        {",,60ft,,,,\r\n", "line 2, column 3 (Max Depth): \"60ft\" is not a number"},
        {",,40000,,,,\r\n", "line 2, column 3 (Max Depth): 40000 is outside -32000 to 32000"},
        {",,,250,,,\r\n", "line 2, column 4 (Visibility): 250 is outside 0 to 200"},
        {",,,,,yes,\r\n", "line 2, column 6 (Saltwater): \"yes\" is not 0 or 1"},
        {",,,,,,superb\r\n", "line 2, column 7 (Rating): \"superb\" is not poor, average or good"},
        {",,,,,,,extra\r\n", "line 2, column 8: more cells than the header has"},
        {"\"multi\nline\",,,,New Reef,,\r\n1997-07-04,,x,,,,\r\n",
         "line 2, column 1 (Date): \"multi\nline\" is not a date such as 1997-07-04"},
    };
    for (const auto& c : cases) {
        AppState s;
        StartNewLog(s);
        const AppState before = s;
        const interchange::ImportReport r =
            interchange::importCsv(s, header + c.rows, Units::Imperial);
        ASSERT_FALSE(r.errors.isEmpty()) << c.error;
        EXPECT_EQ(r.errors.first(), QString::fromUtf8(c.error));
        EXPECT_TRUE(s.Dives == before.Dives && s.LocationList == before.LocationList) << c.error;
    }
    // The second bad row of a file is found on its own line.
    AppState s;
    StartNewLog(s);
    const auto r = interchange::importCsv(
        s, header + "\"multi\nline\",,,,,,\r\n1997-07-04,,x,,,,\r\n", Units::Imperial);
    EXPECT_EQ(r.errors.value(1), "line 4, column 3 (Max Depth): \"x\" is not a number");
    // A value out of range only once converted names both units.
    AppState m;
    StartNewLog(m);
    EXPECT_EQ(interchange::importCsv(m, "Max Depth (m)\r\n9999\r\n", Units::Imperial).errors,
              QStringList{"line 2, column 1 (Max Depth): 9999 m is 32805 ft, outside -32000 to "
                          "32000"});

    const struct {
        QByteArray file;
        const char* error;
    } files[] = {
        {"Depth,Place\r\n1,2\r\n",
         "line 1: the header names no column Reefbook knows (such as Date, Max Depth, Location)"},
        {"Max Depth (fathoms)\r\n1\r\n",
         "line 1, column 1 (Max Depth (fathoms)): unknown unit \"fathoms\""},
        {"Tank Size (l)\r\n12\r\n",
         "line 1, column 1 (Tank Size (l)): tank sizes in l cannot be read into a log kept in cu "
         "ft (one is water volume, the other gas)"},
        {"Date,date\r\n", "line 1, column 2 (date): a second column for this"},
        {"Date\r\n", "the file holds no dives"},
        {"", "the file is empty"},
        {"Comments\r\n\xff\r\n", "the file is not UTF-8 text"},
    };
    for (const auto& f : files) {
        AppState s;
        StartNewLog(s);
        EXPECT_EQ(interchange::importCsv(s, f.file, Units::Imperial).errors.value(0),
                  QString::fromUtf8(f.error));
    }
}

class CsvCli : public TempFolderTest {
  protected:
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        QBuffer o(&out);
        o.open(QIODevice::WriteOnly);
        QTextStream e(&err);
        const int status = cli::runCli(args, o, e);
        e.flush();
        return status;
    }
    QByteArray logBytes() const { return readFile(QStringLiteral("log1.dvl")); }
    QByteArray out;
    QString err;
};

TEST_F(CsvCli, ImportAppendsThroughTheSaveAndDryRunWritesNothing) {
    AppState s = fullLog();
    s.Dives.pop_back();
    ASSERT_TRUE(SaveLog(s).empty());
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
    EXPECT_TRUE(err.contains("bad.csv: line 3, column 1 (Date):")) << err.toStdString();
    EXPECT_EQ(logBytes(), before);

    writeFile("new.csv", "Date,Location\r\n1997-07-04,New Place\r\n,\r\n1997-07-05,\r\n");
    ASSERT_EQ(run({"import", "csv", "new.csv", "--units", "metric"}), 0) << err.toStdString();
    EXPECT_EQ(out, "Added 2 dives as dives 43 to 44 (metric units)\nNew locations: New Place\n");
    AppState after;
    OpenLog(after);
    ASSERT_EQ(after.DiveCount(), 4); // the row of empty cells is no dive
    EXPECT_EQ(after.LocationList.back().Name, "New Place");
    EXPECT_EQ(after.Dives[3].TimeData[field::Year], 1997);

    EXPECT_EQ(run({"import", "csv", "new.csv", "--units", "nautical"}), 2);
    EXPECT_EQ(run({"export", "uddf", "--units"}), 2);
    EXPECT_EQ(run({"export", "csv", "--dives", "99"}), 2);
    EXPECT_TRUE(err.contains("dive 99 is not in the log")) << err.toStdString();
}

} // namespace
