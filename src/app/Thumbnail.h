#pragma once

#include <QLabel>
#include <QLine>

#include <vector>

namespace app {

// The small profile picture of the main window: draws the lines it is given, says when it
// was resized (the lines depend on its size) and when it was clicked.
class Thumbnail : public QLabel {
    Q_OBJECT
  public:
    explicit Thumbnail(QWidget* parent = nullptr);

    void setLines(std::vector<QLine> lines);
    const std::vector<QLine>& lines() const { return drawn; }

  signals:
    void clicked();
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::vector<QLine> drawn;
};

} // namespace app
