#include "app/DesktopArgs.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopArgs, DataDirAndHelp) {
    struct Case {
        QStringList args;
        QString dataDir;
        bool help;
        const char* error; // a piece of the message, or "" for none
    };
    const Case cases[] = {
        {{}, {}, false, ""},
        {{"--data-dir", "/srv/logs"}, "/srv/logs", false, ""},
        {{"--data-dir=My Logs"}, "My Logs", false, ""},
        {{"--help"}, {}, true, ""},
        {{"--data-dir"}, {}, false, "needs a folder"},
        {{"--data-dir="}, {}, false, "needs a folder"},
        {{"--datadir", "x"}, {}, false, "unknown argument \"--datadir\""},
        {{"log1.dvl"}, {}, false, "unknown argument"},
    };
    for (const Case& c : cases) {
        const DesktopArgs line = parseDesktopArgs(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(line.dataDir, c.dataDir) << what;
        EXPECT_EQ(line.help, c.help) << what;
        EXPECT_EQ(line.error.isEmpty(), *c.error == 0) << what;
        EXPECT_TRUE(line.error.contains(QString::fromUtf8(c.error))) << what;
    }
}

} // namespace
