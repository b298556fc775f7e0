#include "settings/Settings.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QSettings>

namespace {

using Settings = TempFolderTest;

// The settings file itself, read back as text: where and how the values really land.
QString storeText(const QTemporaryDir& settingsDir) {
    QFile f(settingsDir.filePath(QStringLiteral("Reefbook/Reefbook.conf")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

void put(const char* section, const char* key, const QString& value) {
    settings::SaveSetting(settings::AppName, QLatin1String(section), QLatin1String(key), value);
}

} // namespace

TEST_F(Settings, CleanStoreGivesTheDefaultsAndOffersTheRenameOnce) {
    store::AppState s;
    s.DiverName = QStringLiteral("stale");
    s.DiveOffset = 7;
    s.MultiFlag = 1;
    int renames = 0;
    settings::readStartup(s, [&renames](store::AppState&) { ++renames; });
    EXPECT_EQ(renames, 1);
    EXPECT_EQ(s.MultiFlag, 0);
    EXPECT_EQ(s.DiveOffset, 0);
    EXPECT_EQ(s.DiverName, QStringLiteral("Default"));
    EXPECT_EQ(s.DefaultDiver, 1);
    EXPECT_EQ(s.Files, store::FileSet::numbered(1));
    EXPECT_EQ(s.Files.LogFile, QStringLiteral("log1.dvl"));
    // Reading writes nothing to the store.
    EXPECT_FALSE(QFile::exists(settingsDir.filePath(QStringLiteral("Reefbook/Reefbook.conf"))));
}

TEST_F(Settings, NameEnteredInTheRenameHookIsTheOneOpened) {
    store::AppState s;
    settings::readStartup(
        s, [](store::AppState&) { settings::saveDefaultName(QStringLiteral("Ann")); });
    EXPECT_EQ(s.DiverName, QStringLiteral("Ann"));
    EXPECT_TRUE(storeText(settingsDir).contains(QStringLiteral("DefName=Ann")));

    // With a name other than "Default" no rename is offered.
    int renames = 0;
    settings::readStartup(s, [&renames](store::AppState&) { ++renames; });
    EXPECT_EQ(renames, 0);
    EXPECT_EQ(s.DiverName, QStringLiteral("Ann"));
}

TEST_F(Settings, SetDefaultWritesEveryKeyAndIsReadBack) {
    store::DiverEntry bob{QStringLiteral("Bob, \"the fish\" \u00c5s"), store::FileSet::numbered(2)};
    bob.Files.LocFile = QStringLiteral("loc1.dvl"); // shares diver 1's locations
    settings::saveDefaultDiver(bob, 2);

    const QString text = storeText(settingsDir);
    EXPECT_TRUE(text.contains(QStringLiteral("[Multi]")));
    for (const char* line : {"DefLog=log2.dvl", "DefLoc=loc1.dvl", "DefType=type2.dvl",
                             "DefBud=bud2.dvl", "DefGear=gear2.dvl", "DefNumber=2",
                             "DefProf=prof2.dvl"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;

    store::AppState s;
    int renames = 0;
    settings::readStartup(s, [&renames](store::AppState&) { ++renames; });
    EXPECT_EQ(renames, 0);
    EXPECT_EQ(s.DiverName, bob.Name);
    EXPECT_EQ(s.Files, bob.Files);
    EXPECT_EQ(s.DefaultDiver, 2);
}

TEST_F(Settings, OptionsAreWrittenAsDecimalText) {
    settings::saveOptions(499, 1);
    const QString text = storeText(settingsDir);
    EXPECT_TRUE(text.contains(QStringLiteral("[Startup]")));
    EXPECT_TRUE(text.contains(QStringLiteral("Offset=499")));
    EXPECT_TRUE(text.contains(QStringLiteral("MultiFlag=1")));
    store::AppState s;
    settings::readStartup(s, nullptr);
    EXPECT_EQ(s.DiveOffset, 499);
    EXPECT_EQ(s.MultiFlag, 1);

    settings::saveOptions(-3, 0);
    settings::readStartup(s, nullptr);
    EXPECT_EQ(s.DiveOffset, -3);
    EXPECT_EQ(s.MultiFlag, 0);
}

// A value edited by hand that is not a number reads as the key's default.
TEST_F(Settings, NumericKeysThatAreNotNumbersReadAsDefault) {
    struct Case {
        const char* section;
        const char* key;
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"Startup", "Offset", "abc", 0},        {"Startup", "Offset", "12ft", 0},
        {"Startup", "Offset", "99999", 0},      {"Startup", "Offset", "", 0},
        {"Startup", "Offset", " 250 ", 250},    {"Startup", "Offset", "1.5", 0},
        {"Multi", "DefNumber", "x", 1},         {"Multi", "DefNumber", "3", 3},
        {"Multi", "DefNumber", "-40000", 1},    {"Startup", "MultiFlag", "yes", 0},
        {"Startup", "MultiFlag", "2", 0},       {"Startup", "MultiFlag", "1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << "=\"" << c.text << "\"");
        put(c.section, c.key, QLatin1String(c.text));
        store::AppState s;
        settings::readStartup(s, nullptr);
        const int got = QByteArray(c.key) == "Offset"      ? s.DiveOffset
                        : QByteArray(c.key) == "DefNumber" ? s.DefaultDiver
                                                           : s.MultiFlag;
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(Settings, AbsentKeysGiveTheirDefaultAndStoredTextComesBack) {
    EXPECT_EQ(settings::GetSetting(settings::AppName, QStringLiteral("Multi"),
                                   QStringLiteral("DefGear"), QStringLiteral("fallback")),
              QStringLiteral("fallback"));
    for (const QString& v : {QStringLiteral("a, b"), QStringLiteral("x=y;z"),
                             QStringLiteral("  padded  "), QStringLiteral("\u00e9\u20ac")}) {
        put("Multi", "DefGear", v);
        EXPECT_EQ(settings::GetSetting(settings::AppName, QStringLiteral("Multi"),
                                       QStringLiteral("DefGear"), QString()),
                  v);
    }
}

// The settings file can be edited by hand; commas there must not empty a name.
TEST_F(Settings, HandEditedValuesWithCommasKeepTheirText) {
    ASSERT_TRUE(QDir(settingsDir.path()).mkpath(QStringLiteral("Reefbook")));
    QFile f(settingsDir.filePath(QStringLiteral("Reefbook/Reefbook.conf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Multi]\nDefName=Smith, John\nDefLog=log1.dvl\n[Startup]\nOffset=12\n");
    f.close();
    store::AppState s;
    settings::readStartup(s, nullptr);
    EXPECT_EQ(s.DiverName, QStringLiteral("Smith, John"));
    EXPECT_EQ(s.Files.LogFile, QStringLiteral("log1.dvl"));
    EXPECT_EQ(s.DiveOffset, 12);
}
