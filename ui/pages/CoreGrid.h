// The per-core grid of the Performance page, drawn as one widget: adaptive columns (at least
// 120 points wide, 12 apart) that reflow with the width, one cell per logical processor with
// its name, percentage and a bar whose level animates to each new value over 0.4 s.
#pragma once

#include <QWidget>
#include <vector>

#include "ui/pages/PerformanceModel.h"

class QVariantAnimation;

namespace orvane {

class CoreGrid : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kAnimationMs = 400;
    static constexpr int kBarHeight = 8;
    static constexpr int kCellSpacing = 5;

    explicit CoreGrid(QWidget* parent = nullptr);

    // New values; a changed fraction animates its bar from where it is now.
    void setCells(std::vector<CoreCell> cells);
    const std::vector<CoreCell>& cells() const { return cells_; }
    // The fraction each bar shows right now.
    const std::vector<double>& shownFractions() const { return shown_; }

    GridColumns columns() const { return PerformanceModel::gridColumns(width()); }
    // The rectangle of cell `i` at the current width.
    QRectF cellRect(std::size_t i) const;
    // The bar's rectangle inside a cell rectangle.
    static QRectF barRect(const QRectF& cell);
    static int cellHeight();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void step(double progress);

    std::vector<CoreCell> cells_;
    std::vector<double> from_;
    std::vector<double> shown_;
    QVariantAnimation* anim_;
};

}  // namespace orvane
