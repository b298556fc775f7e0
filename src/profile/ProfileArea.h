#pragma once

#include <QFrame>
#include <QMargins>
#include <QPoint>

#include <optional>

namespace profile {

class ProfileEditor;

// The drawing area of the profile window. It works in units of 1/1440 inch, so a profile
// keeps its scales whatever the screen's resolution, reports presses, pointer moves and the
// keyboard crosshair in those units, and paints what the editor holds.
class ProfileArea : public QFrame {
    Q_OBJECT
  public:
    static constexpr int UnitsPerInch = 1440;

    explicit ProfileArea(QWidget* parent = nullptr);

    void setEditor(const ProfileEditor* e) { editor = e; }
    // Inner size in drawing units, as the editor's scales need it.
    QSize unitSize() const;
    // Pixels an area needs to be `units` wide or tall, the room for the tick labels and the
    // frame included.
    int pixelsFor(int units, Qt::Orientation o) const;
    // Room around the plotted part for the tick labels and for whole dots at its edges.
    QMargins plotMargins() const;

    // The keyboard crosshair, on whole minutes and depths; none until an arrow key is used.
    std::optional<QPoint> crosshair; // (minute, depth)

  signals:
    void pressed(int x, int y);
    // The right button at this place: the point at its minute is to go.
    void removePressed(int x, int y);
    void moved(int x, int y);
    // An arrow key moved the crosshair by (minutes, depth), Space/Enter pressed at it, or
    // Delete/Backspace asked for the point at its minute to go.
    void crosshairMoved(int dTime, int dDepth);
    void crosshairPressed();
    void crosshairRemoved();
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPoint toUnits(QPointF pixels) const;
    QRect plotRect() const;
    void paintGrid(QPainter& p) const;

    const ProfileEditor* editor = nullptr;
};

} // namespace profile
