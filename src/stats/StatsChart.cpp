#include "StatsChart.h"

#include <QPainter>

#include <algorithm>

namespace stats {

namespace {

// A step of the scale: 1, 2 or 5 times a power of ten, so that about five lines cover the
// tallest bar.
int scaleStep(int top) {
    int step = 1;
    for (int scale = 1;; scale *= 10)
        for (int m : {1, 2, 5}) {
            step = m * scale;
            if (top / step <= 5) return step;
        }
}

} // namespace

StatsChart::StatsChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus); // a screen reader reaches the chart and reads its description
}

void StatsChart::setData(const stats::ChartData& data) {
    chart = data;
    setAccessibleName(chart.title);
    setAccessibleDescription(stats::chartDescription(chart));
    update();
}

QSize StatsChart::sizeHint() const {
    return {420, 300};
}
QSize StatsChart::minimumSizeHint() const {
    return {240, 180};
}

QImage StatsChart::image(const QSize& size) const {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setFont(font());
    // A saved picture is read on paper or in another program: dark on white whatever the
    // desktop's colours.
    draw(p, picture.rect(), Qt::black, Qt::lightGray);
    return picture;
}

void StatsChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    draw(p, rect(), palette().color(QPalette::Text), palette().color(QPalette::Mid));
}

void StatsChart::draw(QPainter& p, const QRect& area, const QColor& ink, const QColor& grid) const {
    const QColor barColour(0x2a, 0x7a, 0xb8);
    const QFontMetrics fm(p.font());
    const int line = fm.height();
    const int pad = line / 2;

    const QFont normal = p.font();
    QFont bold = normal;
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(ink);
    const QRect titleBox(area.left(), area.top() + pad / 2, area.width(), line);
    p.drawText(titleBox, Qt::AlignHCenter | Qt::AlignVCenter, chart.title);
    p.setFont(normal);

    if (chart.bars.empty()) {
        p.drawText(area, Qt::AlignCenter, QStringLiteral("No dives"));
        return;
    }

    int top = 0;
    for (const stats::Bar& b : chart.bars)
        top = std::max(top, b.count);
    const int step = scaleStep(std::max(top, 1));
    const int scaleTop = ((std::max(top, 1) + step - 1) / step) * step;

    // Room for the scale's numbers at the left, the labels and the axis caption below.
    const int scaleWidth = fm.horizontalAdvance(QString::number(scaleTop)) + pad;
    const QRect plot(area.left() + scaleWidth + pad, titleBox.bottom() + line + pad,
                     area.width() - scaleWidth - 2 * pad, 0);
    const int bottom = area.bottom() - 2 * line - pad;
    const int height = bottom - plot.top();
    if (height < line || plot.width() < 10) return;

    p.setPen(grid);
    for (int v = 0; v <= scaleTop; v += step) {
        const int y = bottom - static_cast<int>(static_cast<int64_t>(v) * height / scaleTop);
        p.drawLine(plot.left(), y, plot.left() + plot.width(), y);
        p.setPen(ink);
        p.drawText(QRect(area.left(), y - line / 2, scaleWidth, line),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
        p.setPen(grid);
    }

    const int n = static_cast<int>(chart.bars.size());
    const double slot = static_cast<double>(plot.width()) / n;
    const int barWidth = std::max(1, static_cast<int>(slot * 0.7));
    // A label that would run into the one before it is left out; the table has them all.
    const int gap = fm.horizontalAdvance(QLatin1Char(' '));
    int labelsEnd = area.left() - gap - 1;
    for (int i = 0; i < n; ++i) {
        const stats::Bar& b = chart.bars[static_cast<size_t>(i)];
        const int x = plot.left() + static_cast<int>(slot * i + (slot - barWidth) / 2);
        const int h = static_cast<int>(static_cast<int64_t>(b.count) * height / scaleTop);
        p.fillRect(QRect(x, bottom - h, barWidth, h), barColour);
        p.setPen(ink);
        if (b.count > 0 && fm.horizontalAdvance(QString::number(b.count)) <= slot)
            p.drawText(QRect(x - pad, bottom - h - line, barWidth + 2 * pad, line),
                       Qt::AlignHCenter | Qt::AlignBottom, QString::number(b.count));
        const int labelWidth = fm.horizontalAdvance(b.label);
        const int labelLeft =
            std::min(x + barWidth / 2 - labelWidth / 2, area.right() - labelWidth);
        if (labelLeft > labelsEnd + gap) {
            p.drawText(QRect(labelLeft, bottom + 2, labelWidth + 1, line),
                       Qt::AlignLeft | Qt::AlignTop, b.label);
            labelsEnd = labelLeft + labelWidth;
        }
    }
    p.setPen(ink);
    p.drawLine(plot.left(), bottom, plot.left() + plot.width(), bottom);
    p.drawText(QRect(area.left(), bottom + line + 2, area.width(), line),
               Qt::AlignHCenter | Qt::AlignTop, chart.axis);
}

} // namespace stats
