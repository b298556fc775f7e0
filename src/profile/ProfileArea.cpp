#include "ProfileArea.h"

#include "ProfileEditor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

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

QSize ProfileArea::unitSize() const {
    const QSize px = contentsRect().size();
    return {px.width() * UnitsPerInch / logicalDpiX(), px.height() * UnitsPerInch / logicalDpiY()};
}

int ProfileArea::pixelsFor(int units, Qt::Orientation o) const {
    const int dpi = o == Qt::Horizontal ? logicalDpiX() : logicalDpiY();
    return (units * dpi + UnitsPerInch - 1) / UnitsPerInch;
}

QPoint ProfileArea::toUnits(QPointF pixels) const {
    const QPointF inner = pixels - contentsRect().topLeft();
    return {static_cast<int>(std::floor(inner.x() * UnitsPerInch / logicalDpiX())),
            static_cast<int>(std::floor(inner.y() * UnitsPerInch / logicalDpiY()))};
}

void ProfileArea::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (!contentsRect().contains(event->position().toPoint())) return; // on the frame
    const QPoint at = toUnits(event->position());
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
    const QRect inner = contentsRect();
    p.setClipRect(inner);
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
