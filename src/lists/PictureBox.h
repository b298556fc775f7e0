#pragma once

#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace lists {

// The picture of a dive site: shows an image file fitted into the box with its proportions
// kept, or, when the file is missing or no picture, a short note saying so.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Loads and shows the image at `path`; an empty path clears the box.
    void showFile(const QString& path);
    void clear();

    bool hasPicture() const { return !image.isNull(); }
    const QImage& picture() const { return image; }
    QString note() const { return noteText; }
    // Where the picture is drawn inside the box (empty when none is).
    QRect pictureRect() const;

    QSize sizeHint() const override { return {320, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage image;
    QString noteText;
    QPixmap scaled; // the image at the size it is drawn, remade when the box is resized
};

} // namespace lists
