// Writes the seed inputs of the fuzz targets with the program's own writers, one folder per
// target: write_seeds <folder> (the committed seeds live in tests/data/seeds).
#include "cli/JsonDump.h"
#include "interchange/Csv.h"
#include "interchange/Uddf.h"
#include "settings/Settings.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "store/Text.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QDir top;

void put(const QString& target, const QString& name, const QByteArray& bytes) {
    top.mkpath(target);
    QFile f(top.filePath(target + QLatin1Char('/') + name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

store::AppState sample() {
    store::AppState s;
    s.DiverName = QStringLiteral("Ann Example");
    s.LocationList = {{"Pool", {}, {}}, {"Blue Hole", "Wall to 40 m", "bluehole.jpg"}};
    s.TypeList = {{"Pleasure", {}, {}}, {"Night", "after dark", {}}};
    s.BuddyList = {{"None", {}, {}}, {"Bob", "instructor", {}}};
    s.GearList = {{"Standard", {}, {}}, {"Wetsuit 7 mm", {}, {}}};
    store::DiveRecord d1;
    d1.TimeData = {7, 4, 1997, 9, 5, 9, 47};
    d1.DiveData = {3000, 700, 80, 42, 60, 12, 84, 82, 78, 80};
    d1.ListData = {1, 1, 1, 1};
    d1.CondData = {0, 1, 1, 0, 0, 0, 0, 0};
    d1.Rating = 2;
    d1.ProfileNum = 1;
    // Line breaks as stored (CR LF) and bytes the code page leaves undefined travel unchanged.
    d1.Comments =
        store::text::fromCp1252(QByteArray("Turtle at the drop-off\r\nCaf\xe9 \x80 \x81"));
    store::DiveRecord d2;
    d2.TimeData = {12, 31, 2001, 23, 59, 0, 30};
    d2.DiveData = {-1, 32767, -32768, 1, 2, 3, 4, 5, 6, 7};
    d2.ListData = {5, 0, -1, 0};
    d2.Rating = 1;
    s.Dives = {store::DiveRecord{}, d1, d2, store::DiveRecord{}};
    store::ProfileRecord p;
    for (int i = 0; i < 5; ++i) {
        p.Times[static_cast<size_t>(i)] = static_cast<int16_t>(i * 5);
        p.Depths[static_cast<size_t>(i)] = static_cast<int16_t>(i * 12 % 37);
    }
    p.Notes[0] = QStringLiteral("safety stop");
    s.Profiles = {store::ProfileRecord{}, p};
    s.CurrentDive = s.DiveCount();
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_seeds FOLDER\n");
        return 2;
    }
    top = QDir(QString::fromLocal8Bit(argv[1]));
    const store::AppState s = sample();
    const std::vector<store::DiveRecord> dives(s.Dives.begin() + 1, s.Dives.end());
    put("log", "three.dvl", store::dvl::serializeLog(dives));
    put("log", "new.dvl", store::dvl::serializeLog({store::DiveRecord{}}));
    put("list", "types.dvl", store::dvl::serializeList(s.TypeList, false));
    put("list", "default.dvl", store::dvl::serializeList(store::defaultList(2), false));
    put("location_list", "locations.dvl", store::dvl::serializeList(s.LocationList, true));
    put("profiles", "profiles.dvl", store::dvl::serializeProfiles(s.Profiles));
    put("divers", "divers.dvl",
        store::dvl::serializeDivers(
            {{"Ann Example", store::FileSet::numbered(1)},
             {"Bob", {"bob.dvl", "loc1.dvl", "t2.dvl", "b2.dvl", "g2.dvl", "p2.dvl"}}}));
    put("json_load", "log.json", cli::dumpJson(s));
    put("interchange_import", "log.uddf",
        interchange::uddfDocument(s, {1, 2, 3}, interchange::Units::Metric, {}));
    put("interchange_import", "log.csv",
        interchange::csvDocument(s, {1, 2, 3}, interchange::Units::Imperial));

    // The settings as the program writes them, and as a diver might type them by hand.
    QTemporaryDir store;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    settings::saveDefaultDiver({"Ann Example", store::FileSet::numbered(2)}, 2);
    settings::saveOptions(499, 1);
    QSettings(settings::AppName, settings::AppName).sync();
    QFile written(store.path() + QStringLiteral("/Reefbook/Reefbook.conf"));
    if (!written.open(QIODevice::ReadOnly)) return 1;
    put("settings", "saved.conf", written.readAll());
    put("settings", "typed.conf",
        "[Startup]\nMultiFlag=1\nOffset= 12\n\n[Multi]\nDefName=Smith, John\nDefNumber=x\n");
    return 0;
}
