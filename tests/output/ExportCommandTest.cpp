#include "output/ExportCommand.h"
#include "ExportOptions.h"
#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "support/SampleLog.h"

#include "support/DeviceFiles.h"
#include "support/TestEnv.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace output {

using namespace output;

namespace {

struct ExportRun {
    int code = -1;
    QByteArray out;
    QString err;
};

ExportRun runExport(store::AppState& state, const QStringList& args) {
    ExportRun r;
    QBuffer out(&r.out);
    out.open(QIODevice::WriteOnly);
    QTextStream err(&r.err);
    // The words as the command line gives them, read by the program's own option parser.
    r.code = cli::exportWords(state, args, out, err);
    err.flush();
    return r;
}

// The dive numbers of a text export, in the order they were written.
std::vector<int> diveNumbers(const QByteArray& text) {
    std::vector<int> numbers;
    static const QRegularExpression re(QStringLiteral("^Dive:\\s*(-?\\d+)\\t"),
                                       QRegularExpression::MultilineOption);
    auto it = re.globalMatch(QString::fromLatin1(text));
    while (it.hasNext())
        numbers.push_back(it.next().captured(1).toInt());
    return numbers;
}

} // namespace

class ExportCommandTest : public TempFolderTest {};

TEST_F(ExportCommandTest, ChoosingDives) {
    // Offset 100, 20 dives: the log holds dives 101 to 120.
    struct Case {
        QStringList dives; // the --dives words, empty for none
        std::vector<int> written;
    };
    std::vector<int> everyDive;
    for (int n = 101; n <= 120; ++n)
        everyDive.push_back(n);
    const Case cases[] = {
        {{}, everyDive},
        {{"--dives", "all"}, everyDive},
        {{"--dives", "105-107"}, {105, 106, 107}},
        {{"--dives=105-107"}, {105, 106, 107}},
        {{"--dives", "90-103"}, {101, 102, 103}},  // start before the log
        {{"--dives", "118-500"}, {118, 119, 120}}, // end after the log
        {{"--dives", "104-102"}, {101, 102}},      // start after end: start goes to the first
        {{"--dives", "125-130"}, {}},              // as the range fields would leave it
        {{"--dives", "104,101"}, {104, 101}},      // a list keeps its own order
        {{"--dives", "120, 101 ,120"}, {120, 101, 120}},
        {{"--dives", "110"}, {110}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dives.join(QLatin1Char(' ')).toStdString());
        store::AppState s = numberedLog(20, 100);
        const ExportRun r = runExport(s, QStringList{"text"} << c.dives << QStringList{"-o", "-"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_EQ(diveNumbers(r.out), c.written);
        EXPECT_TRUE(r.out.startsWith("Reef Book of O'Brien, Pat\r\n"));
    }
}

TEST_F(ExportCommandTest, NegativeOffsetGivesNegativeDiveNumbers) {
    store::AppState s = numberedLog(20, -10); // dives -9 to 10
    ExportRun r = runExport(s, {"text", "--dives", "-5--3", "-o", "-"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(diveNumbers(r.out), (std::vector<int>{-5, -4, -3}));
    r = runExport(s, {"text", "--dives", "10,-9,0", "-o", "-"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(diveNumbers(r.out), (std::vector<int>{10, -9, 0}));
    r = runExport(s, {"text", "--dives", "-10", "-o", "-"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String("-10"))) << r.err.toStdString();
}

TEST_F(ExportCommandTest, BadArgumentsWriteNothing) {
    struct Case {
        QStringList args;
        const char* named; // what the one-line message must name
    };
    const Case cases[] = {
        {{"text", "--dives", "104,999"}, "999"},
        {{"text", "--dives", "104,100"}, "100"},
        {{"html", "--dives", "abc"}, "abc"},
        {{"text", "--dives", "101,,102"}, "101,,102"},
        {{"text", "--dives", "1-"}, "1-"},
        {{"text", "--dives", "101-102-103"}, "101-102-103"},
        {{"text", "--dives", "1.5"}, "1.5"},
        {{"text", "--dives"}, "--dives"},
        {{"text", "-o"}, "-o"},
        {{"text", "-o", ""}, "-o"},
        {{"text", "--colour"}, "--colour"},
        {{"pdf"}, "PDF"}, // this library has no painter; the command-line program gives one
        {{"pdf", "--page-size", "A5"}, "A5"},
        {{"text", "--page-size", "A4"}, "--page-size"},
        {{}, "text|html|pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        store::AppState s = numberedLog(20, 100);
        const ExportRun r = runExport(s, c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(QLatin1String(c.named))) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
}

TEST_F(ExportCommandTest, WritesTheBaseNameFileInTheCurrentFolder) {
    store::AppState s = numberedLog(3, 0);
    ExportRun r = runExport(s, {"text", "--no-comments"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readFile(QStringLiteral("o_brien_.txt")),
              exportDocument(TextFormat, s, {1, 2, 3}, false));
    EXPECT_EQ(r.out, "Wrote o_brien_.txt (3 dives)\n");

    r = runExport(s, {"html", "--dives", "3,1"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray page = readFile(QStringLiteral("o_brien_.htm"));
    EXPECT_EQ(page, exportDocument(HtmlFormat, s, {3, 1}, true));
    EXPECT_NE(page.indexOf("comment 3"), -1);
    for (const QString& picture : pageImageNames())
        EXPECT_TRUE(QFileInfo::exists(path(picture))) << picture.toStdString();

    s.DiverName.clear();
    r = runExport(s, {"html", "-o", "page.htm", "--no-comments"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readFile(QStringLiteral("page.htm")),
              exportDocument(HtmlFormat, s, {1, 2, 3}, false));
    r = runExport(s, {"text"});
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("default.txt"))));

    // A page in another folder gets its pictures in that folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("web")));
    r = runExport(s, {"html", "-o", "web/log.htm"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readFile(QStringLiteral("web/log.htm")),
              exportDocument(HtmlFormat, s, {1, 2, 3}, true));
    for (const QString& picture : pageImageNames())
        EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("web/") + picture)));
}

TEST_F(ExportCommandTest, StandardOutputGetsTheRawBytes) {
    store::AppState s = sampleLog();
    s.Dives[3].Comments = QString::fromUtf8("na\u00efve <b>");
    const ExportRun r = runExport(s, {"html", "-o", "-", "--dives", "3"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, exportDocument(HtmlFormat, s, {3}, true));
    EXPECT_NE(r.out.indexOf("na\xefve &lt;b&gt;"), -1);
    // No page file, so no pictures either.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ExportCommandTest, FileThatCannotBeWrittenFailsWithItsName) {
    store::AppState s = numberedLog(3, 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("o_brien_.txt")));
    const ExportRun r = runExport(s, {"text"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(r.err.contains(QLatin1String("o_brien_.txt"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    QBuffer closed; // standard output that refuses the bytes
    QString err;
    QTextStream errStream(&err);
    ExportRequest toStdOut;
    toStdOut.format = QStringLiteral("text");
    toStdOut.outGiven = true;
    toStdOut.outName = QStringLiteral("-");
    EXPECT_EQ(exportCommand(s, toStdOut, closed, errStream), 2);
    errStream.flush();
    EXPECT_FALSE(err.isEmpty());
}

// A device or a pipe is written to, never replaced by a new file; a symbolic link is written
// through and stays a link. Every failure carries the system's reason.
TEST_F(ExportCommandTest, TargetsThatAreNotPlainFiles) {
    store::AppState s = numberedLog(2, 0);
    const QByteArray text = exportDocument(TextFormat, s, {1, 2}, true);

    ASSERT_EQ(mkfifo(path("pipe").toLocal8Bit().constData(), 0600), 0);
    // A reader that is there before the export and never blocks: the few bytes fit in the
    // pipe's buffer, and a file renamed over the pipe would leave it empty.
    const int fd = ::open(path("pipe").toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    const ExportRun toPipe = runExport(s, {"text", "-o", path("pipe")});
    QByteArray piped(2 * text.size(), '\0');
    piped.resize(std::max<qsizetype>(::read(fd, piped.data(), piped.size()), 0));
    EXPECT_EQ(runExport(s, {"html", "-o", path("pipe")}).code, 0);
    ::close(fd);
    EXPECT_FALSE(QFile::exists(path("sface.jpg"))); // no pictures beside a pipe
    EXPECT_EQ(toPipe.code, 0) << toPipe.err.toStdString();
    EXPECT_EQ(piped, text);
    struct stat st {};
    ASSERT_EQ(stat(path("pipe").toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("synced")));
    writeFile("synced/log.txt", "old");
    ASSERT_TRUE(QFile::link(QStringLiteral("synced/log.txt"), path("link.txt")));
    EXPECT_EQ(runExport(s, {"text", "-o", "link.txt"}).code, 0);
    EXPECT_TRUE(QFileInfo(path("link.txt")).isSymLink());
    EXPECT_EQ(readFile("synced/log.txt"), text);

    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    const QString device = deviceCopy(path("full"), 7, "/dev/full");
    const ExportRun full = runExport(s, {"text", "-o", device});
    EXPECT_EQ(full.code, 2);
    EXPECT_TRUE(full.err.endsWith(QLatin1String(": No space left on device\n")))
        << full.err.toStdString();
    ASSERT_EQ(stat(device.toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

} // namespace output
