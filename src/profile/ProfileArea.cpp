#include "ProfileArea.h"

#include "ProfileEditor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace profile {

ProfileArea::ProfileArea(QWidget* parent) : QFrame(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

namespace {

const QColor GridColour(0xdd, 0xdd, 0xdd);
const QColor TickTextColour(0x60, 0x60, 0x60);

} // namespace

QMargins ProfileArea::plotMargins() const {
    const QFontMetrics fm = fontMetrics();
    // Dots are 6 pixels across: at least half of that and the line beyond every edge.
    constexpr int dot = 6;
    return {fm.horizontalAdvance(QStringLiteral("00000")) + 6, std::max(dot, fm.height() / 2 + 1),
            std::max(dot, fm.horizontalAdvance(QStringLiteral("000")) / 2 + 2), fm.height() + 6};
}

QRect ProfileArea::plotRect() const {
    return contentsRect().marginsRemoved(plotMargins());
}

QSize ProfileArea::unitSize() const {
    const QSize px = plotRect().size().expandedTo(QSize(0, 0));
    return {px.width() * UnitsPerInch / logicalDpiX(), px.height() * UnitsPerInch / logicalDpiY()};
}

int ProfileArea::pixelsFor(int units, Qt::Orientation o) const {
    const int dpi = o == Qt::Horizontal ? logicalDpiX() : logicalDpiY();
    const QMargins m = plotMargins();
    const int around = o == Qt::Horizontal ? m.left() + m.right() : m.top() + m.bottom();
    return (units * dpi + UnitsPerInch - 1) / UnitsPerInch + around;
}

QPoint ProfileArea::toUnits(QPointF pixels) const {
    const QPointF inner = pixels - plotRect().topLeft();
    return {static_cast<int>(std::floor(inner.x() * UnitsPerInch / logicalDpiX())),
            static_cast<int>(std::floor(inner.y() * UnitsPerInch / logicalDpiY()))};
}

void ProfileArea::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    // The margins count too: a press beside the plot means its nearest edge.
    if (!contentsRect().contains(event->position().toPoint())) return; // on the frame
    const QPoint at = toUnits(event->position());
    if (event->button() == Qt::RightButton)
        emit removePressed(at.x(), at.y());
    else
        emit pressed(at.x(), at.y());
}

void ProfileArea::mouseMoveEvent(QMouseEvent* event) {
    // While a button is held the pointer is reported beyond the area as well.
    if (!contentsRect().contains(event->position().toPoint())) return;
    const QPoint at = toUnits(event->position());
    emit moved(at.x(), at.y());
}

void ProfileArea::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        emit crosshairMoved(-1, 0);
        break;
    case Qt::Key_Right:
        emit crosshairMoved(1, 0);
        break;
    case Qt::Key_Up:
        emit crosshairMoved(0, -1);
        break;
    case Qt::Key_Down:
        emit crosshairMoved(0, 1);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit crosshairPressed();
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        emit crosshairRemoved();
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ProfileArea::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    emit resized();
}

void ProfileArea::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!editor) return;
    QPainter p(this);
    p.setClipRect(contentsRect());
    paintGrid(p);
    const QRect inner = plotRect();
    p.translate(inner.topLeft());
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(static_cast<qreal>(logicalDpiX()) / UnitsPerInch,
            static_cast<qreal>(logicalDpiY()) / UnitsPerInch);

    if (crosshair && hasFocus()) {
        QPen thin(QColor(0x90, 0x90, 0x90), 1, Qt::DashLine);
        thin.setCosmetic(true);
        p.setPen(thin);
        const QPoint at = editor->position(crosshair->x(), crosshair->y());
        const QSize units = unitSize();
        p.drawLine(at.x(), 0, at.x(), units.height());
        p.drawLine(0, at.y(), units.width(), at.y());
    }

    QPen line(QColor(0, 0, 255), 2);
    line.setCosmetic(true); // two pixels wide, whatever the scale
    p.setPen(line);
    const std::vector<QLine> lines = editor->lines();
    p.drawLines(lines.data(), static_cast<int>(lines.size()));

    // The dots are drawn larger than the line so a point can be seen and aimed at.
    QPen dot(QColor(255, 0, 0), 6, Qt::SolidLine, Qt::RoundCap);
    dot.setCosmetic(true);
    p.setPen(dot);
    for (const QPoint& at : editor->dots())
        p.drawPoint(at);
}

void ProfileArea::paintGrid(QPainter& p) const {
    if (editor->timeScale() <= 0 || editor->depthScale() <= 0) return;
    const QRect plot = plotRect();
    const QFontMetrics fm = fontMetrics();
    const auto px = [this, &plot](QPoint units) {
        return QPoint(plot.left() + units.x() * logicalDpiX() / UnitsPerInch,
                      plot.top() + units.y() * logicalDpiY() / UnitsPerInch);
    };
    // Labels at least their own width (time) or two lines (depth) apart.
    const int timeStep =
        tickStep(editor->timeScale(),
                 (fm.horizontalAdvance(QStringLiteral("0000")) + 8) * UnitsPerInch / logicalDpiX());
    const int depthStep =
        tickStep(editor->depthScale(), 2 * fm.height() * UnitsPerInch / logicalDpiY());
    const QPoint corner = px(editor->position(editor->bottomTime(), editor->maxDepth()));
    const QPoint origin = plot.topLeft();

    QPen grid(GridColour, 1);
    for (int t = 0; timeStep > 0 && t <= editor->bottomTime(); t += timeStep) {
        const int x = px(editor->position(t, 0)).x();
        p.setPen(grid);
        p.drawLine(x, origin.y(), x, corner.y());
        p.setPen(TickTextColour);
        const QString label = QString::number(t);
        const int w = fm.horizontalAdvance(label);
        p.drawText(x - w / 2, corner.y() + 4 + fm.ascent(), label);
    }
    for (int d = 0; depthStep > 0 && d <= editor->maxDepth(); d += depthStep) {
        const int y = px(editor->position(0, d)).y();
        p.setPen(grid);
        p.drawLine(origin.x(), y, corner.x(), y);
        p.setPen(TickTextColour);
        const QString label = QString::number(d);
        p.drawText(origin.x() - 6 - fm.horizontalAdvance(label), y + fm.ascent() / 2, label);
    }
}

} // namespace profile
