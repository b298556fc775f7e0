#include "output/TextExport.h"
#include "support/SampleLog.h"

#include "support/TestEnv.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace output {

using namespace output;

namespace {

// The block of dive 3 of the sample log, comments off.
const QByteArray kExampleBlock =
    "Blue Hole\t[Good Dive]\r\n"
    "Dive: 3\tWall\tBottom Time: 42\r\n"
    "Date:7/4/1997\tAnn\tTotal Time: 120\r\n"
    "\t\tWetsuit--Wt.: 12\r\n"
    "PSI In: 3000\t\t\tTime In:9:05\r\n"
    "PSI Out: 700\tTemp - Air: 84, Surface: 82, Bottom: 78\tTime Out:9:47\r\n"
    " \r\n"
    "Max. Depth: 60\r\n"
    "Avg. Time: 40\t\t\tVisibility: 80\r\n"
    "Avg. Depth: 55\t\t\tTank Sz.: 80\r\n"
    " \r\n"
    "Saltwater\r\n"
    "Boat\r\n"
    "\r\r\r\n";

const QByteArray kCredits = "Reefbook logbook software by the Reefbook developers\r\n"
                            "Copyright (c) 2026 the Reefbook developers\r\n";

QByteArray diveBlock(const store::AppState& s, int i, bool comments) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteTextDive(buffer, s, i, RunningTotals(s), comments));
    return bytes;
}

} // namespace

TEST(TextExport, WorkedExampleByteForByte) {
    const store::AppState s = sampleLog();
    EXPECT_EQ(diveBlock(s, 3, false), kExampleBlock);
}

TEST(TextExport, DiveWrittenAloneKeepsTheLogsRunningTotals) {
    const store::AppState s = sampleLog();
    const QByteArray doc = exportDocument(TextFormat, s, {3}, false);
    EXPECT_EQ(doc, "Reef Book of John Smith\r\n" + kExampleBlock + kCredits);
}

TEST(TextExport, BlockVariants) {
    // Each case changes the example dive and names the lines that must change with it.
    struct Case {
        const char* what;
        void (*change)(store::DiveRecord&);
        bool comments;
        QByteArray firstLine;
        QByteArray tail; // from the second single-space line to the end of the block
    };
    const Case cases[] = {
        {"no condition set, comment follows the space line",
         [](store::DiveRecord& d) { d.CondData = {}; }, true, "Blue Hole\t[Good Dive]\r\n",
         " \r\nTurtle at the drop-off\r\n\r\r\r\n"},
        {"empty comment is an empty line", [](store::DiveRecord& d) { d.Comments.clear(); }, true,
         "Blue Hole\t[Good Dive]\r\n", " \r\nSaltwater\r\nBoat\r\n\r\n\r\r\r\n"},
        {"comment line breaks travel as they are",
         [](store::DiveRecord& d) { d.Comments = QStringLiteral("one\r\ntwo"); }, true,
         "Blue Hole\t[Good Dive]\r\n", " \r\nSaltwater\r\nBoat\r\none\r\ntwo\r\n\r\r\r\n"},
        {"rating outside 0-2 has no text", [](store::DiveRecord& d) { d.Rating = 3; }, false,
         "Blue Hole\t\r\n", " \r\nSaltwater\r\nBoat\r\n\r\r\r\n"},
        {"negative rating", [](store::DiveRecord& d) { d.Rating = -1; }, false, "Blue Hole\t\r\n",
         " \r\nSaltwater\r\nBoat\r\n\r\r\r\n"},
        {"poor", [](store::DiveRecord& d) { d.Rating = 0; }, false, "Blue Hole\t[Poor Dive]\r\n",
         " \r\nSaltwater\r\nBoat\r\n\r\r\r\n"},
        {"average", [](store::DiveRecord& d) { d.Rating = 1; }, false,
         "Blue Hole\t[Average Dive]\r\n", " \r\nSaltwater\r\nBoat\r\n\r\r\r\n"},
        {"all conditions, in output order",
         [](store::DiveRecord& d) { d.CondData = {1, 1, 1, 1, 1, 1, 1, 1}; }, false,
         "Blue Hole\t[Good Dive]\r\n",
         " \r\nFreshwater\r\nSaltwater\r\nBoat\r\nShore\r\nWaves\r\nCurrent\r\nSurge\r\nSurf\r\n"
         "\r\r\r\n"},
        {"any non-zero flag counts as set",
         [](store::DiveRecord& d) { d.CondData = {0, 0, 0, 0, 0, -1, 0, 2}; }, false,
         "Blue Hole\t[Good Dive]\r\n", " \r\nCurrent\r\nSurge\r\n\r\r\r\n"},
        {"comment in the Windows code page",
         [](store::DiveRecord& d) { d.Comments = QString::fromUtf8("caf\u00e9 \u20ac5 \u4e2d"); },
         true, "Blue Hole\t[Good Dive]\r\n",
         " \r\nSaltwater\r\nBoat\r\ncaf\xe9 \x80"
         "5 ?\r\n\r\r\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store::AppState s = sampleLog();
        c.change(s.Dives[3]);
        const QByteArray block = diveBlock(s, 3, c.comments);
        EXPECT_TRUE(block.startsWith(c.firstLine)) << block.toStdString();
        const qsizetype secondSpace = block.indexOf(" \r\n", block.indexOf(" \r\n") + 1);
        ASSERT_GT(secondSpace, 0);
        EXPECT_EQ(block.mid(secondSpace), c.tail);
    }
}

TEST(TextExport, EmptySelectionWritesHeadingAndCreditsOnly) {
    store::AppState s = sampleLog();
    s.DiverName = QString::fromUtf8("Ren\u00e9e");
    EXPECT_EQ(exportDocument(TextFormat, s, {}, true), "Reef Book of Ren\xe9"
                                                       "e\r\n" +
                                                           kCredits);
}

TEST(TextExport, DivesInTheOrderGivenAndStrayIndexesSkipped) {
    const store::AppState s = numberedLog(5, 10);
    const QByteArray doc = exportDocument(TextFormat, s, {4, 0, 1, 99, -3}, true);
    const qsizetype four = doc.indexOf("Dive: 14\t");
    const qsizetype one = doc.indexOf("Dive: 11\t");
    ASSERT_GE(four, 0);
    ASSERT_GE(one, 0);
    EXPECT_LT(four, one);
    EXPECT_EQ(doc.count("Dive:"), 2);
    // Dive 4 of durations 1..4: total 10, average 2.
    EXPECT_NE(
        doc.indexOf("Dive: 14\tPleasure\tBottom Time: 4\r\nDate:0/0/0\tNone\tTotal Time: 10\r\n"),
        -1);
}

TEST(TextExport, WritesThroughADevice) {
    const store::AppState s = sampleLog();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writeExportDocument(TextFormat, buffer, s, {3}, false));
    EXPECT_EQ(bytes, "Reef Book of John Smith\r\n" + kExampleBlock + kCredits);
    // A device that is not open for writing refuses: that must not count as written.
    QBuffer closed;
    EXPECT_FALSE(writeExportDocument(TextFormat, closed, s, {3}, false));
    EXPECT_FALSE(WriteTextDive(closed, s, 3, RunningTotals(s), false));
}

class TextFileTest : public TempFolderTest {};

TEST_F(TextFileTest, WritesTheFile) {
    const store::AppState s = sampleLog();
    const ExportResult r = WriteTextFile(s, QStringLiteral("john_smi.txt"), {3}, false);
    EXPECT_TRUE(r.written);
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(readFile(QStringLiteral("john_smi.txt")),
              "Reef Book of John Smith\r\n" + kExampleBlock + kCredits);
}

TEST_F(TextFileTest, FileThatCannotBeWrittenIsReportedAndThePreviousOneStays) {
    const store::AppState s = sampleLog();

    // A folder standing where the file should go.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("blocked.txt")));
    ExportResult r = WriteTextFile(s, QStringLiteral("blocked.txt"), {3}, true);
    EXPECT_FALSE(r.written);
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].file, "blocked.txt");
    EXPECT_FALSE(r.problems[0].what.isEmpty());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("blocked.txt"))).isDir());

    // A read-only file keeps its bytes.
    writeFile(QStringLiteral("old.txt"), "previous export");
    QFile::setPermissions(path(QStringLiteral("old.txt")), QFileDevice::ReadOwner);
    r = WriteTextFile(s, QStringLiteral("old.txt"), {3}, true);
    EXPECT_FALSE(r.written);
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].file, "old.txt");
    EXPECT_EQ(readFile(QStringLiteral("old.txt")), "previous export");

    // A folder that does not exist.
    r = WriteTextFile(s, path(QStringLiteral("no/such/folder.txt")), {3}, true);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(r.problems.size(), 1u);
}

TEST(TextExport, LongTextOutsideAsciiGrowsTheBlock) {
    store::AppState s = sampleLog();
    QString comment;
    QByteArray expected;
    for (int k = 0; k < 20000; ++k) {
        comment += QString::fromUtf8(k % 2 ? "\u00e9" : "\u20ac") + QLatin1Char('x');
        expected += k % 2 ? "\xe9x" : "\x80x";
    }
    s.Dives[3].Comments = comment;
    const QByteArray block =
        exportDiveBlock(TextFormat, makeDiveValues(s, 3, RunningTotals(s)), true);
    EXPECT_TRUE(block.startsWith(kExampleBlock.left(kExampleBlock.size() - 4)));
    EXPECT_TRUE(block.endsWith(expected + "\r\n\r\r\r\n"));
    EXPECT_EQ(block.size(), kExampleBlock.size() + expected.size() + 2);
}

TEST(TextExport, RefilledValuesLeaveNothingOfTheDiveBefore) {
    store::AppState s = sampleLog();
    s.Dives[1].TimeData = {1, 2, 3, 4, 5, 6, 7};
    s.Dives[1].CondData = {1, 0, 0, 0, 0, 0, 0, 0};
    const RunningTotals totals(s);
    DiveValues reused;
    for (int i : {3, 1, 2, 3}) {
        SCOPED_TRACE(i);
        makeDiveValues(reused, s, i, totals);
        const DiveValues fresh = makeDiveValues(s, i, totals);
        EXPECT_EQ(exportDiveBlock(TextFormat, reused, true),
                  exportDiveBlock(TextFormat, fresh, true));
    }
}

} // namespace output
