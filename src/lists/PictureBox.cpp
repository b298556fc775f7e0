#include "PictureBox.h"

#include "lists/ListOps.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace lists {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setMinimumSize(160, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PictureBox::clear() {
    image = QImage();
    noteText.clear();
    scaled = QPixmap();
    update();
}

void PictureBox::showFile(const QString& path) {
    clear();
    if (path.isEmpty())
        return;
    const QString name = lists::pictureFileName(path);
    // Only a plain file is read: a stored path may name a device or a pipe, which would never
    // end or never answer.
    if (!QFileInfo(path).isFile()) {
        noteText = tr("Picture not found: %1").arg(name);
        return;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true); // a JPEG saved as .bmp is still shown
    reader.setAutoTransform(true);
    // The reader refuses images whose decoded size passes its allocation limit, so a broken
    // or hostile file cannot make us allocate without bound.
    image = reader.read();
    if (image.isNull())
        noteText = tr("Picture cannot be read: %1").arg(name);
}

QRect PictureBox::pictureRect() const {
    if (image.isNull())
        return {};
    const QRect area = contentsRect();
    QSize size = image.size();
    // Large pictures shrink to fit; small ones keep their own size rather than turn blurry.
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area.size(), Qt::KeepAspectRatio);
    QRect r(QPoint(0, 0), size);
    r.moveCenter(area.center());
    return r;
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    scaled = QPixmap();
    QFrame::resizeEvent(event);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    if (!image.isNull()) {
        const QRect r = pictureRect();
        if (r.isEmpty())
            return;
        if (scaled.size() != r.size())
            scaled = QPixmap::fromImage(
                image.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        p.drawPixmap(r.topLeft(), scaled);
    } else if (!noteText.isEmpty()) {
        p.drawText(contentsRect().adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap,
                   noteText);
    }
}

} // namespace lists
