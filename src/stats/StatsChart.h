#pragma once

#include "ChartData.h"

#include <QImage>
#include <QWidget>

namespace stats {

// A bar chart drawn with QPainter: the title at the top, a bar per entry of the chart data
// with its count above it, the labels below and a scale at the left. It draws the same onto
// the screen and into a picture to save.
class StatsChart : public QWidget {
    Q_OBJECT
  public:
    explicit StatsChart(QWidget* parent);

    // Shows these bars; the accessible description follows them.
    void setData(const stats::ChartData& data);
    const stats::ChartData& data() const { return chart; }

    // The chart as a picture of the given size, on a white ground.
    QImage image(const QSize& size) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void draw(QPainter& p, const QRect& area, const QColor& ink, const QColor& grid) const;

    stats::ChartData chart;
};

} // namespace stats
