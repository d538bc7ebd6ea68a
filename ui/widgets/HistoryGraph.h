// The Performance page's graph of the last two minutes: processor load as a stacked area (user
// in blue below, system in orange above) and memory used as a heavier line in the usage colour
// of each second (the memory ring's colour), over a grid at 0, 50 and 100 % labelled at the
// right, with the time axis "2 min" ... "now" underneath. A second without a sample is a gap.
//
// The plot is kept in a cached image. Each new sample scrolls the image by one step and paints
// only the newest columns; the whole plot is drawn again only when its size, the device pixel
// ratio or the appearance changes. Hovering shows the values of the second under the pointer.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "service/LiveHistory.h"
#include "ui/model/Tint.h"

class QPainter;

namespace orvane {

// A legend's key to the graph: a square of an area's colour, or a short stroke of a line's.
class LegendSwatch : public QWidget {
    Q_OBJECT
  public:
    explicit LegendSwatch(bool line, QWidget* parent = nullptr);
    void setTint(Tint tint);
    Tint tint() const { return tint_; }
    QSize sizeHint() const override { return {kSize, kSize}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    static constexpr int kSize = 10;
    bool line_;
    Tint tint_ = Tint::secondary;
};

class HistoryGraph : public QWidget {
    Q_OBJECT
  public:
    // The plot's smallest height; setPlotHeight makes it taller in a taller window.
    static constexpr int kPlotHeight = 120;
    static constexpr int kAxisGap = 4;
    static constexpr qreal kLineWidth = 3;
    // The series' tints, shared with the legend.
    static constexpr Tint kUserTint = Tint::blue;
    static constexpr Tint kSystemTint = Tint::orange;

    explicit HistoryGraph(QWidget* parent = nullptr);

    // The font of the scale and the time axis, and the axis itself ("2 min", "1 min", "now"
    // under the plot), shared with the other graphs of the last two minutes.
    static QFont axisFont();
    static void drawTimeAxis(QPainter& painter, const QRect& axis);

    // The samples to show; only what changed since the last call is drawn.
    void setHistory(const LiveHistory& history);
    const LiveHistory& history() const { return history_; }

    // Where the plot is drawn, and the slot a point of the widget falls on (none outside the
    // plot or where no slot is held).
    QRect plotRect() const;
    int plotHeight() const { return plotHeight_; }
    void setPlotHeight(int height);
    std::optional<std::uint64_t> slotAt(const QPoint& pos) const;
    // How often the whole plot has been drawn (a test sees that a sample does not do it).
    int fullRedraws() const { return fullRedraws_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Device-pixel geometry of the cached plot.
    int plotPixelsWide() const;
    // The column at the right that holds the scale's labels, measured once per font and
    // language: every slot's position depends on it.
    int scaleWidth() const;
    double slotX(std::uint64_t slot) const;
    bool layerCurrent() const;
    void redrawLayer();
    // Draws the device columns [fromX, toX) afresh.
    void paintLayer(int fromX, int toX);
    void setHover(std::optional<std::uint64_t> slot);
    void updateSummary();

    LiveHistory history_;
    QPixmap layer_;
    int plotHeight_ = kPlotHeight;
    bool layerDark_ = false;
    std::uint64_t drawnBegin_ = 0, drawnEnd_ = 0;
    int fullRedraws_ = 0;
    mutable int scaleWidth_ = -1;
    std::optional<std::uint64_t> hover_;
};

}  // namespace orvane
