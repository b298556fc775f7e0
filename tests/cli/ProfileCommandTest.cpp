#include "Cli.h"
#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/TestEnv.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using ProfileCommand = TempFolderTest;

struct Result {
    int status = -1;
    QByteArray out;
    QString err;
};

Result profile(QStringList args) {
    Result r;
    QBuffer out(&r.out);
    out.open(QIODevice::WriteOnly);
    QTextStream err(&r.err);
    args.prepend(QStringLiteral("profile"));
    r.status = cli::runCli(args, out, err);
    err.flush();
    return r;
}

} // namespace

TEST_F(ProfileCommand, PrintsTheDivesPointsOrSaysWhyNot) {
    settings::SaveSetting(settings::AppName, QStringLiteral("Startup"), QStringLiteral("Offset"),
                          QStringLiteral("100"));
    store::AppState s;
    store::StartNewLog(s);
    store::AppendEntry(s);
    store::AppendEntry(s);
    s.Dives[1].ProfileNum = 1;
    s.Dives[3].ProfileNum = 7; // the profile file does not hold it
    store::ProfileRecord p;
    p.Times = {0, 3, 20, 45, 0, 50}; // the zero at point 4 ends the profile
    p.Depths = {2, 28, 18, 0, 0, 9};
    p.Notes[0] = QStringLiteral("1:15 \"long\"");
    s.Profiles.push_back(p);
    ASSERT_TRUE(store::SaveLog(s).empty());

    const Result lines = profile({QStringLiteral("101")});
    EXPECT_EQ(cli::ExitOk, lines.status) << lines.err.toStdString();
    EXPECT_EQ("0 2\n3 28\n20 18\n45 0\n", lines.out);

    const Result json = profile({QStringLiteral("--json"), QStringLiteral("101")});
    EXPECT_EQ(cli::ExitOk, json.status);
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(101, o.value(QLatin1String("dive")).toInt());
    EXPECT_EQ(QJsonDocument::fromJson("[[0,2],[3,28],[20,18],[45,0]]").array(),
              o.value(QLatin1String("points")).toArray());
    EXPECT_EQ(QStringLiteral("1:15 \"long\""),
              o.value(QLatin1String("notes")).toArray().at(0).toString());

    struct Row {
        QStringList args;
        int status;
        const char* says;
    };
    const Row rows[] = {
        {{QStringLiteral("102")}, cli::ExitProblems, "dive 102 has no profile"},
        {{QStringLiteral("103")}, cli::ExitProblems, "refers to profile 7, which prof1.dvl"},
        {{QStringLiteral("1")}, cli::ExitError, "there is no dive 1; the log holds dives 101-103"},
        {{QStringLiteral("x")}, cli::ExitError, "\"x\" is not a dive number"},
        {{QStringLiteral("101"), QStringLiteral("102")}, cli::ExitError, "one dive number"},
    };
    for (const Row& r : rows) {
        const Result run = profile(r.args);
        EXPECT_EQ(r.status, run.status) << r.says;
        EXPECT_TRUE(run.err.contains(QLatin1String(r.says))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << r.says;
    }
}
