#include "interchange/Uddf.h"
#include "store/LogOps.h"
#include "store/Text.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using interchange::Units;

// Three dives: two on one day (the second with a profile), one never dated. Names and
// comments hold markup and a control character XML cannot carry.
store::AppState markupLog() {
    store::AppState s;
    store::StartNewLog(s);
    s.DiverName = QStringLiteral("Mary Ann <Smith>");
    s.DiveOffset = 100;
    s.LocationList.push_back(
        {QStringLiteral("Reef & \"Rocks\" <north>"), QStringLiteral("a>b"), {}});
    s.BuddyList.push_back({QStringLiteral("Ann O'Neil"), {}, {}});
    s.GearList.push_back({QStringLiteral("Drysuit"), {}, {}});
    store::DiveRecord& d = s.Dives[1];
    d.TimeData = {7, 4, 1997, 9, 5, 9, 47};
    d.DiveData = {3000, 700, 80, 42, 60, 12, 84, 82, 78, 50};
    d.ListData = {1, 0, 1, 1};
    d.CondData = {0, 1, 1, 0, 0, 0, 0, 0};
    d.Rating = 2;
    d.Comments = QStringLiteral("Turtle </para> & bell\x01");
    store::DiveRecord second;
    second.TimeData = {7, 4, 1997, 13, 0, 13, 30};
    second.DiveData[store::field::BottomTime] = 30;
    second.DiveData[store::field::MaxDepth] = 40;
    second.ProfileNum = 1;
    s.Dives.push_back(second);
    s.Dives.push_back(store::DiveRecord{}); // never dated, all zero
    s.Profiles.resize(2);
    s.Profiles[1].Times = {0, 5, 25, 30};
    s.Profiles[1].Depths = {0, 40, 20, 0};
    return s;
}

// Every element's text by its path of names below <uddf>, in document order, plus the order
// of the top-level sections. Attributes are kept as "path@name".
struct Read {
    std::multimap<QString, QString> values;
    QStringList sections;
    QString error;
    std::vector<std::map<QString, QString>> dives; // the leaf values below each <dive>
};

Read readBack(const QByteArray& xml) {
    Read r;
    QXmlStreamReader x(xml);
    QStringList path;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            path << x.name().toString();
            if (path.size() == 2) r.sections << path.last();
            if (path.last() == QLatin1String("dive")) r.dives.emplace_back();
            for (const QXmlStreamAttribute& a : x.attributes())
                r.values.emplace(path.mid(1).join('/') + '@' + a.name().toString(),
                                 a.value().toString());
        } else if (x.isCharacters() && !x.isWhitespace()) {
            r.values.emplace(path.mid(1).join('/'), x.text().toString());
            const qsizetype at = path.indexOf(QStringLiteral("dive"));
            if (at >= 0) r.dives.back()[path.mid(at + 1).join('/')] += x.text().toString();
        } else if (x.isEndElement()) {
            path.removeLast();
        }
    }
    if (x.hasError()) r.error = x.errorString();
    return r;
}

QStringList all(const Read& r, const char* key) {
    QStringList found;
    const auto [from, to] = r.values.equal_range(QLatin1String(key));
    for (auto it = from; it != to; ++it)
        found << it->second;
    return found;
}

TEST(Uddf, WellFormedWithSiUnitsInBothSystems) {
    const store::AppState s = markupLog();
    const QDateTime when(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
    struct Case {
        Units units;
        const char* depth;      // 60 ft / 60 m
        const char* bottomTemp; // 78 °F / 78 °C in kelvin
        const char* pressure;   // 3000 psi / 3000 bar in pascal
        const char* tank;       // 80 cu ft filled to 3000 psi / 80 l, in cubic metres
        const char* lead;       // 12 lb / 12 kg
        const char* unitNote;
    };
    const Case cases[] = {
        {Units::Imperial, "18.288", "298.7056", "20684271.8795", "0.0111", "5.4431",
         "imperial units (ft, °F, psi, cu ft, lb)"},
        {Units::Metric, "60", "351.15", "300000000", "0.08", "12",
         "metric units (m, °C, bar, l, kg)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(interchange::unitsName(c.units).toStdString());
        const QByteArray xml = interchange::uddfDocument(s, {2, 1, 3}, c.units, when);
        const Read r = readBack(xml);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_TRUE(xml.contains(c.unitNote));
        EXPECT_EQ(r.sections, (QStringList{"generator", "diver", "divesite", "profiledata"}));
        EXPECT_EQ(all(r, "generator/name"), QStringList{"Reefbook"});
        EXPECT_EQ(all(r, "generator/datetime"), QStringList{"2024-05-06T07:08:09Z"});
        EXPECT_EQ(all(r, "diver/owner/personal/firstname"), QStringList{"Mary Ann"});
        EXPECT_EQ(all(r, "diver/owner/personal/lastname"), QStringList{"<Smith>"});
        EXPECT_EQ(all(r, "divesite/site/name"), (QStringList{"Pool", "Reef & \"Rocks\" <north>"}));
        EXPECT_EQ(all(r, "divesite/site/notes/para"), QStringList{"a>b"});
        // The two dives of 4 July share a group; the undated one has its own and no datetime.
        EXPECT_EQ(r.values.count("profiledata/repetitiongroup@id"), 2u);

        ASSERT_EQ(r.dives.size(), 3u);
        const std::map<QString, QString> want = {
            {"informationbeforedive/divenumber", "101"},
            {"informationbeforedive/datetime", "1997-07-04T09:05:00"},
            {"informationafterdive/equipmentused/leadquantity", c.lead},
            {"tankdata/tankvolume", c.tank},
            {"tankdata/tankpressurebegin", c.pressure},
            {"informationafterdive/greatestdepth", c.depth},
            {"informationafterdive/diveduration", "2520"},
            {"informationafterdive/lowesttemperature", c.bottomTemp},
            {"informationafterdive/rating/ratingvalue", "10"},
            {"informationafterdive/notes/para",
             QStringLiteral("Turtle </para> & bell\uFFFDDive type: PleasureConditions: "
                            "Saltwater, BoatSurface temperature: 82 %1Exit time: 9:47")
                 .arg(c.units == Units::Metric ? "°C" : "°F")},
        };
        for (const auto& [key, value] : want)
            EXPECT_EQ(r.dives[0].at(key).toStdString(), value.toStdString()) << key.toStdString();
        // Written in order of entry: 9:47 to 13:00 at the surface; the first of a day has none.
        EXPECT_EQ(r.dives[1].at("informationbeforedive/surfaceintervalbeforedive/passedtime"),
                  "11580");
        EXPECT_EQ(r.dives[0].count("informationbeforedive/surfaceintervalbeforedive/passedtime"),
                  0u);
        // The profile's four points; the dive without one has no samples, and the undated
        // one the date a note explains.
        EXPECT_EQ(r.dives[1].at("samples/waypoint/divetime"), "030015001800");
        EXPECT_EQ(r.dives[2].at("informationbeforedive/datetime"), "1900-01-01T00:00:00");
        EXPECT_EQ(r.dives[2].count("samples/waypoint/divetime"), 0u);
    }
}

TEST(Uddf, LinksPointAtWrittenIdsAndEveryByteOfATextIsWellFormed) {
    store::AppState s = markupLog();
    QByteArray every;
    for (int b = 0; b < 256; ++b)
        every.append(static_cast<char>(b));
    s.BuddyList[1].Name = s.Dives[1].Comments = store::text::fromCp1252(every);
    const Read r = readBack(interchange::uddfDocument(s, {1}, Units::Imperial, {}));
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    std::set<QString> ids;
    for (const auto& [key, value] : r.values)
        if (key.endsWith("@id")) {
            EXPECT_TRUE(ids.insert(value).second) << value.toStdString();
        }
    int links = 0;
    for (const auto& [key, value] : r.values)
        if (key.endsWith("link@ref")) {
            ++links;
            EXPECT_TRUE(ids.count(value)) << value.toStdString();
        }
    EXPECT_EQ(links, 3); // site, buddy, gear
}

TEST(Uddf, DiveDateTime) {
    const struct {
        std::array<int16_t, 7> time;
        const char* iso;
    } cases[] = {
        {{7, 4, 1997, 9, 5, 0, 0}, "1997-07-04T09:05:00"},
        {{12, 31, 1999, 24, 0, 0, 0}, "2000-01-01T00:00:00"}, // 24:00 is the next day
        {{7, 4, 1997, 9, 60, 0, 0}, "1997-07-04T10:00:00"},
        {{7, 4, 1997, -1, 5, 0, 0}, "1997-07-04"},
        {{0, 4, 1997, 9, 5, 0, 0}, ""},
        {{7, 4, 0, 9, 5, 0, 0}, ""},
        {{2, 31, 1997, 9, 5, 0, 0}, ""},
    };
    for (const auto& c : cases) {
        store::DiveRecord d;
        d.TimeData = c.time;
        EXPECT_EQ(interchange::diveDateTime(d), QLatin1String(c.iso)) << c.iso;
    }
}

} // namespace
