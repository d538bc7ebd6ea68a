// The per-core grid of the Performance page, drawn as one widget: adaptive columns (at least
// 120 points wide, 12 apart) that reflow with the width, one cell per logical processor with
// its name, percentage and a bar whose level animates to each new value over 0.4 s.
//
// One stop for the keyboard: a list whose items are the cores ("Core 3, 42%"), the arrow keys
// moving between them.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "ui/components/Accessible.h"
#include "ui/model/PerformanceModel.h"

namespace orvane {

class Motion;

class CoreGrid : public QWidget, public AccessibleItems {
    Q_OBJECT
  public:
    static constexpr int kAnimationMs = 400;
    // Smaller changes of a core's load jump: every bar would otherwise animate at almost
    // every sample, each frame a repaint through the translucent card.
    static constexpr double kMinAnimatedChange = 0.03;
    static constexpr int kBarHeight = 8;
    static constexpr int kCellSpacing = 5;

    explicit CoreGrid(QWidget* parent = nullptr);
    ~CoreGrid() override;

    // New values; a changed fraction animates its bar from where it is now.
    void setCells(std::vector<CoreCell> cells);
    const std::vector<CoreCell>& cells() const { return cells_; }
    // The fraction each bar shows right now.
    std::vector<double> shownFractions() const;
    // Whether any bar is moving towards a new value.
    bool isAnimating() const;

    GridColumns columns() const { return columnsFor(width()); }
    // The rectangle of cell `i` at the current width.
    QRectF cellRect(std::size_t i) const;
    // The bar's rectangle inside a cell rectangle.
    static QRectF barRect(const QRectF& cell);
    static int cellHeight();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QAccessible::Role accessibleItemRole() const override { return QAccessible::ListItem; }
    int accessibleItemCount() const override { return static_cast<int>(cells_.size()); }
    QString accessibleItemName(int index) const override;
    QRect accessibleItemRect(int index) const override;
    int accessibleCurrentItem() const override;
    void activateAccessibleItem(int index) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    GridColumns columnsFor(int width) const;
    // Repaints what changes when bar `i` moves from one level to another.
    void barMoved(std::size_t i, double from, double to);

    std::vector<CoreCell> cells_;
    int current_ = 0;
    std::vector<std::unique_ptr<Motion>> motions_;
};

}  // namespace orvane
