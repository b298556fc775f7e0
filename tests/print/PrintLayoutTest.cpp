#include "print/PrintLayout.h"

#include "SampleLog.h"

#include <gtest/gtest.h>

#include <map>

using print::PrintDoc;
using print::PrintItem;
using print::PrintLayout;

namespace {

// The text runs of a page grouped into lines by their top edge, left to right.
std::vector<QStringList> lines(const PrintDoc& doc, int page) {
    std::map<long, std::map<double, QString>> rows;
    for (const PrintItem& item : doc.page(page))
        if (item.kind == PrintItem::Text)
            rows[std::lround(item.rect.top())][item.rect.left()] = item.text;
    std::vector<QStringList> out;
    for (const auto& row : rows) {
        QStringList cells;
        for (const auto& cell : row.second)
            cells << cell.second;
        out.push_back(cells);
    }
    return out;
}

const PrintItem* textItem(const PrintDoc& doc, const QString& text) {
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const PrintItem& item : doc.page(p))
            if (item.kind == PrintItem::Text && item.text == text) return &item;
    return nullptr;
}

std::vector<const PrintItem*> pictures(const PrintDoc& doc, int page) {
    std::vector<const PrintItem*> out;
    for (const PrintItem& item : doc.page(page))
        if (item.kind == PrintItem::Picture) out.push_back(&item);
    return out;
}

} // namespace

TEST(PrintLayout, OneDiveIsATitleADetailsAndAConditionsTable) {
    const std::vector<QStringList> details = {
        {"Dive: 3", "Bottom Time: 42"},
        {"Date:7/4/1997", "Ann", "Total Time: 120"},
        {"Wetsuit -- Wt.: 12"},
        {"PSI In: 3000", "Time In:9:05"},
        {"PSI Out: 700", "Temp - Air: 84, Surface: 82, Bottom: 78", "Time Out:9:47"},
        {"Max. Depth: 60"},
        {"Avg. Time: 40", "Buddy:__________________________________", "Visibility: 80"},
        {"Avg. Depth: 55", "Signatures:______________________________", "Tank Sz.: 80"}};
    const QStringList conditions = {"   Freshwater", "->Saltwater", "->Boat",   "   Shore",
                                    "   Waves",      "   Current",  "   Surge", "   Surf"};
    for (bool withComments : {true, false}) {
        SCOPED_TRACE(withComments);
        const AppState s = sampleLog();
        PrintDoc doc;
        PrintLayout layout(doc, s);
        layout.withComments = withComments;
        layout.BuildPrintDoc({3});
        ASSERT_EQ(1, doc.pageCount());

        std::vector<QStringList> expected = {{"Reef Book of John Smith"}, {"Blue Hole"}, {"Wall"}};
        expected.insert(expected.end(), details.begin(), details.end());
        // The comment's first line sits beside the first condition, after a blank line.
        expected.push_back(withComments ? QStringList{"Turtle at the drop-off", conditions[0]}
                                        : QStringList{conditions[0]});
        for (qsizetype k = 1; k < conditions.size(); ++k)
            expected.push_back({conditions[k]});
        EXPECT_EQ(expected, lines(doc, 0));

        // Location 15 pt bold blue; the type and every other cell 12 pt plain black.
        for (const PrintItem& item : doc.page(0)) {
            if (item.kind != PrintItem::Text || item.text.startsWith(QLatin1String("Reef Book")))
                continue;
            const bool title = item.text == QLatin1String("Blue Hole");
            EXPECT_EQ(title ? 15.0 : 12.0, item.style.pointSize) << item.text.toStdString();
            EXPECT_EQ(title, item.style.bold) << item.text.toStdString();
            EXPECT_EQ(title ? QColor(Qt::blue) : QColor(Qt::black), item.style.color);
            EXPECT_EQ(QStringLiteral("Arial"), item.style.family);
        }
        const PrintItem* heading = textItem(doc, QStringLiteral("Reef Book of John Smith"));
        ASSERT_NE(nullptr, heading);
        EXPECT_EQ(QStringLiteral("Courier New"), heading->style.family);
    }
}

TEST(PrintLayout, TheFaceStandsBesideTheLocationForRatingsZeroToTwoOnly) {
    const print::Faces faces = print::Faces::standard();
    ASSERT_FALSE(faces.poor.isNull());
    struct Case {
        int rating;
        const QImage* face;
    };
    for (const Case& c : {Case{0, &faces.poor}, Case{1, &faces.average}, Case{2, &faces.good},
                          Case{3, nullptr}, Case{-1, nullptr}}) {
        SCOPED_TRACE(c.rating);
        AppState s = sampleLog();
        s.Dives[3].Rating = static_cast<int16_t>(c.rating);
        PrintDoc doc;
        PrintLayout(doc, s).BuildPrintDoc({3});
        const auto pics = pictures(doc, 0);
        ASSERT_EQ(c.face ? 1u : 0u, pics.size());
        if (c.face) {
            EXPECT_EQ(QRectF(PrintDoc::Margin, doc.bodyTop() + 300, 335, 335), pics[0]->rect);
            EXPECT_EQ(*c.face, pics[0]->picture);
        }
        EXPECT_NE(nullptr, textItem(doc, QStringLiteral("Blue Hole")));
    }
}

TEST(PrintLayout, TwoDivesToAPage) {
    const AppState s = numberedLog(5, 0);
    struct Case {
        std::vector<int> dives;
        int pages;
        QStringList lastPage; // the dives on the last page
    };
    for (const Case& c : {Case{{1}, 1, {"Dive: 1"}}, Case{{1, 2, 3}, 2, {"Dive: 3"}},
                          Case{{1, 2, 3, 4}, 2, {"Dive: 3", "Dive: 4"}},
                          Case{{5, 4, 3, 2, 1}, 3, {"Dive: 1"}}, Case{{}, 1, {}}}) {
        SCOPED_TRACE(c.dives.size());
        PrintDoc doc;
        PrintLayout(doc, s).BuildPrintDoc(c.dives);
        EXPECT_EQ(c.pages, doc.pageCount());
        QStringList shown;
        for (const QStringList& l : lines(doc, doc.pageCount() - 1))
            if (l.front().startsWith(QLatin1String("Dive:"))) shown << l.front();
        EXPECT_EQ(c.lastPage, shown);
    }
}

TEST(PrintLayout, TextsHoldingTableMarksAndLongCommentsPrintWhole) {
    AppState s = numberedLog(2, 0);
    s.LocationList[0].Name = QStringLiteral("Reef; North|East");
    QStringList words;
    for (int k = 0; k < 3000; ++k)
        words << QStringLiteral("w%1").arg(k);
    s.Dives[1].Comments = words.join(QLatin1Char(' '));
    PrintDoc doc;
    PrintLayout(doc, s).BuildPrintDoc({1, 2});
    EXPECT_NE(nullptr, textItem(doc, QStringLiteral("Reef; North|East")));
    ASSERT_GT(doc.pageCount(), 2);
    QStringList seen;
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const QStringList& l : lines(doc, p))
            for (const QString& t : l)
                if (t.startsWith(QLatin1Char('w'))) seen += t.split(QLatin1Char(' '));
    EXPECT_EQ(words, seen);

    // A title table pushed onto a fresh page takes its face along.
    PrintDoc moved;
    moved.StartDoc();
    moved.setCurrentY(moved.bodyBottom() - 200);
    const AppState sample = sampleLog();
    PrintLayout layout(moved, sample);
    layout.PrintDive(3);
    ASSERT_EQ(2, moved.pageCount());
    EXPECT_TRUE(pictures(moved, 0).empty());
    ASSERT_EQ(1u, pictures(moved, 1).size());
    EXPECT_EQ(moved.bodyTop() + 300, pictures(moved, 1)[0]->rect.top());
}
