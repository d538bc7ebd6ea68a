// Horizontal fill bars. FillBar is the bare capsule bar (track and animated fill); UsageBar
// adds the caption line (label at the leading end, detail at the trailing end) above it.
#pragma once

#include <QColor>
#include <QWidget>
#include <memory>
#include <optional>

namespace orvane {

class Motion;
class Text;

class FillBar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kDefaultAnimationMs = 400;

    explicit FillBar(QWidget* parent = nullptr);
    ~FillBar() override;

    double fraction() const { return fraction_; }
    // The fraction the fill shows right now (moves towards fraction() while animating).
    double displayedFraction() const;
    // Whether the fill is moving towards a new fraction.
    bool isAnimating() const;
    void setFraction(double fraction);
    // Thickness of the bar (default 10).
    void setBarHeight(int height);
    int barHeight() const { return height_; }
    // Narrowest fill (default: the bar's height, a round dot).
    void setMinimumFill(std::optional<qreal> width);
    // Clamp the fraction to 0..1 (default). Unclamped, a fraction above 1 draws past the track.
    void setClamped(bool clamped);
    // Fill colour; empty: the usage colour of the fraction.
    void setColor(std::optional<QColor> color);
    QColor fillColor() const;
    // Length of the animation towards a new fraction; 0 jumps.
    void setAnimationDuration(int ms);
    int animationDuration() const;

    // The fill's width in a bar `barWidth` wide: max(minWidth, barWidth × fraction), the
    // fraction clamped to 0..1 (NaN as 0) when `clamped`.
    static qreal fillWidth(qreal barWidth, double fraction, qreal minWidth, bool clamped = true);
    qreal currentFillWidth() const;
    // What a change of the fill from `fromWidth` to `toWidth` can touch in a bar `height` high:
    // the stretch between the two ends, reaching back over the rounded end.
    static QRectF changedRect(qreal fromWidth, qreal toWidth, int height);

    QSize sizeHint() const override { return {100, height_}; }
    QSize minimumSizeHint() const override { return {height_, height_}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The fraction as drawn: NaN as 0, clamped to 0..1 when `clamped`.
    static double drawnFraction(double fraction, bool clamped);

    double fraction_ = 0;
    int height_ = 10;
    std::optional<qreal> minFill_;
    bool clamped_ = true;
    std::optional<QColor> color_;
    std::unique_ptr<Motion> motion_;
};

class UsageBar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kDefaultHeight = 10;

    // `tint` empty: the colour follows the fill level (Theme::usageColor of the raw fraction).
    UsageBar(const QString& label, const QString& detail, double fraction,
             std::optional<QColor> tint = std::nullopt, int height = kDefaultHeight,
             QWidget* parent = nullptr);

    QString label() const;
    QString detail() const;
    double fraction() const { return bar_->fraction(); }
    void setLabel(const QString& label);
    void setDetail(const QString& detail);
    void setFraction(double fraction) { bar_->setFraction(fraction); }
    void setTint(std::optional<QColor> tint) { bar_->setColor(tint); }
    QColor fillColor() const { return bar_->fillColor(); }
    // The bar is a TabStop, read as "label: detail" (either alone when the other is empty).
    FillBar* bar() const { return bar_; }
    QString spokenName() const;

    // The fill colour for a fraction and an optional tint.
    static QColor colorFor(double fraction, std::optional<QColor> tint);

  private:
    Text* label_;
    Text* detail_;
    FillBar* bar_;
};

}  // namespace orvane
