#include "interchange/ProfileSimplify.h"
#include "interchange/Uddf.h"
#include "interchange/UddfImport.h"
#include "store/LogOps.h"
#include "store/Text.h"
#include "support/TestEnv.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <set>

namespace {

using interchange::Units;

// Every case a log may hold that UDDF has trouble with: no date, a day the month lacks, a
// month 0, a time out of range, a dive at 24:00, pressures and tank sizes without a starting
// pressure, a one-word diver and buddy, a buddy with no name at all, a profile, an empty
// profile, a profile number past the file, a rating out of range, negative numbers, texts
// with every byte, dive numbers below 1.
store::AppState awkwardLog() {
    store::AppState s;
    store::StartNewLog(s);
    s.DiverName = QStringLiteral("Cher");
    s.DiveOffset = -2;
    s.BuddyList.push_back({QStringLiteral("Linus"), {}, {}});
    s.BuddyList.push_back({QString(), {}, {}});
    s.LocationList.push_back({QStringLiteral("  "), {}, {}});
    QByteArray every;
    for (int b = 1; b < 256; ++b)
        every.append(static_cast<char>(b));
    s.GearList.push_back({store::text::fromCp1252(every), {}, {}});
    const std::vector<std::array<int16_t, 7>> times = {
        {0, 0, 0, 0, 0, 0, 0},       {2, 31, 1999, 9, 5, 9, 50},   {13, 4, 2001, 9, 5, 0, 0},
        {7, 4, 1997, -1, 70, 0, 0},  {12, 31, 1999, 24, 0, 0, 30}, {7, 4, 1997, 10, 0, 10, 40},
        {7, 4, 1997, 11, 0, 11, 20}, {0, 9, 2003, 8, 0, 0, 0},
    };
    s.Dives.resize(1);
    for (size_t k = 0; k < times.size(); ++k) {
        store::DiveRecord d;
        d.TimeData = times[k];
        d.ListData = {static_cast<int16_t>(k % 2 ? 1 : 0), 0, static_cast<int16_t>(k % 4),
                      static_cast<int16_t>(k % 2)};
        d.Rating = static_cast<int16_t>(static_cast<int>(k) - 1);
        s.Dives.push_back(d);
    }
    s.Dives[2].DiveData = {0, 500, 80, 40, 60, 10, -5, 0, 33, 250};
    s.Dives[3].DiveData = {0, 0, 12, 30, 20, 0, 0, 0, 0, 0};
    s.Dives[4].DiveData = {3000, 0, 0, 40, 60, -3, 0, 0, 0, 0};
    s.Dives[6].DiveData = {200, 50, -12, 40, 18, 0, 0, 0, 0, 0};
    s.Dives[5].Comments = store::text::fromCp1252(every);
    s.Profiles.resize(3);
    s.Profiles[1].Times = {0, 5, 35, 40};
    s.Profiles[1].Depths = {0, 60, 20, 0};
    s.Dives[6].ProfileNum = 1;
    s.Dives[7].ProfileNum = 2; // a profile without points
    s.Dives[8].ProfileNum = 9; // past the profile file
    return s;
}

// xmllint's verdict on a file against the official schema (kept beside the tests).
QString schemaErrors(const QByteArray& xml) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("log.uddf"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(xml) != xml.size()) return "cannot write";
    f.close();
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("--schema"),
                                           QStringLiteral(REEFBOOK_UDDF_SCHEMA), file});
    if (!lint.waitForFinished(60000)) return "xmllint did not run: " + lint.errorString();
    if (lint.exitCode() == 0) return {};
    return QString::fromUtf8(lint.readAllStandardError());
}

TEST(UddfSchema, EveryLogValidatesAndEveryDiveIsWritten) {
    const QDateTime when(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
    store::AppState fresh;
    store::StartNewLog(fresh);
    const store::AppState awkward = awkwardLog();
    for (const store::AppState* s : std::array<const store::AppState*, 2>{&fresh, &awkward})
        for (Units units : {Units::Imperial, Units::Metric}) {
            std::vector<int> all;
            for (int i = 1; i <= s->DiveCount(); ++i)
                all.push_back(i);
            QStringList special;
            const QByteArray xml = interchange::uddfDocument(*s, all, units, when, &special);
            EXPECT_EQ(schemaErrors(xml), QString()) << interchange::unitsName(units).toStdString();
            EXPECT_EQ(xml.count("<dive "), s->DiveCount());
            if (s == &awkward) {
                EXPECT_EQ(special,
                          (QStringList{
                              "dive -1: no date was entered; written as 1900-01-01",
                              "dive 0: the date 2/31/1999 is not a day of that month; written as "
                              "1999-02-28",
                              "dive 1: the date 13/4/2001 has no month; written as 2001-01-01",
                              "dive 2: the entry time -1:70 is not a time of day; written as 00:00",
                              "dive 6: the date 0/9/2003 has no month; written as 2003-01-01"}));
            }
        }
}

// A file as a dive computer's download program might write it: UDDF 3.3 namespace, an odd
// offset, pressures of 0, a visibility in words, two buddies, gear named in another case
// than the log's list, 600 samples of a dive with a deep spike, and one dive twice.
QByteArray computerFile() {
    QByteArray samples;
    for (int k = 0; k <= 600; ++k) {
        // 50 minutes: down to 20 m in 5 minutes, 20 m with a spike to 31.4 m at 20:00, up.
        const double t = k * 5.0;
        double depth = t < 300 ? t / 15 : t < 2700 ? 20 : 20 - (t - 2700) / 15;
        if (k == 240) depth = 31.4;
        samples += QStringLiteral("<waypoint><depth>%1</depth><divetime>%2</divetime>"
                                  "<temperature>%3</temperature></waypoint>\n")
                       .arg(depth)
                       .arg(t)
                       .arg(k == 300 ? 290.15 : 293.15)
                       .toUtf8();
    }
    return R"(<?xml version="1.0"?>
<uddf xmlns="http://www.streit.cc/uddf/3.3/" version="3.3.0">
<generator><name>SomeDownloader</name></generator>
<diver><owner id="me"><personal><firstname>A</firstname></personal>
<equipment><suit id="s1"><name>DRYSUIT</name></suit><fins id="f1"><name>Jet fins</name></fins>
<mix id="air"><name>air</name></mix></equipment></owner>
<buddy id="b1"><personal><firstname>Dirk</firstname><lastname>Jansen</lastname></personal></buddy>
<buddy id="b2"><personal><firstname>Linus</firstname></personal></buddy></diver>
<divesite><site id="blue"><name>Blue Hole</name></site></divesite>
<profiledata><repetitiongroup id="g">
<dive id="d1"><informationbeforedive><link ref="blue"/><link ref="b1"/><link ref="b2"/>
<datetime>2004-03-28T09:05:41+00:07</datetime><airtemperature>301.15</airtemperature>
</informationbeforedive>
<tankdata><link ref="air"/><tankvolume>0.012</tankvolume><tankpressurebegin>20000000</tankpressurebegin>
<tankpressureend>0</tankpressureend></tankdata>
<samples>)" +
           samples + R"(</samples>
<informationafterdive><greatestdepth>31.4</greatestdepth><diveduration>3000</diveduration>
<visibility>good, 15 m</visibility><notes><para>Turtle</para><para>Dive type: Drift</para>
<para>Conditions: Saltwater, Boat</para></notes><rating><ratingvalue>9</ratingvalue></rating>
<equipmentused><leadquantity>4</leadquantity><link ref="s1"/><link ref="f1"/></equipmentused>
</informationafterdive></dive>
<dive id="d2"><informationbeforedive><datetime>2004-03-28T09:05:00Z</datetime></informationbeforedive>
<informationafterdive><greatestdepth>10</greatestdepth><diveduration>600</diveduration></informationafterdive></dive>
<dive id="d3"><informationbeforedive><datetime>2004-03-28</datetime></informationbeforedive>
<informationafterdive><greatestdepth>18.288</greatestdepth><diveduration>2520</diveduration></informationafterdive></dive>
</repetitiongroup></profiledata></uddf>)";
}

TEST(UddfImport, ReadsAComputersFileIntoTheDiversUnits) {
    const struct {
        Units units;
        std::array<int16_t, 10> data; // in, out, tank, time, depth, lead, air, surface, bottom, vis
        int deepest;
    } cases[] = {
        {Units::Metric, {200, 0, 12, 50, 31, 4, 28, 0, 17, 0}, 31},
        {Units::Imperial, {2901, 0, 84, 50, 103, 9, 82, 0, 63, 0}, 103},
    };
    // The samples are read straight from the bytes, or (a comment in the file) by the XML
    // reader, with the same result.
    QByteArray withComment = computerFile();
    withComment.replace("<samples>", "<samples><!-- read slowly -->");
    for (const auto& c : cases)
        for (const QByteArray& file : {computerFile(), withComment}) {
            SCOPED_TRACE(interchange::unitsName(c.units).toStdString() +
                         (file.contains("<!--") ? " XML reader" : " bytes"));
            store::AppState s;
            store::StartNewLog(s);
            s.GearList.push_back({QStringLiteral("Drysuit, Jet Fins"), {}, {}});
            const interchange::ImportReport r = interchange::importUddf(s, file, c.units);
            ASSERT_TRUE(r.errors.isEmpty()) << r.errors.join('\n').toStdString();
            EXPECT_EQ(r.added, 2);
            EXPECT_TRUE(r.replacedBlank);
            EXPECT_EQ(r.skipped, QStringList{"2004-03-28 09:05 (line 623): already in the log as "
                                             "dive 1"});
            ASSERT_EQ(s.DiveCount(), 2);
            const store::DiveRecord& d = s.Dives[1];
            // The time as written: the offset is not applied, the seconds are dropped.
            EXPECT_EQ(d.TimeData, (std::array<int16_t, 7>{3, 28, 2004, 9, 5, 9, 55}));
            EXPECT_EQ(d.DiveData, c.data);
            EXPECT_EQ(d.Comments, "Turtle\r\nVisibility: good, 15 m");
            EXPECT_EQ(d.CondData, (std::array<int16_t, 8>{0, 1, 1, 0, 0, 0, 0, 0}));
            EXPECT_EQ(d.Rating, 2);
            EXPECT_EQ(s.LocationList[static_cast<size_t>(d.ListData[0])].Name, "Blue Hole");
            EXPECT_EQ(s.TypeList[static_cast<size_t>(d.ListData[1])].Name, "Drift");
            EXPECT_EQ(s.BuddyList[static_cast<size_t>(d.ListData[2])].Name, "Dirk Jansen, Linus");
            // Matched without regard to case: no second gear entry.
            EXPECT_EQ(s.GearList[static_cast<size_t>(d.ListData[3])].Name, "Drysuit, Jet Fins");
            EXPECT_TRUE(r.newNames[3].isEmpty());

            // The profile: at most 150 points, the start, the spike and the surface kept.
            ASSERT_GT(d.ProfileNum, 0);
            const store::ProfileRecord& p = s.Profiles[static_cast<size_t>(d.ProfileNum)];
            int points = 0, deepest = 0, deepestAt = 0;
            while (points < 150 && p.Times[static_cast<size_t>(points) + 1] > 0) {
                ++points;
                EXPECT_GT(p.Times[static_cast<size_t>(points)],
                          p.Times[static_cast<size_t>(points) - 1]);
                if (p.Depths[static_cast<size_t>(points)] > deepest) {
                    deepest = p.Depths[static_cast<size_t>(points)];
                    deepestAt = p.Times[static_cast<size_t>(points)];
                }
            }
            EXPECT_EQ(deepest, c.deepest);
            EXPECT_EQ(deepestAt, 20);
            EXPECT_EQ(p.Times[static_cast<size_t>(points)], 50);
            EXPECT_EQ(p.Depths[static_cast<size_t>(points)], 0);
            EXPECT_LE(points, 50); // one point a minute at the most
            EXPECT_GE(points, 4);

            // A date without a time, and no profile for a dive without samples.
            EXPECT_EQ(s.Dives[2].TimeData, (std::array<int16_t, 7>{3, 28, 2004, 0, 0, 0, 0}));
            EXPECT_EQ(s.Dives[2].ProfileNum, 0);
            EXPECT_EQ(s.Dives[2].Rating, 1);
        }
}

TEST(UddfImport, OurOwnExportComesBack) {
    store::AppState source = awkwardLog();
    source.Dives.resize(3); // dated dives only come back as dated
    source.Dives[2].DiveData = {3000, 700, 80, 42, 60, 12, 84, 82, 78, 50};
    source.Dives[2].TimeData = {7, 4, 1997, 9, 5, 9, 47};
    source.Dives[2].CondData = {0, 1, 1, 0, 0, 1, 0, 0};
    source.Dives[2].Comments = QStringLiteral("Turtle\r\nsecond line");
    source.Dives[2].ProfileNum = 1;
    source.Profiles[1].Times = {0, 5, 35, 42};
    source.Profiles[1].Depths = {0, 60, 20, 0};
    source.LocationList.push_back({QStringLiteral("Blue Hole"), {}, {}});
    source.Dives[2].ListData = {2, 0, 1, 0};
    source.Dives[1].ListData = {0, 0, 0, 0};
    source.Dives[1].TimeData = {5, 1, 1997, 9, 0, 9, 30};
    source.Dives[1].Rating = 0;
    for (Units units : {Units::Imperial, Units::Metric}) {
        SCOPED_TRACE(interchange::unitsName(units).toStdString());
        const QByteArray xml = interchange::uddfDocument(source, {1, 2}, units, {});
        store::AppState target;
        store::StartNewLog(target);
        const interchange::ImportReport r = interchange::importUddf(target, xml, units);
        ASSERT_TRUE(r.errors.isEmpty()) << r.errors.join('\n').toStdString();
        ASSERT_EQ(target.DiveCount(), 2);
        for (int i = 1; i <= 2; ++i) {
            const store::DiveRecord& a = source.Dives[static_cast<size_t>(i)];
            const store::DiveRecord& b = target.Dives[static_cast<size_t>(i)];
            EXPECT_EQ(a.TimeData, b.TimeData) << i;
            EXPECT_EQ(a.DiveData, b.DiveData) << i;
            EXPECT_EQ(a.CondData, b.CondData) << i;
            EXPECT_EQ(a.Rating, b.Rating) << i;
            EXPECT_EQ(a.Comments, b.Comments) << i;
            for (int w = 0; w < 4; ++w)
                EXPECT_EQ(
                    source.list(w)[static_cast<size_t>(a.ListData[static_cast<size_t>(w)])].Name,
                    target.list(w)[static_cast<size_t>(b.ListData[static_cast<size_t>(w)])].Name)
                    << i << " list " << w;
        }
        const store::ProfileRecord& p =
            target.Profiles[static_cast<size_t>(target.Dives[2].ProfileNum)];
        EXPECT_EQ(std::vector<int16_t>(p.Times.begin(), p.Times.begin() + 5),
                  (std::vector<int16_t>{0, 5, 35, 42, 0}));
        EXPECT_EQ(std::vector<int16_t>(p.Depths.begin(), p.Depths.begin() + 4),
                  (std::vector<int16_t>{0, 60, 20, 0}));

        // Again: every dive is already there.
        const interchange::ImportReport again = interchange::importUddf(target, xml, units);
        EXPECT_EQ(again.added, 0);
        EXPECT_EQ(again.skipped.size(), 2);
        EXPECT_EQ(target.DiveCount(), 2);
    }
}

TEST(UddfImport, DatesPutInForUddfGoBackAsTheLogHadThem) {
    const store::AppState source = awkwardLog();
    std::vector<int> all;
    for (int i = 1; i <= source.DiveCount(); ++i)
        all.push_back(i);
    store::AppState target;
    store::StartNewLog(target);
    const interchange::ImportReport r = interchange::importUddf(
        target, interchange::uddfDocument(source, all, Units::Metric, {}), Units::Metric);
    ASSERT_EQ(target.DiveCount(), source.DiveCount()) << r.skipped.join('\n').toStdString();
    // The file groups the dives by day, so they come back in another order. 24:00 is written
    // as the next day; every other date and entry time comes back as the log had it.
    std::multiset<std::vector<int16_t>> was, is;
    for (int i = 1; i <= source.DiveCount(); ++i) {
        const auto& a = source.Dives[static_cast<size_t>(i)].TimeData;
        const auto& b = target.Dives[static_cast<size_t>(i)].TimeData;
        was.insert(a[store::field::EntryHour] == 24
                       ? std::vector<int16_t>{1, 1, 2000, 0, 0}
                       : std::vector<int16_t>(a.begin(), a.begin() + 5));
        is.insert(std::vector<int16_t>(b.begin(), b.begin() + 5));
    }
    EXPECT_EQ(was, is);
}

TEST(UddfImport, RefusesWhatIsNotUddfAndChangesNothing) {
    const struct {
        QByteArray file;
        const char* error;
    } cases[] = {
        {"<uddf><dive>", "not readable as XML: line 1: Premature end of document."},
        {"Date,Depth\n", "not readable as XML: line 1: Start tag expected."},
        {"<uddf version=\"3.2.0\"/>", "the file holds no <dive>"},
    };
    for (const auto& c : cases) {
        store::AppState s;
        store::StartNewLog(s);
        const store::AppState before = s;
        EXPECT_EQ(interchange::importUddf(s, c.file, Units::Metric).errors.value(0), c.error);
        EXPECT_TRUE(s.Dives == before.Dives);
    }
}

TEST(ProfileSimplify, KeepsEndsDeepestAndShapeWithinTheLimit) {
    // A saw-tooth of 1,100 samples: 11 teeth of 100 samples each, plus a single deepest one.
    std::vector<interchange::Sample> samples;
    for (int k = 0; k < 1100; ++k)
        samples.push_back({k * 2.0, 10.0 + std::abs(k % 100 - 50) / 5.0});
    samples[777].depth = 40;
    for (size_t most : {size_t(3), size_t(24), size_t(150)}) {
        const std::vector<size_t> kept = interchange::simplifyProfile(samples, most);
        ASSERT_LE(kept.size(), most);
        EXPECT_EQ(kept.front(), 0u);
        EXPECT_EQ(kept.back(), 1099u);
        EXPECT_NE(std::find(kept.begin(), kept.end(), 777u), kept.end());
        EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
        if (most == 150) {
            // Every tip of every tooth survives, not every n-th sample.
            for (int tooth = 0; tooth < 11; ++tooth)
                EXPECT_NE(std::find(kept.begin(), kept.end(), size_t(tooth * 100 + 50)), kept.end())
                    << tooth;
        }
    }
    // A long dive becomes a stored profile of 150 points in whole minutes, strictly later one
    // after the other, with the deepest sample and the surfacing at the end.
    for (interchange::Sample& x : samples)
        x.seconds *= 7.5; // 15 s apart: 275 minutes
    const store::ProfileRecord p = interchange::profileFromSamples(samples, Units::Metric, 275, 40);
    int points = 0;
    bool deepest = false;
    while (points < 150 && p.Times[static_cast<size_t>(points) + 1] > 0) {
        ++points;
        EXPECT_GT(p.Times[static_cast<size_t>(points)], p.Times[static_cast<size_t>(points) - 1]);
        deepest = deepest || p.Depths[static_cast<size_t>(points)] == 40;
    }
    EXPECT_EQ(points, 150);
    EXPECT_TRUE(deepest);
    EXPECT_EQ(p.Times[150], 275);
    // Fewer samples than the limit: all of them.
    EXPECT_EQ(interchange::simplifyProfile({{0, 0}, {60, 5}}, 150), (std::vector<size_t>{0, 1}));
}

} // namespace
