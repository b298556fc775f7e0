#include "DesktopArgs.h"

#include <QRegularExpression>

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
        {{"-h"}, {}, true, ""},
        {{"--help=yes"}, {}, false, "--help takes no value"},
        {{"--data-dir"}, {}, false, "needs a folder"},
        {{"--data-dir="}, {}, false, "needs a folder"},
        {{"--datadir", "x"}, {}, false, "unknown argument \"--datadir\""},
        {{"log1.dvl"}, {}, false, "unknown argument"},
    };
    for (const Case& c : cases) {
        const cli::DesktopArgs line = cli::parseDesktopArgs(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(line.dataDir, c.dataDir) << what;
        EXPECT_EQ(line.help, c.help) << what;
        EXPECT_EQ(line.error.isEmpty(), *c.error == 0) << what;
        EXPECT_TRUE(line.error.contains(QString::fromUtf8(c.error))) << what;
    }
}

TEST(DesktopArgs, UsageListsEveryOptionTheParserTakes) {
    // The usage text and the parser come from one list: each option listed is one accepted.
    const QString usage = cli::desktopUsage();
    for (const cli::OptionDef& o : cli::desktopOptions()) {
        const QString head = QStringLiteral("--") + o.name +
                             (o.valueName.isEmpty() ? QString() : QLatin1Char(' ') + o.valueName);
        const QRegularExpression line(
            QStringLiteral("\n  %1 +%2\n")
                .arg(QRegularExpression::escape(head), QRegularExpression::escape(o.help)));
        EXPECT_TRUE(usage.contains(line)) << head.toStdString();
        QStringList args{QStringLiteral("--") + o.name};
        if (!o.valueName.isEmpty()) args << QStringLiteral("somewhere");
        EXPECT_TRUE(cli::parseDesktopArgs(args).error.isEmpty()) << head.toStdString();
    }
    EXPECT_TRUE(usage.startsWith(QStringLiteral("Usage: reefbook [--data-dir DIR]\n")));
}

} // namespace
