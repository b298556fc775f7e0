#include "print/PrintDoc.h"

#include <gtest/gtest.h>

using print::PrintDoc;
using print::PrintItem;

namespace {

// Every text run of a page, top to bottom.
QStringList texts(const PrintDoc& doc, int page) {
    QStringList out;
    for (const PrintItem& item : doc.page(page))
        if (item.kind == PrintItem::Text) out << item.text;
    return out;
}

} // namespace

TEST(PrintDoc, TableStringsComeApartIntoColumnsAndCells) {
    struct Case {
        const char* table;
        std::vector<int> widths;
        std::vector<Qt::Alignment> aligns;
        std::vector<bool> plus;
        std::vector<QStringList> rows;
    };
    const Qt::Alignment L = Qt::AlignLeft, C = Qt::AlignHCenter;
    const Case cases[] = {
        {"<+1440|^+7870|<+1440; ; |Blue Hole| ; |Wall| ;",
         {1440, 7870, 1440},
         {L, C, L},
         {true, true, true},
         {{" "}, {" ", "Blue Hole", " "}, {" ", "Wall", " "}}},
        {"<8540|<+2210;\rsome\rtext|\r->Boat\r;",
         {8540, 2210},
         {L, L},
         {false, true},
         {{"\rsome\rtext", "\r->Boat\r"}}},
        {"^300;", {300}, {C}, {false}, {}},
        {"", {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        const print::TableFormat t = print::parseTable(QString::fromLatin1(c.table));
        ASSERT_EQ(c.widths.size(), t.columns.size());
        for (size_t k = 0; k < t.columns.size(); ++k) {
            EXPECT_EQ(c.widths[k], t.columns[k].width);
            EXPECT_EQ(c.aligns[k], t.columns[k].align);
            EXPECT_EQ(c.plus[k], t.columns[k].plus);
        }
        EXPECT_EQ(c.rows, t.rows);
    }
}

TEST(PrintDoc, CellsBreakAtCarriageReturnsAndWrapWithinTheirColumn) {
    PrintDoc doc;
    doc.StartDoc();
    doc.setFontSize(12);
    const double top = doc.CurrentY();
    doc.AddTable(QStringLiteral("<2000|^3000;one\rtwo| ;") +
                 QStringLiteral("a b c d e f g h i j k l m n o p q r s t u v w x y z|x;"));
    EXPECT_EQ(doc.CurrentX(), PrintDoc::Margin);
    EXPECT_GT(doc.CurrentY(), top);

    const QStringList all = texts(doc, 0);
    // The blank cell draws nothing; "one" and "two" stand one above the other.
    EXPECT_EQ(QStringList({"one", "two"}), all.mid(0, 2));
    EXPECT_EQ(doc.page(0)[0].rect.left(), doc.page(0)[1].rect.left());
    EXPECT_LT(doc.page(0)[0].rect.top(), doc.page(0)[1].rect.top());
    // The alphabet wraps into several lines, all inside the 2000-twip column, none lost.
    QString joined;
    for (const PrintItem& item : doc.page(0)) {
        if (item.kind != PrintItem::Text || item.text == QLatin1String("x") ||
            item.rect.top() < top)
            continue;
        if (item.text == QLatin1String("one") || item.text == QLatin1String("two")) continue;
        EXPECT_LE(print::textWidthOf(item.style, item.text), 2000.0) << item.text.toStdString();
        joined += item.text + QLatin1Char(' ');
    }
    EXPECT_EQ(QStringLiteral("a b c d e f g h i j k l m n o p q r s t u v w x y z "), joined);
}

TEST(PrintDoc, TablesMoveOnOrSplitAcrossPagesAndNothingIsCutOff) {
    PrintDoc doc;
    doc.StartDoc();
    doc.setFontSize(12);
    // Near the bottom a small table starts on the next page, at the top of its body.
    doc.setCurrentY(doc.bodyBottom() - 100);
    doc.setTableBorder(4);
    doc.AddTable(QStringLiteral("<3000;moved;"));
    EXPECT_EQ(2, doc.pageCount());
    EXPECT_EQ(1, doc.lastTablePage());
    EXPECT_EQ(QPointF(PrintDoc::Margin, doc.bodyTop()), doc.lastTableTopLeft());
    EXPECT_EQ(QStringList{"moved"}, texts(doc, 1));

    // A cell far taller than a page runs on over the following pages, line by line.
    QStringList words;
    for (int k = 0; k < 400; ++k)
        words << QStringLiteral("w%1").arg(k);
    doc.AddTable(QStringLiteral("<1500|<1500;") + words.join(QLatin1Char('\r')) +
                 QStringLiteral("|side;"));
    ASSERT_GT(doc.pageCount(), 4);
    QStringList seen;
    for (int p = 1; p < doc.pageCount(); ++p)
        for (const PrintItem& item : doc.page(p)) {
            EXPECT_GE(item.rect.top(), doc.bodyTop() - 1);
            EXPECT_LE(item.rect.bottom(), doc.bodyBottom() + 1);
            if (item.kind == PrintItem::Text && item.text.startsWith(QLatin1Char('w')))
                seen << item.text;
        }
    EXPECT_EQ(words, seen);
}
