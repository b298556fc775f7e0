#include "Thumbnail.h"

#include <QMouseEvent>
#include <QPainter>

namespace app {

Thumbnail::Thumbnail(QWidget* parent) : QLabel(parent) {}

void Thumbnail::setLines(std::vector<QLine> lines) {
    drawn = std::move(lines);
    update();
}

void Thumbnail::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    QPainter p(this);
    const QRect inner = contentsRect();
    p.fillRect(inner, Qt::white);
    p.translate(inner.topLeft());
    p.setClipRect(QRect(QPoint(0, 0), inner.size()));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x10, 0x3c, 0x8c), 2));
    p.drawLines(drawn.data(), static_cast<int>(drawn.size()));
}

void Thumbnail::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    emit resized();
}

void Thumbnail::mouseReleaseEvent(QMouseEvent* event) {
    // A click: released with the left button over the picture.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

} // namespace app
