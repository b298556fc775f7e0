#include "print/PrintLayout.h"

#include "LayoutDump.h"
#include "support/SampleLog.h"

#include <QFile>

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
        const store::AppState s = sampleLog();
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
        store::AppState s = sampleLog();
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
    const store::AppState s = numberedLog(5, 0);
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
    store::AppState s = numberedLog(2, 0);
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
    const store::AppState sample = sampleLog();
    PrintLayout layout(moved, sample);
    layout.PrintDive(3);
    ASSERT_EQ(2, moved.pageCount());
    EXPECT_TRUE(pictures(moved, 0).empty());
    ASSERT_EQ(1u, pictures(moved, 1).size());
    EXPECT_EQ(moved.bodyTop() + 300, pictures(moved, 1)[0]->rect.top());
}

namespace {

QString readData(const QString& name) {
    QFile f(QStringLiteral(REEFBOOK_TEST_DATA "/") + name);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// What a page shows, read from its recorded items.
struct PageView {
    std::vector<const PrintItem*> titles;     // the locations, 15 pt
    std::vector<const PrintItem*> signatures; // the last row of each details table
    const PrintItem* caption = nullptr;       // "Dive N (continued)"
    std::vector<QRectF> commentBoxes;         // one per piece of a comments table
    QStringList commentLines;                 // "Dive i line k", top to bottom
    QStringList pageNumbers;
    double lastBottom = 0; // the lowest item above the bottom margin
};

PageView viewOf(const PrintDoc& doc, int p) {
    PageView v;
    // The comments table's inner line stands 8540 twips right of the margin.
    const double divider = PrintDoc::Margin + 8540;
    for (const PrintItem& item : doc.page(p)) {
        if (item.kind == PrintItem::PageNumber) {
            v.pageNumbers << item.text;
            EXPECT_GE(item.rect.top(), doc.bodyBottom());
            EXPECT_LE(item.rect.bottom(), doc.paperSize().height());
            continue;
        }
        v.lastBottom = std::max(v.lastBottom, item.rect.bottom());
        if (item.kind == PrintItem::Line && item.rect.left() == divider &&
            item.rect.right() == divider)
            v.commentBoxes.push_back(item.rect);
        if (item.kind != PrintItem::Text) continue;
        if (item.style.pointSize == 15) v.titles.push_back(&item);
        if (item.text.startsWith(QLatin1String("Signatures:"))) v.signatures.push_back(&item);
        if (item.text.endsWith(QLatin1String("(continued)"))) v.caption = &item;
        if (item.text.contains(QLatin1String(" line "))) v.commentLines << item.text;
    }
    return v;
}

} // namespace

TEST(PrintLayout, ShortCommentsLayOutAsTheyAlwaysHave) {
    const store::AppState s = shortCommentLog();
    for (const char* paper : {"letter", "a4"})
        for (bool comments : {true, false}) {
            SCOPED_TRACE(std::string(paper) + (comments ? "" : " without comments"));
            PrintDoc doc(paper == std::string("a4") ? PrintDoc::a4Paper()
                                                    : PrintDoc::letterPaper());
            PrintLayout layout(doc, s);
            layout.withComments = comments;
            layout.BuildPrintDoc({1, 2, 3, 4, 5, 6, 7});
            const QString recorded = readData(
                QStringLiteral("short_comments_%1%2.txt")
                    .arg(QLatin1String(paper), comments ? QString() : QStringLiteral("_bare")));
            ASSERT_FALSE(recorded.isEmpty());
            EXPECT_EQ(recorded.toStdString(), layoutDump(doc).toStdString());
        }
}

TEST(PrintLayout, LongCommentsRunOnAndEveryDiveStaysWholeAndFindable) {
    struct Paper {
        const char* name;
        QSizeF size;
    };
    for (const Paper& paper :
         {Paper{"A4", PrintDoc::a4Paper()}, Paper{"Letter", PrintDoc::letterPaper()}})
        for (int lines : {0, 5, 11, 14, 60, 400}) {
            SCOPED_TRACE(std::string(paper.name) + " " + std::to_string(lines) + " lines");
            // Odd dives carry the long comment, even ones two lines, as a real log mixes them.
            store::AppState s = numberedLog(7, 0);
            QStringList expected;
            for (int i = 1; i <= 7; ++i) {
                QStringList c;
                for (int k = 1; k <= (i % 2 ? lines : 2); ++k)
                    c << QStringLiteral("Dive %1 line %2").arg(i).arg(k);
                s.Dives[static_cast<size_t>(i)].Comments = c.join(QLatin1Char('\r'));
                expected += c;
            }
            PrintDoc doc(paper.size);
            PrintLayout(doc, s).BuildPrintDoc({1, 2, 3, 4, 5, 6, 7});
            const int count = doc.pageCount();
            // Short comments keep two dives to a page.
            if (lines <= 5) {
                EXPECT_EQ(4, count);
            }

            QStringList seen;
            int lastDive = 0;
            for (int p = 0; p < count; ++p) {
                SCOPED_TRACE(p + 1);
                const PageView v = viewOf(doc, p);
                EXPECT_EQ(QStringList{QStringLiteral("Page %1 of %2").arg(p + 1).arg(count)},
                          v.pageNumbers);
                // Every location has its details on the same page, at most two dives a page.
                EXPECT_EQ(v.titles.size(), v.signatures.size());
                EXPECT_LE(v.titles.size(), 2u);
                // A page that does not open with a dive's title names the dive it continues.
                const bool opensWithTitle =
                    !v.titles.empty() &&
                    (!v.caption || v.titles[0]->rect.top() < v.caption->rect.top());
                if (p > 0 && !opensWithTitle) {
                    ASSERT_NE(nullptr, v.caption);
                    EXPECT_EQ(QStringLiteral("Dive %1 (continued)").arg(lastDive), v.caption->text);
                    EXPECT_EQ(doc.bodyTop(), v.caption->rect.top());
                }
                // No piece of a comments table stands empty.
                for (const QRectF& box : v.commentBoxes) {
                    bool text = false;
                    for (const PrintItem& item : doc.page(p))
                        text |= item.kind == PrintItem::Text && item.rect.top() >= box.top() &&
                                item.rect.bottom() <= box.bottom() + 1;
                    EXPECT_TRUE(text) << box.top();
                }
                // A page ends early only when what comes next could not have stood there:
                // the next dive's title and details, or a third dive.
                if (p + 1 < count) {
                    const PageView next = viewOf(doc, p + 1);
                    const bool endsWithDetails =
                        !v.signatures.empty() &&
                        (v.commentBoxes.empty() ||
                         v.signatures.back()->rect.top() > v.commentBoxes.back().bottom());
                    if (next.caption && endsWithDetails) {
                        // Its comments could not show a line of text below them.
                        EXPECT_LT(doc.bodyBottom() - v.lastBottom,
                                  2 * print::lineHeightOf(print::tableTextStyle()) + 30);
                    } else if (next.caption) {
                        ASSERT_FALSE(v.commentBoxes.empty());
                        EXPECT_EQ(doc.bodyBottom(), v.commentBoxes.back().bottom());
                    } else {
                        ASSERT_FALSE(next.commentBoxes.empty());
                        const double block = next.commentBoxes.front().top() - doc.bodyTop();
                        EXPECT_TRUE(v.titles.size() == 2 ||
                                    v.lastBottom + block > doc.bodyBottom());
                    }
                }
                for (const PrintItem& item : doc.page(p))
                    if (item.kind == PrintItem::Text &&
                        item.text.startsWith(QLatin1String("Dive: ")))
                        lastDive = item.text.mid(6).toInt();
                seen += v.commentLines;
            }
            EXPECT_EQ(expected, seen);
        }
}

TEST(PrintLayout, AProfileIsDrawnToScaleBetweenItsDivesDetailsAndComments) {
    store::AppState s = sampleLog(); // dive 3: 42 minutes, 60 deep
    store::ProfileRecord p;
    p.Times = {0, 10, 30};
    p.Depths = {0, 60, 20};
    s.Profiles.push_back(p);
    s.Dives[3].ProfileNum = 1;
    PrintDoc doc;
    PrintLayout layout(doc, s);
    layout.withProfiles = true;
    layout.BuildPrintDoc({3});
    std::vector<QPointF> dots;
    std::map<QString, QPointF> labels; // the depth labels come last and win
    QStringList order;
    QPointF start(-1, -1);
    for (const PrintItem& item : doc.page(0)) {
        if (item.kind == PrintItem::Dot) dots.push_back(item.rect.center());
        if (item.kind == PrintItem::Line && item.style.color != Qt::black && start.x() < 0)
            start = item.rect.topLeft();
        if (item.kind == PrintItem::Text && item.style.pointSize < 12) {
            order << item.text;
            labels[item.text] = item.rect.center();
        }
    }
    // A few labelled ticks: every 10 minutes to 40, every 10 down to 60.
    EXPECT_EQ((QStringList{"Depth", "Time (min)", "0", "10", "20", "30", "40", "0", "10", "20",
                           "30", "40", "50", "60"}),
              order);
    ASSERT_EQ(2u, dots.size());
    auto ratio = [](double a, double b, double origin) { return (a - origin) / (b - origin); };
    EXPECT_NEAR(10.0 / 30, ratio(dots[0].x(), dots[1].x(), start.x()), 0.01);
    EXPECT_NEAR(60.0 / 20, ratio(dots[0].y(), dots[1].y(), start.y()), 0.01);
    EXPECT_NEAR(1.0, ratio(labels["60"].y(), dots[0].y(), start.y()), 0.01);
    // Under the details, above the comments.
    const PrintItem* signature = textItem(doc, QStringLiteral("Signatures:______________________________"));
    const PrintItem* comment = textItem(doc, QStringLiteral("Turtle at the drop-off"));
    ASSERT_TRUE(signature && comment);
    EXPECT_GT(start.y(), signature->rect.bottom());
    EXPECT_LT(dots[0].y(), comment->rect.top());
}
