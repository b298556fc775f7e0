#include "store/DataFolder.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>

namespace store {

namespace {

class DataFolderTest : public TempFolderTest {
  protected:
    // A home folder of the test's own, with `file` in it when given.
    QString home(const QString& file = {}) {
        QDir(dir.path()).mkpath(QStringLiteral("home"));
        const QString h = path(QStringLiteral("home"));
        if (!file.isEmpty()) QFile(h + QLatin1Char('/') + file).open(QIODevice::WriteOnly);
        return h;
    }
};

TEST_F(DataFolderTest, LauncherStartAndDataDir) {
    struct Case {
        const char* what;
        QString dataDir, current, homeFile;
        bool makeLauncherFolder;
        QString folder; // relative to the test's folder; empty to stay put
    };
    const QString homeDir = home();
    const Case cases[] = {
        {"started from a launcher", {}, homeDir, {}, true, "home/Reefbook"},
        {"home folder written as a path with a trailing slash",
         {},
         homeDir + "/",
         {},
         true,
         "home/Reefbook"},
        {"root folder, where nothing can be saved",
         {},
         QDir::rootPath(),
         {},
         true,
         "home/Reefbook"},
        {"logbook kept in the home folder", {}, homeDir, "log1.dvl", true, {}},
        {"any data file counts", {}, homeDir, "mine.dvl", true, {}},
        {"a file that is not ours does not", {}, homeDir, "notes.txt", true, "home/Reefbook"},
        {"started in another folder", {}, dir.path(), {}, true, {}},
        {"the command-line tool never makes ~/Reefbook", {}, homeDir, {}, false, {}},
        {"--data-dir wins", "logs", homeDir, "log1.dvl", false, "home/logs"},
        {"--data-dir absolute", dir.path() + "/abs", "/", {}, true, "abs"},
    };
    for (const Case& c : cases) {
        const QString h = home(c.homeFile);
        const datafolder::Choice choice =
            datafolder::choose(c.dataDir, c.current, h, c.makeLauncherFolder);
        const QString want = c.folder.isEmpty() ? QString() : path(c.folder);
        EXPECT_EQ(choice.folder.toStdString(), want.toStdString()) << c.what;
        EXPECT_EQ(choice.make, !c.folder.isEmpty()) << c.what;
        if (!c.homeFile.isEmpty()) QFile::remove(h + QLatin1Char('/') + c.homeFile);
    }

    // Once ~/Reefbook exists, the command-line tool uses it too.
    QDir(homeDir).mkdir(QStringLiteral("Reefbook"));
    EXPECT_EQ(datafolder::choose({}, homeDir, homeDir, false).folder, path("home/Reefbook"));
}

TEST_F(DataFolderTest, EnteringTheFolder) {
    writeFile(QStringLiteral("taken"), "x");
    EXPECT_TRUE(datafolder::enter(path("taken"), true).contains("is not a folder"));
    EXPECT_TRUE(datafolder::enter(path("missing"), false).contains("does not exist"));
    EXPECT_FALSE(QFileInfo::exists(path("missing")));

    EXPECT_EQ(datafolder::enter(path("new/logs"), true), QString());
    EXPECT_EQ(QDir::currentPath(), QFileInfo(path("new/logs")).canonicalFilePath());
}

} // namespace

} // namespace store
