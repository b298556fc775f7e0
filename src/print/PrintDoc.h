#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QPainter;

// A printed document laid out in twips (1440 to the inch) on pages of a given paper size.
// Every page is kept as a list of drawing items, so the same pages can be painted onto a
// printer, a PDF file or the preview, and checked item by item.
namespace print {

// One column of a table string's format part: "<" left or "^" centred, an optional "+"
// (kept, it asks for nothing more here), and a width in twips.
struct TableColumn {
    Qt::Alignment align = Qt::AlignLeft;
    bool plus = false;
    int width = 0;
};

// A table string, "<+1440|^+7870;row 1 cell 1|cell 2;row 2 ...;", taken apart. A carriage
// return inside a cell breaks the line; a cell holding one space is blank.
struct TableFormat {
    std::vector<TableColumn> columns;
    std::vector<QStringList> rows; // each row's cells, one text per column at most
};
TableFormat parseTable(const QString& table);

// The table string's break inside a cell: one carriage return.
inline constexpr QChar LineBreak = QChar(13);

// The look of a run of text. `family` is the font asked for ("Arial", "Courier New").
struct TextStyle {
    QString family = QStringLiteral("Arial");
    double pointSize = 8.25;
    bool bold = false;
    QColor color = Qt::black;
    bool operator==(const TextStyle& o) const {
        return family == o.family && pointSize == o.pointSize && bold == o.bold && color == o.color;
    }
};

struct PrintItem {
    // PageNumber is drawn as text; it is told apart so that a page's own lines can be read
    // without the page's furniture. A Dot is a filled circle inside its rect.
    enum Kind { Text, Line, Picture, PageNumber, Dot };
    Kind kind = Text;
    QRectF rect;  // twips from the paper's top left; a line runs from topLeft to bottomRight
    QString text; // Text: one line of a cell or the heading; PageNumber: "Page x of y"
    // Text: the look of the run; Line and Dot take their colour from it.
    TextStyle style;
    Qt::Alignment align = Qt::AlignLeft;
    QImage picture;
};

using Page = std::vector<PrintItem>;

class PrintDoc {
  public:
    static constexpr double Margin = 720; // twips on every side
    // US Letter and A4 in twips.
    static QSizeF letterPaper() { return {12240, 15840}; }
    static QSizeF a4Paper() { return {11906, 16838}; }

    explicit PrintDoc(QSizeF paperTwips = letterPaper());

    // The fonts the layout names are drawn with their metric twins, so that widths come out
    // as the layout expects them on any machine with the Liberation fonts.
    static QString fontFamilyFor(const QString& family);

    // Start discards any earlier document and opens the first page.
    void StartDoc();
    void EndDoc();
    void NewPage();
    // Printed at the top of every page, centred, in Courier New 14.25 points bold.
    void setHeader(const QString& text) { header = text; }
    // With numbering on, EndDoc puts "Page x of y" centred in the bottom margin of every page,
    // in the tables' font.
    void setPageNumbering(bool on) { numbering = on; }

    // 0 draws no lines, 4 a box around the table, 9 a box and the lines between columns.
    void setTableBorder(int border) { tableBorder = border; }

    double CurrentX() const { return curX; }
    double CurrentY() const { return curY; }
    void setCurrentX(double x) { curX = x; }
    void setCurrentY(double y) { curY = y; }

    // The style the next cell's text is drawn in; the cell callback changes it.
    void setFontSize(double points) { style.pointSize = points; }
    void setFontBold(bool bold) { style.bold = bold; }
    void setTextColor(const QColor& c) { style.color = c; }
    const TextStyle& textStyle() const { return style; }

    // Called before each cell is measured and drawn: row and column from 1, the cell text.
    std::function<void(int row, int col, const QString& text)> onCell;

    // Lays the table out at the current position; the position then moves below it, back at
    // the left edge of the table. A row is as tall as its tallest cell's lines (the line
    // spacing of each cell's font) plus 15 twips above and below; text keeps 90 twips from
    // the column's edges and wraps at word boundaries. A table that does not fit the rest of the page starts on
    // the next page; a row taller than a whole page is continued on the following ones.
    void AddTable(const QString& table);
    // The same with the cells already apart, so a text holding "|" or ";" stays one cell.
    void AddTable(const TableFormat& table);
    // A table that runs on rather than moves: it fills the rest of this page line by line and
    // continues on the next, where `continued` (bold, in the tables' font) heads the rest so
    // the reader knows whose it is. No page gets a piece that shows no text at all: when the
    // first line with text does not fit here, the whole table starts on the next page, and
    // blank lines at its end are not carried over.
    void AddTable(const TableFormat& table, const QString& continued);
    // The height the table would take drawn whole, measured as AddTable measures it (the
    // cell callback runs), so a caller can keep it together with what precedes it.
    double tableHeight(const TableFormat& table);
    // Where the last table began: its page (from 0) and its top left corner. A table moved
    // to the next page begins there, not where the position stood.
    int lastTablePage() const { return tablePage; }
    QPointF lastTableTopLeft() const { return tableTopLeft; }

    // Draws the picture into the rectangle on the current page.
    void DrawPicture(const QImage& picture, const QRectF& rect);
    // Free drawing on the current page, in twips: a line, a run of text, a dot.
    void DrawLine(QPointF from, QPointF to, const QColor& color = Qt::black);
    void DrawText(const QString& text, const TextStyle& s, const QRectF& r, Qt::Alignment a);
    void DrawDot(QPointF centre, double radius, const QColor& color);

    int pageCount() const { return static_cast<int>(pages.size()); }
    const Page& page(int index) const { return pages[static_cast<size_t>(index)]; }
    QSizeF paperSize() const { return paper; }

    // Paints page `index` onto the painter, whose device is taken to be the whole sheet at
    // its own resolution (a printer set to full-page, a PDF writer without margins, an image).
    void render(QPainter& painter, int index) const;

    // Where tables start on a page: below the heading. Tables end above the bottom margin.
    double bodyTop() const;
    double bodyBottom() const { return paper.height() - Margin; }

  private:
    struct CellLayout {
        QStringList lines;
        TextStyle style;
        double lineHeight = 0;
    };
    using RowLayout = std::vector<CellLayout>;
    std::vector<RowLayout> measure(const TableFormat& table, double* height);
    void layTable(const TableFormat& table, const QString* continued);
    void startPage();
    void addText(const QString& text, const TextStyle& s, const QRectF& r, Qt::Alignment a);
    void addLine(QPointF a, QPointF b);
    void drawBorders(const std::vector<double>& colX, double top, double bottom);
    QStringList wrapped(const QString& text, const TextStyle& s, double width) const;

    QSizeF paper;
    std::vector<Page> pages;
    QString header;
    bool numbering = false;
    TextStyle style;
    int tableBorder = 0;
    double curX = Margin;
    double curY = Margin;
    int tablePage = 0;
    QPointF tableTopLeft;
};

// The style of cell text the layout sets before each cell: Arial 12 points, plain black.
TextStyle tableTextStyle();

// Line height, ascent and text width in twips for a style; also used by tests and the
// benchmark to reason about where things land.
double lineHeightOf(const TextStyle& s);
double textWidthOf(const TextStyle& s, const QString& text);

} // namespace print
