// A small line of a volume's used space over the last 90 days, scaled between the least and the
// most used, so that its shape shows how the volume fills.
#pragma once

#include <QColor>
#include <QWidget>
#include <vector>

#include "ui/model/JournalModel.h"

namespace orvane {

class Sparkline : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 96;
    static constexpr int kHeight = 22;

    explicit Sparkline(QWidget* parent = nullptr);

    void setPoints(const std::vector<ChartPoint>& points, Tint tint);
    const std::vector<ChartPoint>& points() const { return points_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<ChartPoint> points_;
    Tint tint_ = Tint::green;
};

}  // namespace orvane
