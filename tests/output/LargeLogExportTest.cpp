#include "output/ByteWriter.h"
#include "output/Credits.h"
#include "output/DiveChoice.h"
#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "store/Text.h"
#include "support/SampleLog.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace output {

using namespace output;

namespace {

std::vector<QString> everyText(const store::AppState& s) {
    std::vector<QString> texts{s.DiverName, QString(QChar(0xD800)) + QStringLiteral("&"),
                               QStringLiteral("\"") + QChar(0xDC00)};
    for (size_t i = 1; i < s.Dives.size(); ++i)
        texts.push_back(s.Dives[i].Comments);
    for (int which = 0; which < 4; ++which)
        for (const store::ListEntry& e : s.list(which))
            texts.insert(texts.end(), {e.Name, e.Info, e.Picture});
    for (const store::ProfileRecord& p : s.Profiles)
        texts.insert(texts.end(), p.Notes.begin(), p.Notes.end());
    return texts;
}

// Windows-1252 spelt one character at a time from the code page's own chart: bytes 0x80 to
// 0x9F, the five it leaves undefined standing for the C1 control of the same value.
QByteArray slowCp1252(const QString& s, bool html) {
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QByteArray out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        const char* entity = c == u'&'   ? "&amp;"
                             : c == u'<' ? "&lt;"
                             : c == u'>' ? "&gt;"
                             : c == u'"' ? "&quot;"
                                         : nullptr;
        if (html && entity) {
            out += entity;
            continue;
        }
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        const char16_t* at = std::find(std::begin(high), std::end(high), c);
        if (at != std::end(high)) {
            out += static_cast<char>(0x80 + (at - high));
            continue;
        }
        // Anything else is one '?', a character written as a surrogate pair included.
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ++i;
        out += '?';
    }
    return out;
}

} // namespace

TEST(LargeLogExport, TextsComeOutAsWhenEscapedOneCharacterAtATime) {
    for (const QString& t : everyText(awkwardLog(1000))) {
        ByteWriter escaped, plain;
        escaped.escaped(t);
        plain.text(t);
        ASSERT_EQ(escaped.take(), slowCp1252(t, true)) << t.toStdString();
        ASSERT_EQ(plain.take(), slowCp1252(t, false)) << t.toStdString();
    }
}

// The whole file, built at once and sent in chunks, is the heading, the block of each dive
// made from the texts the windows show, and the closing lines; heading and closing as the
// formats' own tests spell them.
TEST(LargeLogExport, WholeFilesAreTheBlocksOfEachDive) {
    const store::AppState s = awkwardLog(2500);
    const std::vector<int> dives = divesFor(s, DiveChoice::All);
    const RunningTotals totals(s);
    for (const bool html : {false, true}) {
        for (const bool comments : {true, false}) {
            SCOPED_TRACE(html ? "html" : "text");
            const QByteArray whole =
                exportDocument(html ? HtmlFormat : TextFormat, s, dives, comments);
            const QByteArray name = slowCp1252(s.DiverName, html);
            QByteArray expected =
                html ? "<html>\r\n<head>\r\n<title> Reef Book of " + name +
                           "</title>\r\n</head>\r\n<body bgcolor=\"#ffffff\">\r\n<center>\r\n<h2>" +
                           name + "</h2>\r\n"
                     : "Reef Book of " + name + "\r\n";
            for (int i : dives) {
                const DiveValues v = makeDiveValues(s, i, totals);
                expected += exportDiveBlock(html ? HtmlFormat : TextFormat, v, comments);
            }
            const QByteArray credits = QByteArray(credits::Product) + (html ? "</a>" : "") +
                                       " logbook software by " + credits::Makers +
                                       (html ? "<br>\r\n" : "\r\n") + "Copyright (c) " +
                                       credits::Year + ' ' + credits::Makers;
            expected += html ? "</center>\r\n<code><a href=\"" + QByteArray(credits::Address) +
                                   "\">" + credits + "</code></body>\r\n</html>\r\n"
                             : credits + "\r\n";
            EXPECT_TRUE(whole == expected);

            QByteArray streamed;
            QBuffer device(&streamed);
            device.open(QIODevice::WriteOnly);
            EXPECT_TRUE(
                writeExportDocument(html ? HtmlFormat : TextFormat, device, s, dives, comments));
            EXPECT_TRUE(streamed == whole);
        }
    }
}

} // namespace output
