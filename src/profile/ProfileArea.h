#pragma once

#include <QFrame>
#include <QPoint>

#include <optional>

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
    // Pixels an area needs to be `units` wide or tall.
    int pixelsFor(int units, Qt::Orientation o) const;

    // The keyboard crosshair, on whole minutes and depths; none until an arrow key is used.
    std::optional<QPoint> crosshair; // (minute, depth)

  signals:
    void pressed(int x, int y);
    void moved(int x, int y);
    // An arrow key moved the crosshair by (minutes, depth), or Space/Enter pressed at it.
    void crosshairMoved(int dTime, int dDepth);
    void crosshairPressed();
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPoint toUnits(QPointF pixels) const;

    const ProfileEditor* editor = nullptr;
};
