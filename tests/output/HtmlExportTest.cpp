#include "output/HtmlExport.h"
#include "support/SampleLog.h"

#include "support/TestEnv.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace output {

using namespace output;

namespace {

QByteArray crlf(std::initializer_list<const char*> lines) {
    QByteArray out;
    for (const char* l : lines)
        out += QByteArray(l) + "\r\n";
    return out;
}

// The block of dive 3 of the sample log, comments on.
const QByteArray kExampleBlock = crlf({
    "<center>",
    "<h3><font color=\"#0000c0\">Blue Hole</font></h3>",
    "<img src=\"hface.jpg\">Wall<img src=\"hface.jpg\"><br>",
    "<table border=1>",
    "<table width=600 border=0>",
    "<tr>",
    "<td width=150>Dive: 3</td>",
    "<td width=300></td>",
    "<td>Bottom Time: 42</td>",
    "</tr>",
    "<tr>",
    "<td>Date:7/4/1997</td>",
    "<td align=center>Ann</td>",
    "<td>Total Time: 120</td>",
    "</tr>",
    "<tr>",
    "<td></td>",
    "<td align=center>Wetsuit -- Wt.: 12</td>",
    "<td></td>",
    "</tr>",
    "<tr>",
    "<td>PSI In: 3000</td>",
    "<td></td>",
    "<td>Time In:9:05</td>",
    "</tr>",
    "<tr>",
    "<td>PSI Out: 700</td>",
    "<td>Temp - Air: 84, Surface: 82, Bottom: 78</td>",
    "<td>Time Out:9:47</td>",
    "</tr>",
    "<tr>",
    "<td>Max. Depth: 60</td>",
    "<td></td>",
    "<td></td>",
    "</tr>",
    "<tr>",
    "<td>Avg. Time: 40</td>",
    "<td></td>",
    "<td>Visibility: 80</td>",
    "</tr>",
    "<tr>",
    "<td>Avg. Depth: 55</td>",
    "<td></td>",
    "<td>Tank Sz.: 80</td>",
    "</tr>",
    "<tr>",
    "</tr>",
    "</table>",
    "<br>",
    "<table width=600 border=1>",
    "<tr>",
    "<td width=450>Turtle at the drop-off</td>",
    "<td>",
    "<img src=\"uncheck.jpg\"> Freshwater<br>",
    "<img src=\"check.jpg\"> Saltwater<br>",
    "<img src=\"check.jpg\"> Boat<br>",
    "<img src=\"uncheck.jpg\"> Shore<br>",
    "<img src=\"uncheck.jpg\"> Waves<br>",
    "<img src=\"uncheck.jpg\"> Current<br>",
    "<img src=\"uncheck.jpg\"> Surge<br>",
    "<img src=\"uncheck.jpg\"> Surf<br>",
    "</table>",
    "</table>",
    "</center>",
    "<br>",
});

const QByteArray kClosing =
    crlf({"</center>",
          "<code><a href=\"https://reefbook.example.org/\">Reefbook</a> logbook software by the "
          "Reefbook developers<br>",
          "Copyright (c) 2026 the Reefbook developers</code></body>", "</html>"});

QByteArray heading(const char* name) {
    return crlf({"<html>", "<head>"}) + "<title> Reef Book of " + name + "</title>\r\n" +
           crlf({"</head>", "<body bgcolor=\"#ffffff\">", "<center>"}) + "<h2>" + name +
           "</h2>\r\n";
}

QByteArray diveBlock(const store::AppState& s, int i, bool comments) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteHtmlDive(buffer, s, i, RunningTotals(s), comments));
    return bytes;
}

QList<QByteArray> linesOf(const QByteArray& block) {
    return block.split('\n');
}

} // namespace

TEST(HtmlExport, WorkedExampleByteForByte) {
    EXPECT_EQ(diveBlock(sampleLog(), 3, true), kExampleBlock);
    EXPECT_EQ(kExampleBlock.count("\r\n"), 65);
}

TEST(HtmlExport, WholePageForOneDive) {
    const store::AppState s = sampleLog();
    EXPECT_EQ(exportDocument(HtmlFormat, s, {3}, true),
              heading("John Smith") + kExampleBlock + kClosing);
}

TEST(HtmlExport, EmptySelectionWritesHeadingAndClosingOnly) {
    EXPECT_EQ(exportDocument(HtmlFormat, sampleLog(), {}, true), heading("John Smith") + kClosing);
}

TEST(HtmlExport, LinesThatDependOnTheDive) {
    struct Case {
        const char* what;
        void (*change)(store::DiveRecord&);
        bool comments;
        int line; // 1-based line of the block
        const char* expected;
    };
    const Case cases[] = {
        {"poor face", [](store::DiveRecord& d) { d.Rating = 0; }, true, 3,
         "<img src=\"sface.jpg\">Wall<img src=\"sface.jpg\"><br>\r"},
        {"average face", [](store::DiveRecord& d) { d.Rating = 1; }, true, 3,
         "<img src=\"aface.jpg\">Wall<img src=\"aface.jpg\"><br>\r"},
        {"rating outside 0-2 has no face", [](store::DiveRecord& d) { d.Rating = 3; }, true, 3,
         "Wall<br>\r"},
        {"negative rating has no face", [](store::DiveRecord& d) { d.Rating = -2; }, true, 3,
         "Wall<br>\r"},
        {"comments off leave a single space", [](store::DiveRecord&) {}, false, 52,
         "<td width=450> </td>\r"},
        {"empty comment", [](store::DiveRecord& d) { d.Comments.clear(); }, true, 52,
         "<td width=450></td>\r"},
        {"comment is escaped",
         [](store::DiveRecord& d) {
             d.Comments = QStringLiteral("Depth <30m & \"calm\" > expected");
         },
         true, 52, "<td width=450>Depth &lt;30m &amp; &quot;calm&quot; &gt; expected</td>\r"},
        {"entities already in a comment are escaped again",
         [](store::DiveRecord& d) { d.Comments = QStringLiteral("&amp;"); }, true, 52,
         "<td width=450>&amp;amp;</td>\r"},
        {"Surf is the last condition",
         [](store::DiveRecord& d) { d.CondData = {0, 0, 0, 0, 0, 0, 1, 0}; }, true, 61,
         "<img src=\"check.jpg\"> Surf<br>\r"},
        {"Surge comes before it",
         [](store::DiveRecord& d) { d.CondData = {0, 0, 0, 0, 0, 0, 0, 1}; }, true, 60,
         "<img src=\"check.jpg\"> Surge<br>\r"},
        {"negative values", [](store::DiveRecord& d) { d.DiveData[5] = -2; }, true, 18,
         "<td align=center>Wetsuit -- Wt.:-2</td>\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store::AppState s = sampleLog();
        c.change(s.Dives[3]);
        const QList<QByteArray> lines = linesOf(diveBlock(s, 3, c.comments));
        ASSERT_EQ(lines.size(), 66); // 65 lines and the empty rest after the last LF
        EXPECT_EQ(lines[c.line - 1], QByteArray(c.expected));
    }
}

TEST(HtmlExport, NamesFromTheListsAreEscaped) {
    store::AppState s = sampleLog();
    s.DiverName = QStringLiteral("Tom & \"Jerry\"");
    s.LocationList[1].Name = QStringLiteral("<Reef>");
    s.TypeList[1].Name = QStringLiteral("A&B");
    s.BuddyList[1].Name = QStringLiteral("Ann \"Fish\"");
    s.GearList[1].Name = QStringLiteral("Dry>Wet");
    const QByteArray doc = exportDocument(HtmlFormat, s, {3}, false);
    const QList<QByteArray> lines = linesOf(doc);
    EXPECT_EQ(lines[2], "<title> Reef Book of Tom &amp; &quot;Jerry&quot;</title>\r");
    EXPECT_EQ(lines[6], "<h2>Tom &amp; &quot;Jerry&quot;</h2>\r");
    EXPECT_EQ(lines[8], "<h3><font color=\"#0000c0\">&lt;Reef&gt;</font></h3>\r");
    EXPECT_EQ(lines[9], "<img src=\"hface.jpg\">A&amp;B<img src=\"hface.jpg\"><br>\r");
    EXPECT_EQ(lines[19], "<td align=center>Ann &quot;Fish&quot;</td>\r");
    EXPECT_EQ(lines[24], "<td align=center>Dry&gt;Wet -- Wt.: 12</td>\r");
    // Nothing unescaped from the names is left on the page.
    EXPECT_EQ(doc.indexOf("<Reef>"), -1);
    EXPECT_EQ(doc.indexOf("A&B"), -1);
}

TEST(HtmlExport, TextInTheWindowsCodePage) {
    store::AppState s = sampleLog();
    s.DiverName = QString::fromUtf8("Ren\u00e9e \u2013 \u00c5sa");
    EXPECT_EQ(exportDocument(HtmlFormat, s, {}, true), heading("Ren\xe9"
                                                               "e \x96 \xc5sa") +
                                                           kClosing);
}

class HtmlFileTest : public TempFolderTest {};

TEST_F(HtmlFileTest, WritesThePageAndThePicturesBesideIt) {
    const store::AppState s = sampleLog();
    writeFile(QStringLiteral("check.jpg"), "the diver's own tick");
    const ExportResult r = WriteHtmlFile(s, QStringLiteral("john_smi.htm"), {1, 3}, true);
    EXPECT_TRUE(r.written);
    EXPECT_TRUE(r.problems.empty()) << store::describeProblems(r.problems).toStdString();
    EXPECT_EQ(readFile(QStringLiteral("john_smi.htm")),
              exportDocument(HtmlFormat, s, {1, 3}, true));
    for (const QString& name : pageImageNames()) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = readFile(name);
        if (name == QLatin1String("check.jpg")) {
            EXPECT_EQ(bytes, "the diver's own tick");
        } else {
            QFile embedded(QStringLiteral(":/export/") + name);
            ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
            EXPECT_EQ(bytes, embedded.readAll());
            EXPECT_TRUE(bytes.startsWith("\xff\xd8")); // a JPEG
        }
    }
}

TEST_F(HtmlFileTest, PageThatCannotBeWrittenIsReportedAndNothingElseIsWritten) {
    const store::AppState s = sampleLog();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("john_smi.htm")));
    ExportResult r = WriteHtmlFile(s, QStringLiteral("john_smi.htm"), {3}, true);
    EXPECT_FALSE(r.written);
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].file, "john_smi.htm");
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("sface.jpg"))));

    writeFile(QStringLiteral("old.htm"), "<html>old</html>");
    QFile::setPermissions(path(QStringLiteral("old.htm")), QFileDevice::ReadOwner);
    r = WriteHtmlFile(s, QStringLiteral("old.htm"), {3}, true);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(readFile(QStringLiteral("old.htm")), "<html>old</html>");
}

TEST_F(HtmlFileTest, PicturesThatCannotBeWrittenAreListed) {
    const store::FileProblems problems = writePageImages(path(QStringLiteral("missing-folder")));
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_TRUE(problems[0].file.endsWith(QLatin1String("missing-folder/sface.jpg")));
    // A second run into a folder that exists writes all five and reports nothing.
    EXPECT_TRUE(writePageImages(dir.path()).empty());
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("uncheck.jpg"))));
}

} // namespace output
