// A Disk or Network card's graph of the last two minutes, drawn as the processor history is:
// the first series (read, received) as an area, the second (written, sent) as a line, over a
// light grid at a quarter, half and three quarters of the scale, whose top is named in the
// corner. The time axis "2 min" ... "now" underneath; a pause in the samples is a gap.
#pragma once

#include <QWidget>
#include <deque>

#include "service/Sensors.h"
#include "ui/model/SensorsModel.h"

namespace orvane {

class RateGraph : public QWidget {
    Q_OBJECT
  public:
    explicit RateGraph(SensorsModel::Traffic traffic, QWidget* parent = nullptr);

    void setPoints(const std::deque<ThroughputPoint>& points);
    double scale() const { return scale_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    SensorsModel::Traffic traffic_;
    std::deque<ThroughputPoint> points_;
    double scale_ = 1000;
};

}  // namespace orvane
