#include "Cli.h"
#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/CliRun.h"
#include "support/TestEnv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class SelectCli : public TempFolderTest {
  protected:
    // Five dives numbered from 11; dives 2 and 5 rated good, dive 3 a shore dive of 65 minutes.
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::SaveSetting(settings::AppName, QStringLiteral("Startup"),
                              QStringLiteral("Offset"), QStringLiteral("10"));
        store::AppState s;
        store::StartDefaultLists(s);
        s.Dives.resize(6);
        s.Dives[2].Rating = s.Dives[5].Rating = 2;
        s.Dives[3].CondData[3] = 1;
        s.Dives[3].DiveData[store::field::BottomTime] = 65;
        s.Dives[4].Comments = QStringLiteral("Wreck");
        ASSERT_TRUE(store::SaveLog(s).empty());
        before = readFile(QStringLiteral("log1.dvl"));
    }

    int run(const QStringList& args) {
        const CliOutcome r = runCliCommand(QStringList{QStringLiteral("select")} + args);
        out = r.out;
        err = r.err;
        return r.status;
    }

    QByteArray out, before;
    QString err;
};

} // namespace

TEST_F(SelectCli, BadArgumentsAreNamed) {
    const std::pair<QStringList, const char*> rows[] = {
        {{"--dates", "1/1/97-", "--numbers", "1-2"}, "--dates and --numbers"},
        {{"--numbers", "5"}, "--numbers \"5\""},
        {{"--dates", "1/97-2/1/97"}, "--dates \"1/97-2/1/97\""},
        {{"--tank"}, "--tank needs a value"},
        {{"--depth", "3", "--depth", "4"}, "--depth given twice"},
        {{"--condition", "murky"}, "--condition \"murky\""},
        {{"--location", "0,x"}, "--location \"0,x\""},
        {{"--gear", "1"}, "--gear 1: the gear list has 1 entry"},
        {{"--good=yes"}, "--good takes no value"},
        {{"--wet"}, "\"--wet\""},
        // The dialog reads a box that is not a number as its default; the command refuses it.
        {{"--tank", "abc"}, "--tank \"abc\": \"abc\" is not a number"},
        {{"--depth", "10-x"}, "--depth \"10-x\": \"x\" is not a number"},
        {{"--numbers", "abc-def"}, "--numbers \"abc-def\": \"abc\" is not a number"},
        {{"--dates", "1/x/97-2/1/97"}, "--dates \"1/x/97-2/1/97\": \"x\" is not a number"},
    };
    for (const auto& [args, named] : rows) {
        EXPECT_EQ(cli::ExitError, run(args)) << args.join(' ').toStdString();
        EXPECT_TRUE(err.contains(QLatin1String(named))) << err.toStdString();
        EXPECT_EQ(1, err.count(QLatin1Char('\n'))) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
}

TEST_F(SelectCli, PrintsTheFiguresAndTheDives) {
    ASSERT_EQ(cli::ExitOk, run({"--good", "--condition", "Shore", "--comment", "wreck"}));
    EXPECT_EQ(QByteArray("Matched: 4\nTotal Dives: 5\n% Matched: 80\n12\n13\n14\n15\n"), out);

    ASSERT_EQ(cli::ExitOk, run({"--numbers", "3-", "--bottom-time=60-", "--good", "--json"}));
    const QJsonObject o = QJsonDocument::fromJson(out).object();
    EXPECT_EQ((QStringList{"dives", "indexes", "matched", "percent", "total"}), o.keys());
    EXPECT_EQ(2, o.value("matched").toInt());
    EXPECT_EQ(5, o.value("total").toInt());
    EXPECT_EQ(40, o.value("percent").toInt());
    EXPECT_EQ((QJsonArray{13, 15}), o.value("dives").toArray());
    EXPECT_EQ((QJsonArray{3, 5}), o.value("indexes").toArray());

    ASSERT_EQ(cli::ExitOk, run({"--dates", "1/1/97-12/31/97", "--all-in-range"}));
    EXPECT_TRUE(out.startsWith("Matched: 0\n")) << "undated dives lie outside";
    EXPECT_EQ(before, readFile(QStringLiteral("log1.dvl")));
}
