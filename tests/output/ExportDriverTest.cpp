#include "output/ExportDriver.h"

#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "support/SampleLog.h"
#include "support/TestEnv.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace output {

using namespace output;

class ExportDriverTest : public TempFolderTest {};

// The sequence the print window and reefbook-cli share, for each format: the default name,
// a data file refused before anything is tried, and the file written with what goes beside it.
TEST_F(ExportDriverTest, EachFormatGoesThroughTheSameSequence) {
    const store::AppState s = sampleLog(); // John Smith, with the default file names
    const struct {
        const ExportFormat& format;
        const char* name;
        bool pictures;
    } cases[] = {{TextFormat, "john_smi.txt", false}, {HtmlFormat, "john_smi.htm", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(exportFileName(s, c.format.extension), QLatin1String(c.name));

        writeFile(QStringLiteral("log1.dvl"), "the log");
        const ExportResult refused =
            exportToFile(c.format, s, QStringLiteral("log1.dvl"), {1, 2, 3}, true);
        EXPECT_FALSE(refused.written);
        EXPECT_TRUE(refused.refusal.contains(QLatin1String("the log of the open diver")))
            << refused.refusal.toStdString();
        EXPECT_EQ(readFile(QStringLiteral("log1.dvl")), "the log");

        const ExportResult r = exportToFile(c.format, s, QLatin1String(c.name), {3, 1}, false);
        EXPECT_TRUE(r.written);
        EXPECT_TRUE(r.refusal.isEmpty());
        EXPECT_TRUE(r.problems.empty());
        EXPECT_EQ(readFile(QLatin1String(c.name)), exportDocument(c.format, s, {3, 1}, false));
        EXPECT_EQ(QFileInfo::exists(path(QStringLiteral("check.jpg"))), c.pictures);
    }
}

TEST_F(ExportDriverTest, BytesMadeElsewhereAreCheckedTheSameWay) {
    const store::AppState s = sampleLog();
    EXPECT_EQ(exportFileName(s, ".pdf"), QStringLiteral("john_smi.pdf"));
    EXPECT_FALSE(exportBytesToFile(s, QStringLiteral("gear1.dvl"), "%PDF").refusal.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gear1.dvl"))));
    const ExportResult r = exportBytesToFile(s, QStringLiteral("out.pdf"), "%PDF");
    EXPECT_TRUE(r.written);
    EXPECT_EQ(readFile(QStringLiteral("out.pdf")), "%PDF");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.pdf")));
    const ExportResult blocked = exportBytesToFile(s, QStringLiteral("taken.pdf"), "%PDF");
    EXPECT_FALSE(blocked.written);
    ASSERT_EQ(blocked.problems.size(), 1u);
    EXPECT_EQ(blocked.problems[0].file, QStringLiteral("taken.pdf"));
}

} // namespace output
