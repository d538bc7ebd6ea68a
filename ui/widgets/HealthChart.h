// The Battery page's chart of health over time: the current battery's curve with a marker per
// month, the 80 % line, and the projection to it as a dashed line when there is one; health
// levels on the left, the full-charge capacity they stand for on the right, years or months
// underneath. Painted from a BatteryHistoryView.
#pragma once

#include <QWidget>

#include "ui/model/JournalModel.h"

namespace orvane {

class HealthChart : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeight = 168;

    explicit HealthChart(QWidget* parent = nullptr);

    void setView(const BatteryHistoryView& view);
    const BatteryHistoryView& view() const { return view_; }
    // Where the curve is drawn.
    QRectF plotRect() const;

    QSize sizeHint() const override { return {480, kHeight}; }
    QSize minimumSizeHint() const override { return {240, kHeight}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    BatteryHistoryView view_;
};

}  // namespace orvane
