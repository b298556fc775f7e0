#include "Cli.h"
#include "divers/DiverList.h"
#include "settings/Settings.h"
#include "store/DvlFormat.h"
#include "support/CliRun.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class DiversCli : public TempFolderTest {
  protected:
    int run(const QStringList& args) {
        const CliOutcome r = runCliCommand(args);
        out = r.out;
        err = r.err;
        return r.status;
    }
    QByteArray out;
    QString err;
};

TEST_F(DiversCli, ListsTheDiversAsTheFileHoldsThem) {
    // No divers.dvl: the settings' diver alone.
    settings::saveDefaultName(QStringLiteral("Ann"));
    ASSERT_EQ(run({QStringLiteral("divers"), QStringLiteral("--json")}), cli::ExitOk);
    EXPECT_EQ(QJsonDocument::fromJson(out).toJson(QJsonDocument::Compact),
              R"({"default":1,"divers":[{"files":{"buddies":"bud1.dvl","gear":"gear1.dvl",)"
              R"("locations":"loc1.dvl","log":"log1.dvl","profiles":"prof1.dvl",)"
              R"("types":"type1.dvl"},"name":"Ann","position":1}]})");

    store::FileSet bobs = store::FileSet::numbered(2);
    bobs.LocFile = QStringLiteral("loc1.dvl");
    writeFile(divers::ListFileName,
              store::dvl::serializeDivers(
                  {store::DiverEntry{QStringLiteral("Ann"), store::FileSet::numbered(1)},
                   store::DiverEntry{QStringLiteral("Bob"), bobs}}));
    settings::saveDefaultDiver(store::DiverEntry{QStringLiteral("Bob"), bobs}, 2);
    ASSERT_EQ(run({QStringLiteral("divers")}), cli::ExitOk);
    EXPECT_EQ(QString::fromUtf8(out),
              QStringLiteral("  1  Ann\n"
                             "     log1.dvl loc1.dvl type1.dvl bud1.dvl gear1.dvl prof1.dvl\n"
                             "  2  Bob (default)\n"
                             "     log2.dvl loc1.dvl type2.dvl bud2.dvl gear2.dvl prof2.dvl\n"));
    ASSERT_EQ(run({QStringLiteral("divers"), QStringLiteral("--json")}), cli::ExitOk);
    const QJsonObject top = QJsonDocument::fromJson(out).object();
    EXPECT_EQ(top.value("default").toInt(), 2);
    EXPECT_EQ(top.value("divers")[1]["files"]["locations"].toString(), "loc1.dvl");
    EXPECT_EQ(top.value("divers")[1]["position"].toInt(), 2);
    EXPECT_TRUE(err.isEmpty());

    EXPECT_EQ(run({QStringLiteral("divers"), QStringLiteral("extra")}), cli::ExitError);
    EXPECT_TRUE(out.isEmpty());
    // It writes nothing: the folder holds only the list written above.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{divers::ListFileName});
}

} // namespace
