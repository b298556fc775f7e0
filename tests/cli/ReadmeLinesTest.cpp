// Every command line the README shows keeps working: each is run on a small log and must not
// be refused. A line added to the README's code blocks needs a row here, so this test fails
// until it is tried too.
#include "divers/DiverList.h"
#include "settings/Settings.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "support/CliRun.h"
#include "support/SampleLog.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QRegularExpression>

namespace {

struct Row {
    const char* readme;           // the line as the README shows it, the comment left off
    std::vector<QStringList> runs; // what a diver would type for it, after "reefbook-cli"
};

const Row Rows[] = {
    {"reefbook-cli info", {{"info"}}},
    {"reefbook-cli dump > log.json", {{"dump"}}},
    {"reefbook-cli load log.json", {{"load", "log.json"}}},
    {"reefbook-cli check", {{"check"}}},
    {"reefbook-cli export text|html [--dives all|FIRST-LAST|N,N,...] [--no-comments] [-o FILE|-]",
     {{"export", "text"},
      {"export", "html", "--dives", "all", "--no-comments", "-o", "page.htm"},
      {"export", "text", "--dives=1-2", "-o", "-"},
      {"export", "html", "--dives", "3,1", "-o=-"}}},
    {"reefbook-cli profile DIVE [--json]", {{"profile", "3"}, {"profile", "3", "--json"}}},
    {"reefbook-cli stats [--by ...] [--json]", {{"stats", "--by", "buddy", "--json"}}},
    {"reefbook-cli export pdf [--dives ...] [--no-comments] [--page-size A4|Letter] [--profiles]",
     {{"export", "pdf", "--dives", "1-3", "--no-comments", "--page-size", "Letter", "--profiles",
       "-o", "log.pdf"},
      {"export", "pdf", "--page-size=A4", "-o", "-"}}},
    {"reefbook-cli list [--columns C,C,...] [--sort COLUMN[:desc]] [--filter TEXT] [--json]",
     {{"list"},
      {"list", "--columns", "number,date", "--sort", "number:desc", "--filter", "blue", "--json"},
      {"list", "--columns=number,maxDepth", "--sort=maxDepth"}}},
    {"reefbook-cli edit --dives N,N-M,... --set FIELD=VALUE ...",
     {{"edit", "--dives", "1,2-3", "--set", "rating=good", "--set", "tank=80"},
      {"edit", "--dives=2", "--set=boat=1"}}},
    {"reefbook-cli edit --dives N,N-M,... --set FIELD=VALUE [--set FIELD=VALUE ...]",
     {{"edit", "--dives", "1-2", "--set", "weight=12"}}},
    {"reefbook-cli --diver Ann info", {{"--diver", "Ann", "info"}, {"--diver=Ann", "info"}}},
    {"reefbook-cli --help", {{"--help"}, {"select", "--help"}, {"export", "--help"}}},
    {"reefbook-cli select --dates 1/1/97-12/31/97 --good",
     {{"select", "--dates", "1/1/97-12/31/97", "--good"}}},
    {"reefbook-cli select --numbers 5- --depth 30 --json",
     {{"select", "--numbers", "5-", "--depth", "30", "--json"}}},
    {"reefbook-cli select --condition boat --buddy 1,2 --comment wreck",
     {{"select", "--condition", "boat", "--buddy", "0", "--comment", "wreck"}}},
    {"reefbook-cli stats", {{"stats"}}},
    {"reefbook-cli stats --by location --good", {{"stats", "--by", "location", "--good"}}},
    {"reefbook-cli stats --by month --dates 1/1/97-12/31/97 --all-in-range --json",
     {{"stats", "--by", "month", "--dates", "1/1/97-12/31/97", "--all-in-range", "--json"}}},
    {"reefbook-cli divers", {{"divers"}}},
    {"reefbook-cli divers --json", {{"divers", "--json"}}},
    {"reefbook-cli export uddf [--dives all|FIRST-LAST|N,N,...] [--units imperial|metric] [-o FILE|-]",
     {{"export", "uddf", "--dives", "1-2", "--units", "metric", "-o", "dives.uddf"},
      {"export", "uddf", "--units=imperial", "-o", "-"}}},
    {"reefbook-cli export csv  [--dives all|FIRST-LAST|N,N,...] [--units imperial|metric] [--bom] "
     "[-o FILE|-]",
     {{"export", "csv", "--dives", "all", "--units", "imperial", "--bom", "-o", "dives.csv"}}},
    {"reefbook-cli import uddf FILE [--units imperial|metric] [--dry-run]",
     {{"import", "uddf", "dives.uddf", "--dry-run"}, {"import", "uddf", "dives.uddf"}}},
    {"reefbook-cli import csv  FILE [--units imperial|metric] [--date-format YMD|MDY|DMY] "
     "[--dry-run]",
     {{"import", "csv", "dives.csv", "--units", "imperial", "--dry-run"},
      {"import", "csv", "--dry-run", "dives.csv", "--date-format=MDY"}}},
};

// The README's command lines: indented code lines that start with the program's name, the
// comment after " # " left off.
QStringList readmeLines() {
    QFile file(QStringLiteral(REEFBOOK_README));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines;
    static const QRegularExpression comment(QStringLiteral("\\s+#\\s.*$"));
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (!raw.startsWith(QLatin1String("    reefbook-cli"))) continue;
        lines << raw.trimmed().remove(comment);
    }
    return lines;
}

class ReadmeLines : public TempFolderTest {};

TEST_F(ReadmeLines, EveryLineHasARowAndEveryRowIsInTheReadme) {
    const QStringList lines = readmeLines();
    ASSERT_FALSE(lines.isEmpty());
    for (const QString& line : lines)
        EXPECT_TRUE(std::any_of(std::begin(Rows), std::end(Rows),
                                [&line](const Row& r) { return line == QLatin1String(r.readme); }))
            << "README line without a row: " << line.toStdString();
    for (const Row& r : Rows)
        EXPECT_TRUE(lines.contains(QLatin1String(r.readme))) << "not in the README: " << r.readme;
}

TEST_F(ReadmeLines, NoneIsRefused) {
    ASSERT_TRUE(store::SaveLog(sampleLog()).empty());
    settings::saveDefaultName(QStringLiteral("Ann"));
    writeFile(
        divers::ListFileName,
        store::dvl::serializeDivers({store::DiverEntry{QStringLiteral("Ann"), store::FileSet{}}}));
    writeFile(QStringLiteral("log.json"), runCliCommand({QStringLiteral("dump")}).out);
    for (const Row& r : Rows)
        for (const QStringList& args : r.runs) {
            const CliOutcome outcome = runCliCommand(args);
            // check exits 1 when it finds a problem; only 2 is a refusal.
            EXPECT_NE(outcome.status, cli::ExitError)
                << args.join(QLatin1Char(' ')).toStdString() << ": " << outcome.err.toStdString();
        }
}

} // namespace
