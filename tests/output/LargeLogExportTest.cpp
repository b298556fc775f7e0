#include "SampleLog.h"
#include "output/ByteWriter.h"
#include "output/Credits.h"
#include "output/DiveChoice.h"
#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "store/Text.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace output;

namespace {

std::vector<QString> everyText(const AppState& s) {
    std::vector<QString> texts{s.DiverName, QString(QChar(0xD800)) + QStringLiteral("&"),
                               QStringLiteral("\"") + QChar(0xDC00)};
    for (size_t i = 1; i < s.Dives.size(); ++i)
        texts.push_back(s.Dives[i].Comments);
    for (int which = 0; which < 4; ++which)
        for (const ListEntry& e : s.list(which))
            texts.insert(texts.end(), {e.Name, e.Info, e.Picture});
    for (const ProfileRecord& p : s.Profiles)
        texts.insert(texts.end(), p.Notes.begin(), p.Notes.end());
    return texts;
}

} // namespace

TEST(LargeLogExport, TextsComeOutAsWhenEscapedOneCharacterAtATime) {
    for (const QString& t : everyText(awkwardLog(1000))) {
        ByteWriter escaped, plain;
        escaped.escaped(t);
        plain.text(t);
        ASSERT_EQ(escaped.take(), text::toCp1252(htmlEscaped(t))) << t.toStdString();
        ASSERT_EQ(plain.take(), text::toCp1252(t)) << t.toStdString();
    }
}

// The whole file, built at once and sent in chunks, is the heading, the block of each dive
// made from the texts the windows show, and the closing lines.
TEST(LargeLogExport, WholeFilesAreTheBlocksOfEachDive) {
    const AppState s = awkwardLog(2500);
    const std::vector<int> dives = divesFor(s, DiveChoice::All);
    const RunningTotals totals(s);
    for (const bool html : {false, true}) {
        for (const bool comments : {true, false}) {
            SCOPED_TRACE(html ? "html" : "text");
            const QByteArray whole =
                exportDocument(html ? HtmlFormat : TextFormat, s, dives, comments);
            QByteArray expected = exportDocument(html ? HtmlFormat : TextFormat, s, {}, comments);
            QByteArray blocks;
            for (int i : dives) {
                const DiveValues v = makeDiveValues(s, i, totals);
                blocks += exportDiveBlock(html ? HtmlFormat : TextFormat, v, comments);
            }
            const QByteArray closing = html ? QByteArray("</center>\r\n<code>")
                                            : QByteArray(credits::Product) + " logbook software";
            expected.insert(expected.lastIndexOf(closing), blocks);
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
