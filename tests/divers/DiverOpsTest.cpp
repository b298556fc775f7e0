#include "divers/DiverOps.h"
#include "settings/Settings.h"
#include "divers/DiverList.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QSettings>

namespace divers {

namespace {

class DiverOps : public TempFolderTest {};

QString setting(const char* key) {
    return settings::GetSetting(settings::AppName, QStringLiteral("Multi"), QLatin1String(key),
                                QStringLiteral("<absent>"));
}

// Ann (1), Bob (2, shares Ann's locations), Cy (3); every file of the three exists.
store::AppState family() {
    store::AppState s;
    s.DiverList = {store::DiverEntry{QStringLiteral("Ann"), store::FileSet::numbered(1)},
                   store::DiverEntry{QStringLiteral("Bob"), store::FileSet::numbered(2)},
                   store::DiverEntry{QStringLiteral("Cy"), store::FileSet::numbered(3)}};
    s.DiverList[1].Files.LocFile = QStringLiteral("loc1.dvl");
    return s;
}

void touchAll(const store::AppState& s) {
    for (const store::DiverEntry& d : s.DiverList)
        for (const QString& f : d.Files.names()) {
            QFile file(f);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(f.toLatin1());
        }
}

QStringList names(const store::AppState& s) {
    QStringList out;
    for (const store::DiverEntry& d : s.DiverList)
        out << d.Name;
    return out;
}

} // namespace

TEST_F(DiverOps, NewNamesAreTrimmedAndComparedWithoutCase) {
    store::AppState s = family();
    struct Case {
        QString typed;
        divers::NameCheck expected;
        QString stored;
    };
    const Case cases[] = {
        {"", divers::NameCheck::Empty, ""},
        {"   ", divers::NameCheck::Empty, ""},
        {"ann", divers::NameCheck::Used, "ann"},
        {" BOB ", divers::NameCheck::Used, "BOB"},
        {"  Dee Dee ", divers::NameCheck::Ok, "Dee Dee"},
        {QStringLiteral("Zo\u00eb \u20ac"), divers::NameCheck::Ok,
         QStringLiteral("Zo\u00eb \u20ac")},
        {QStringLiteral("\u0416enya"), divers::NameCheck::NotStorable,
         QStringLiteral("\u0416enya")},
    };
    for (const Case& c : cases) {
        QString stored = QStringLiteral("unset");
        EXPECT_EQ(divers::checkNewName(s, c.typed, &stored), c.expected) << c.typed.toStdString();
        EXPECT_EQ(stored, c.stored) << c.typed.toStdString();
    }
}

TEST_F(DiverOps, OffsetBox) {
    using K = OffsetCheck;
    struct Case {
        const char* text;
        K::Kind kind;
        int value;
    };
    for (const Case& c :
         {Case{"", K::Unchanged, 0}, Case{"-1", K::OutOfRange, 0}, Case{"0", K::Accepted, 0},
          Case{"499", K::Accepted, 499}, Case{"30000", K::Accepted, 30000},
          Case{"30001", K::OutOfRange, 0}, Case{"12abc", K::OutOfRange, 0},
          Case{"1.5", K::OutOfRange, 0}, Case{"99999999999", K::OutOfRange, 0}}) {
        const K r = checkOffset(QLatin1String(c.text));
        EXPECT_EQ(r.kind, c.kind) << c.text;
        if (c.kind == K::Accepted) {
            EXPECT_EQ(r.value, c.value) << c.text;
        }
    }
}

TEST_F(DiverOps, AddNamesNewFilesSharesListsAndStepsPastTakenNames) {
    struct Case {
        const char* what;
        std::vector<QString> onDisk; // files that exist already
        std::array<int, 4> shared;   // 0 new, k share diver k
        store::FileSet expected;
    };
    store::FileSet shares3 = store::FileSet::numbered(3);
    shares3.LocFile = QStringLiteral("loc1.dvl");
    shares3.GearFile = QStringLiteral("gear2.dvl");
    const Case cases[] = {
        {"third diver, all new", {}, {0, 0, 0, 0}, store::FileSet::numbered(3)},
        {"shares locations of 1, gear of 2", {}, {1, 0, 0, 2}, shares3},
        {"log3.dvl left behind by a deleted diver",
         {"log3.dvl"},
         {0, 0, 0, 0},
         store::FileSet::numbered(4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store::AppState s = family(); // two divers before the new one
        s.DiverList.pop_back();
        for (const QString& f : c.onDisk)
            writeFile(f, "x");
        divers::AddDiver(s, QStringLiteral("New"), c.shared);
        ASSERT_EQ(s.DiverList.size(), 3u);
        EXPECT_EQ(s.DiverList.back().Files.names(), c.expected.names());
        for (const QString& f : c.onDisk)
            QFile::remove(f);
    }
}

TEST_F(DiverOps, SelectAndSetDefaultWriteTheListAndTheKeys) {
    store::AppState first; // no divers.dvl: the open diver alone; no row means the default diver
    ASSERT_TRUE(divers::LoadDiverList(first).empty());
    EXPECT_EQ(QByteArray(""), readFile(divers::ListFileName)) << "created empty";
    EXPECT_TRUE(QFile::exists(divers::ListFileName));
    ASSERT_TRUE(divers::LoadDiverList(first).empty()) << "an empty list is no fault";
    ASSERT_EQ(1u, first.DiverList.size());
    ASSERT_TRUE(divers::SelectDiver(first, 0).empty());
    EXPECT_EQ(readFile(divers::ListFileName),
              bytesOf(R"(01 00 07 00 "Default" 08 00 "log1.dvl" 08 00 "loc1.dvl" 09 00 "type1.dvl"
                         08 00 "bud1.dvl" 09 00 "gear1.dvl" 09 00 "prof1.dvl")"));

    store::AppState s = family();
    ASSERT_TRUE(divers::SetDefault(s, 2).empty());
    EXPECT_EQ(s.DefaultDiver, 2);
    EXPECT_EQ(setting("DefNumber"), QStringLiteral("2"));
    EXPECT_EQ(setting("DefName"), QStringLiteral("Bob"));
    EXPECT_EQ(setting("DefLoc"), QStringLiteral("loc1.dvl"));
    EXPECT_EQ(store::dvl::parseDivers(readFile(divers::ListFileName)), s.DiverList);
    ASSERT_TRUE(divers::SelectDiver(s, 3).empty());
    EXPECT_EQ(s.DiverName, QStringLiteral("Cy"));
    EXPECT_EQ(s.DefaultDiver, 2); // selecting never changes the default
}

TEST_F(DiverOps, DeleteKeepsSharedFilesRenumbersAndFollowsTheDefault) {
    struct Case {
        const char* what;
        int defaultDiver;
        int position;
        bool logExists;
        divers::DeleteCheck check;
        QStringList left;  // names in the list afterwards
        int defaultAfter;  // DefaultDiver afterwards
        QString defNumber; // stored "DefNumber" afterwards
        QStringList gone;  // files no longer in the folder
    };
    const QStringList bobOwn = {"log2.dvl", "type2.dvl", "bud2.dvl", "gear2.dvl", "prof2.dvl"};
    const QStringList all3 = {"Ann", "Bob", "Cy"};
    const Case cases[] = {
        {"the default diver", 2, 2, true, divers::DeleteCheck::IsDefault, all3, 2, "<absent>", {}},
        {"no row", 1, 0, true, divers::DeleteCheck::NoSelection, all3, 1, "<absent>", {}},
        {"before the default", 3, 2, true, divers::DeleteCheck::Ok, {"Ann", "Cy"}, 2, "2", bobOwn},
        {"the last one",
         1,
         3,
         true,
         divers::DeleteCheck::Ok,
         {"Ann", "Bob"},
         1,
         "<absent>",
         {"log3.dvl", "loc3.dvl", "type3.dvl", "bud3.dvl", "gear3.dvl", "prof3.dvl"}},
        {"log file missing",
         1,
         2,
         false,
         divers::DeleteCheck::Ok,
         {"Ann", "Cy"},
         1,
         "<absent>",
         {"log2.dvl"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QSettings(settings::AppName, settings::AppName).clear();
        store::AppState s = family();
        s.DefaultDiver = static_cast<int16_t>(c.defaultDiver);
        touchAll(s);
        if (!c.logExists) QFile::remove(QStringLiteral("log2.dvl"));

        EXPECT_EQ(divers::checkDelete(s, c.position), c.check);
        const store::FileProblems failures = divers::DeleteDiver(s, c.position);
        EXPECT_TRUE(failures.empty()) << store::describeProblems(failures).toStdString();
        EXPECT_EQ(names(s), c.left);
        EXPECT_EQ(s.DefaultDiver, c.defaultAfter);
        EXPECT_EQ(setting("DefNumber"), c.defNumber);
        if (c.defNumber == "2") { // the keys follow him
            EXPECT_EQ(setting("DefName"), QStringLiteral("Cy"));
        }
        for (const store::DiverEntry& d : family().DiverList)
            for (const QString& f : d.Files.names())
                EXPECT_EQ(QFile::exists(f), !c.gone.contains(f)) << f.toStdString();
        if (c.check == divers::DeleteCheck::Ok) { // the list on disk agrees at once
            EXPECT_EQ(store::dvl::parseDivers(readFile(divers::ListFileName)), s.DiverList);
        }
        for (const store::DiverEntry& d : family().DiverList)
            for (const QString& f : d.Files.names())
                QFile::remove(f);
        QFile::remove(divers::ListFileName);
    }
}

// Deleted files go to the user's trash when he has one; never into the diver's folder.
TEST_F(DiverOps, DeletedFilesGoToTheTrashWhereThereIsOne) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    for (const bool haveTrash : {true, false}) {
        SCOPED_TRACE(haveTrash);
        QTemporaryDir home;
        const QString data = home.filePath(QStringLiteral("data"));
        if (haveTrash) QDir().mkpath(data);
        qputenv("XDG_DATA_HOME", data.toLocal8Bit());
        writeFile(QStringLiteral("log2.dvl"), "dives");
        bool trashed = !haveTrash;
        EXPECT_TRUE(store::fileio::discardFile(QStringLiteral("log2.dvl"), &trashed).isEmpty());
        EXPECT_EQ(trashed, haveTrash);
        EXPECT_FALSE(QFile::exists(QStringLiteral("log2.dvl")));
        EXPECT_EQ(QFile::exists(data + QStringLiteral("/Trash/files/log2.dvl")), haveTrash);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
    }
    qputenv("XDG_DATA_HOME", saved);
}

// A new diver sharing another diver's locations starts with those locations, and saving his
// log leaves the shared file as it was.
TEST_F(DiverOps, ASharedListIsReadNotReplaced) {
    store::AppState ann;
    store::StartNewLog(ann);
    ann.LocationList = {
        store::ListEntry{QStringLiteral("Blue Hole"), QStringLiteral("Belize"), {}},
        store::ListEntry{QStringLiteral("Thistlegorm"), QStringLiteral("Red Sea"), {}}};
    ASSERT_TRUE(store::SaveLog(ann).empty());
    const QByteArray locations = readFile(QStringLiteral("loc1.dvl"));

    store::AppState s;
    s.DiverList = {store::DiverEntry{QStringLiteral("Ann"), store::FileSet::numbered(1)}};
    divers::AddDiver(s, QStringLiteral("Bob"), {1, 0, 0, 0});
    ASSERT_TRUE(divers::SelectDiver(s, 2).empty());
    EXPECT_EQ(s.Files.LocFile, QStringLiteral("loc1.dvl"));
    ASSERT_TRUE(store::OpenLog(s).empty());
    EXPECT_EQ(s.LocationList.size(), 2u);
    ASSERT_TRUE(store::SaveLog(s).empty());
    EXPECT_EQ(readFile(QStringLiteral("loc1.dvl")), locations);
    EXPECT_TRUE(QFile::exists(QStringLiteral("log2.dvl")));
}

} // namespace divers
