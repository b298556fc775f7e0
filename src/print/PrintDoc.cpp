#include "PrintDoc.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace print {

namespace {

// Room between a cell's text and its edges, in twips.
constexpr double PadX = 90;
constexpr double PadY = 15;
// Gap between the heading and the first table of a page.
constexpr double HeaderGap = 180;
// Lines are a hair under a point wide: visible on paper, never heavier than the text.
constexpr double LineWidth = 15;

TextStyle headerStyle() {
    TextStyle s;
    s.family = QStringLiteral("Courier New");
    s.pointSize = 14.25;
    s.bold = true;
    return s;
}

// Fonts are sized in pixels of one twip each, so measuring needs no screen and painting
// under a twips-to-device scale gives the right size on every device.
QFont fontFor(const TextStyle& s) {
    QFont f(PrintDoc::fontFamilyFor(s.family));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(s.pointSize * 20))));
    f.setBold(s.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

const QFontMetricsF& metricsFor(const TextStyle& s) {
    // A document measures thousands of cells in a handful of styles.
    static std::map<std::tuple<QString, double, bool>, QFontMetricsF> cache;
    const auto key = std::make_tuple(s.family, s.pointSize, s.bold);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, QFontMetricsF(fontFor(s))).first;
    return it->second;
}

} // namespace

TextStyle tableTextStyle() {
    TextStyle s;
    s.pointSize = 12;
    return s;
}

double lineHeightOf(const TextStyle& s) {
    return metricsFor(s).lineSpacing();
}

double textWidthOf(const TextStyle& s, const QString& text) {
    return metricsFor(s).horizontalAdvance(text);
}

TableFormat parseTable(const QString& text) {
    TableFormat table;
    QStringList parts = text.split(QLatin1Char(';'));
    // Everything after the last ";" is not a row.
    parts.removeLast();
    if (parts.isEmpty()) return table;
    for (const QString& col : parts.front().split(QLatin1Char('|'))) {
        TableColumn c;
        qsizetype k = 0;
        if (k < col.size() && (col[k] == QLatin1Char('<') || col[k] == QLatin1Char('^'))) {
            c.align = col[k] == QLatin1Char('^') ? Qt::AlignHCenter : Qt::AlignLeft;
            ++k;
        }
        if (k < col.size() && col[k] == QLatin1Char('+')) {
            c.plus = true;
            ++k;
        }
        c.width = std::max(0, col.mid(k).trimmed().toInt());
        table.columns.push_back(c);
    }
    for (qsizetype r = 1; r < parts.size(); ++r)
        table.rows.push_back(parts[r].split(QLatin1Char('|')));
    return table;
}

PrintDoc::PrintDoc(QSizeF paperTwips) : paper(paperTwips) {
    startPage();
}

QString PrintDoc::fontFamilyFor(const QString& family) {
    if (family == QLatin1String("Arial")) return QStringLiteral("Liberation Sans");
    if (family == QLatin1String("Courier New")) return QStringLiteral("Liberation Mono");
    return family;
}

double PrintDoc::bodyTop() const {
    return Margin + lineHeightOf(headerStyle()) + HeaderGap;
}

void PrintDoc::startPage() {
    pages.emplace_back();
    curX = Margin;
    curY = bodyTop();
}

void PrintDoc::StartDoc() {
    pages.clear();
    startPage();
    tablePage = 0;
    tableTopLeft = QPointF(curX, curY);
}

void PrintDoc::EndDoc() {
    if (numbering) {
        const TextStyle ns = tableTextStyle();
        const double h = lineHeightOf(ns);
        // In the middle of the bottom margin, clear of the last table.
        const QRectF where(Margin, bodyBottom() + (Margin - h) / 2, paper.width() - 2 * Margin, h);
        const int count = pageCount();
        for (int k = 0; k < count; ++k) {
            PrintItem item;
            item.kind = PrintItem::PageNumber;
            item.rect = where;
            item.text = QStringLiteral("Page %1 of %2").arg(k + 1).arg(count);
            item.style = ns;
            item.align = Qt::AlignHCenter;
            pages[static_cast<size_t>(k)].push_back(std::move(item));
        }
    }
    if (header.isEmpty()) return;
    const TextStyle hs = headerStyle();
    const QRectF where(Margin, Margin, paper.width() - 2 * Margin, lineHeightOf(hs));
    for (Page& p : pages) {
        PrintItem item;
        item.kind = PrintItem::Text;
        item.rect = where;
        item.text = header;
        item.style = hs;
        item.align = Qt::AlignHCenter;
        p.insert(p.begin(), item);
    }
}

void PrintDoc::NewPage() {
    startPage();
}

void PrintDoc::addText(const QString& text, const TextStyle& s, const QRectF& r, Qt::Alignment a) {
    PrintItem item;
    item.kind = PrintItem::Text;
    item.rect = r;
    item.text = text;
    item.style = s;
    item.align = a;
    pages.back().push_back(std::move(item));
}

void PrintDoc::addLine(QPointF a, QPointF b) {
    PrintItem item;
    item.kind = PrintItem::Line;
    item.rect = QRectF(a, b);
    pages.back().push_back(std::move(item));
}

void PrintDoc::DrawPicture(const QImage& picture, const QRectF& rect) {
    PrintItem item;
    item.kind = PrintItem::Picture;
    item.rect = rect;
    item.picture = picture;
    pages.back().push_back(std::move(item));
}

void PrintDoc::DrawLine(QPointF from, QPointF to, const QColor& color) {
    PrintItem item;
    item.kind = PrintItem::Line;
    item.rect = QRectF(from, to);
    item.style.color = color;
    pages.back().push_back(std::move(item));
}

void PrintDoc::DrawText(const QString& text, const TextStyle& s, const QRectF& r, Qt::Alignment a) {
    addText(text, s, r, a);
}

void PrintDoc::DrawDot(QPointF centre, double radius, const QColor& color) {
    PrintItem item;
    item.kind = PrintItem::Dot;
    item.rect = QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    item.style.color = color;
    pages.back().push_back(std::move(item));
}

void PrintDoc::drawBorders(const std::vector<double>& colX, double top, double bottom) {
    if (tableBorder != 4 && tableBorder != 9) return;
    const double left = colX.front(), right = colX.back();
    addLine({left, top}, {right, top});
    addLine({left, bottom}, {right, bottom});
    addLine({left, top}, {left, bottom});
    addLine({right, top}, {right, bottom});
    if (tableBorder == 9)
        for (size_t k = 1; k + 1 < colX.size(); ++k)
            addLine({colX[k], top}, {colX[k], bottom});
}

QStringList PrintDoc::wrapped(const QString& text, const TextStyle& s, double width) const {
    // A comment typed in the main window breaks its lines with CR LF; a lone LF breaks too.
    QString t = text;
    t.replace(QLatin1String("\r\n"), QString(LineBreak));
    t.replace(QLatin1Char('\n'), LineBreak);
    // A break at the very end closes the last line rather than opening an empty one.
    if (t.endsWith(LineBreak)) t.chop(1);
    QStringList out;
    const QFontMetricsF& fm = metricsFor(s);
    for (const QString& para : t.split(LineBreak)) {
        if (fm.horizontalAdvance(para) <= width) {
            out.push_back(para);
            continue;
        }
        // Greedy fill by words, each measured once: a line's width is its words' widths and
        // the spaces between them. A word wider than the cell is cut where it must be.
        const double space = fm.horizontalAdvance(QLatin1Char(' '));
        QString lineText;
        double lineWidth = 0;
        bool started = false;
        for (const QString& word : para.split(QLatin1Char(' '))) {
            const double w = fm.horizontalAdvance(word);
            if (!started || lineWidth + space + w <= width) {
                if (started) lineText += QLatin1Char(' ');
                lineText += word;
                lineWidth = started ? lineWidth + space + w : w;
                started = true;
                if (lineWidth <= width) continue;
            } else {
                out.push_back(lineText);
                lineText = word;
                lineWidth = w;
            }
            while (lineText.size() > 1 && fm.horizontalAdvance(lineText) > width) {
                qsizetype n = lineText.size() - 1;
                while (n > 1 && fm.horizontalAdvance(lineText.left(n)) > width)
                    --n;
                out.push_back(lineText.left(n));
                lineText = lineText.mid(n);
            }
            lineWidth = fm.horizontalAdvance(lineText);
        }
        out.push_back(lineText);
    }
    return out;
}

void PrintDoc::AddTable(const QString& table) {
    AddTable(parseTable(table));
}

void PrintDoc::AddTable(const TableFormat& table) {
    layTable(table, nullptr);
}

void PrintDoc::AddTable(const TableFormat& table, const QString& continued) {
    layTable(table, &continued);
}

double PrintDoc::tableHeight(const TableFormat& table) {
    double h = 0;
    measure(table, &h);
    return h;
}

std::vector<PrintDoc::RowLayout> PrintDoc::measure(const TableFormat& table, double* height) {
    std::vector<RowLayout> rows;
    double tableH = 0;
    for (size_t r = 0; r < table.rows.size(); ++r) {
        RowLayout cells(table.columns.size());
        double h = 0;
        for (size_t c = 0; c < table.columns.size(); ++c) {
            const QString text = c < static_cast<size_t>(table.rows[r].size())
                                     ? table.rows[r][static_cast<qsizetype>(c)]
                                     : QString();
            if (onCell) onCell(static_cast<int>(r) + 1, static_cast<int>(c) + 1, text);
            CellLayout& cell = cells[c];
            cell.style = style;
            cell.lineHeight = lineHeightOf(style);
            const bool blank = text.isEmpty() || text == QLatin1String(" ");
            cell.lines = blank ? QStringList{QString()}
                               : wrapped(text, style, table.columns[c].width - 2 * PadX);
            h = std::max(h, cell.lines.size() * cell.lineHeight);
        }
        tableH += h + 2 * PadY;
        rows.push_back(std::move(cells));
    }
    if (height) *height = tableH;
    return rows;
}

void PrintDoc::layTable(const TableFormat& table, const QString* continued) {
    if (table.columns.empty()) return;
    std::vector<double> colX{curX};
    for (const TableColumn& c : table.columns)
        colX.push_back(colX.back() + c.width);

    // Measure every cell first (the callback styles it), so the table can be placed whole.
    double tableHeight = 0;
    std::vector<RowLayout> rows = measure(table, &tableHeight);

    if (!continued && curY + tableHeight > bodyBottom() && curY > bodyTop()) {
        startPage();
        curX = colX.front();
    }
    tablePage = pageCount() - 1;
    tableTopLeft = QPointF(curX, curY);
    double segmentTop = curY;
    // Where this page's share of the table could begin at the earliest: moving on from there
    // would gain nothing.
    double pageStart = bodyTop();

    auto rowHeight = [](const RowLayout& cells) {
        double h = 0;
        for (const CellLayout& c : cells)
            h = std::max(h, c.lines.size() * c.lineHeight);
        return h + 2 * PadY;
    };
    // The height of the row without the blank lines at the end of its cells.
    auto textHeight = [](const RowLayout& cells) {
        double h = 0;
        for (const CellLayout& c : cells) {
            qsizetype n = c.lines.size();
            while (n > 0 && c.lines[n - 1].isEmpty())
                --n;
            h = std::max(h, n * c.lineHeight);
        }
        return h + 2 * PadY;
    };
    // How many of a cell's lines fit in `room` twips of row.
    auto fitting = [](const CellLayout& cell, double room) {
        qsizetype n = 0;
        double y = PadY;
        while (n < cell.lines.size() && y + cell.lineHeight <= room - PadY + 0.01) {
            y += cell.lineHeight;
            ++n;
        }
        return n;
    };
    // Whether `room` twips of the row would show any text.
    auto showsText = [&fitting](const RowLayout& cells, double room) {
        for (const CellLayout& c : cells) {
            const qsizetype n = fitting(c, room);
            for (qsizetype k = 0; k < n; ++k)
                if (!c.lines[k].isEmpty()) return true;
        }
        return false;
    };
    // Draws up to `room` twips of the row's lines and removes them from the cells.
    auto drawRow = [&](RowLayout& cells, double room) {
        for (size_t c = 0; c < cells.size(); ++c) {
            CellLayout& cell = cells[c];
            const qsizetype n = fitting(cell, room);
            double y = curY + PadY;
            for (qsizetype k = 0; k < n; ++k) {
                const QString& text = cell.lines[k];
                if (!text.isEmpty())
                    addText(text, cell.style,
                            QRectF(colX[c] + PadX, y, colX[c + 1] - colX[c] - 2 * PadX,
                                   cell.lineHeight),
                            table.columns[c].align);
                y += cell.lineHeight;
            }
            cell.lines.remove(0, n);
        }
    };
    // Closes the table's piece on this page and carries on at the top of the next.
    auto nextPage = [&] {
        if (curY > segmentTop) drawBorders(colX, segmentTop, curY);
        startPage();
        curX = colX.front();
        if (continued && !continued->isEmpty()) {
            TextStyle s = tableTextStyle();
            s.bold = true;
            const double h = lineHeightOf(s);
            addText(*continued, s, QRectF(curX, curY, colX.back() - colX.front(), h),
                    Qt::AlignLeft);
            curY += h + 2 * PadY;
        }
        segmentTop = pageStart = curY;
    };

    for (RowLayout& cells : rows) {
        while (true) {
            const double h = rowHeight(cells);
            const double room = bodyBottom() - curY;
            if (h <= room) {
                drawRow(cells, h);
                curY += h;
                break;
            }
            if (continued) {
                // What is left here may still hold the row's text, if not its trailing blanks.
                const double th = textHeight(cells);
                if (th <= room) {
                    drawRow(cells, th);
                    curY += th;
                    break;
                }
                // Not a box that shows nothing: the row goes on where its text can start.
                if (curY > pageStart && !showsText(cells, room)) {
                    nextPage();
                    continue;
                }
            } else {
                double tallestLine = 0;
                for (const CellLayout& c : cells)
                    tallestLine = std::max(tallestLine, c.lineHeight);
                const double lineNeed = tallestLine + 2 * PadY;
                const bool fitsOnFreshPage = h <= bodyBottom() - bodyTop();
                if (curY > bodyTop() && (fitsOnFreshPage || room < lineNeed)) {
                    nextPage();
                    continue;
                }
            }
            // A row taller than the room left: what fits here, the rest on the next page.
            qsizetype before = 0, left = 0;
            for (const CellLayout& c : cells)
                before += c.lines.size();
            drawRow(cells, room);
            curY = bodyBottom();
            for (const CellLayout& c : cells)
                left += c.lines.size();
            if (left == 0) break;
            // Nothing fitted even on an empty page: drop a line rather than loop forever.
            if (left == before)
                for (CellLayout& c : cells)
                    if (!c.lines.isEmpty()) c.lines.removeFirst();
            // Blank lines alone are not carried to a page of their own.
            if (continued && textHeight(cells) <= 2 * PadY) break;
            nextPage();
            // Cells already finished keep no line; give them an empty one so the row's
            // remaining height is measured from the cells still running.
            for (CellLayout& c : cells)
                if (c.lines.isEmpty()) c.lines.push_back(QString());
        }
    }
    drawBorders(colX, segmentTop, curY);
    curX = colX.front();
}

void PrintDoc::render(QPainter& painter, int index) const {
    if (index < 0 || index >= pageCount()) return;
    const QPaintDevice* device = painter.device();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(device->logicalDpiX() / 1440.0, device->logicalDpiY() / 1440.0);
    for (const PrintItem& item : page(index)) {
        switch (item.kind) {
        case PrintItem::Text:
        case PrintItem::PageNumber:
            painter.setFont(fontFor(item.style));
            painter.setPen(item.style.color);
            painter.drawText(item.rect, static_cast<int>(item.align | Qt::AlignTop), item.text);
            break;
        case PrintItem::Line:
            painter.setPen(QPen(item.style.color, LineWidth));
            painter.drawLine(item.rect.topLeft(), item.rect.bottomRight());
            break;
        case PrintItem::Dot:
            painter.setPen(Qt::NoPen);
            painter.setBrush(item.style.color);
            painter.drawEllipse(item.rect);
            painter.setBrush(Qt::NoBrush);
            break;
        case PrintItem::Picture:
            painter.drawImage(item.rect, item.picture);
            break;
        }
    }
    painter.restore();
}

} // namespace print
