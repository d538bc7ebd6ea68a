// A circular progress ring with a value text and a caption in its centre. The arc starts at
// 12 o'clock, grows clockwise, and sweeps to a new fraction over 0.5 s with an ease-out curve.
// Each animation frame repaints only the part of the ring the arc's end swept over.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>
#include <memory>
#include <optional>

namespace orvane {

class Motion;

class RingGauge : public QWidget {
    Q_OBJECT
  public:
    static constexpr qreal kDefaultSize = 150;
    static constexpr qreal kLineWidth = 14;
    static constexpr int kAnimationMs = 500;

    RingGauge(double fraction, const QString& title, const QString& subtitle, const QColor& tint,
              qreal size = kDefaultSize, QWidget* parent = nullptr);
    ~RingGauge() override;

    double fraction() const { return fraction_; }
    // The fraction the arc shows right now (moves towards fraction() while animating).
    double displayedFraction() const;
    // Whether the arc is moving towards a new fraction.
    bool isAnimating() const;
    QString title() const { return title_; }
    QString subtitle() const { return subtitle_; }
    QColor tint() const { return tint_; }
    qreal ringSize() const { return size_; }

    void setFraction(double fraction);
    void setTitle(const QString& title);
    void setSubtitle(const QString& subtitle);
    void setTint(const QColor& tint);
    void setRingSize(qreal size);

    // min(max(fraction, 0), 1); NaN counts as 0.
    static double clamped(double fraction);
    // The arc's sweep in degrees, clockwise from 12 o'clock: 0 to 360; 0 for a fraction whose
    // percentage rounds to 0.
    static double arcSpan(double fraction);
    // Font size of the centre title for a ring size.
    static qreal titleSize(qreal size) { return size * 0.24; }
    // The ring's circle inside the widget (the stroke reaches half a line width beyond it).
    QRectF ringRect() const;
    // Length of the ring's circumference in pixels (what a fraction of 1 spans).
    qreal circumference() const;
    // What a change of the arc from `fromSpan` to `toSpan` degrees can touch in a ring drawn in
    // `ring`: the bounds of the swept stretch of the circle, widened by half the stroke (which
    // also covers the round caps) and a pixel of antialiasing.
    static QRectF sweepRect(const QRectF& ring, double fromSpan, double toSpan);
    // The arc's centre line for a sweep of `span` degrees, built from pieces of kArcPiece
    // degrees; closed at 360.
    static QPainterPath arcPath(const QRectF& ring, double span);
    static constexpr double kArcPiece = 15;
    // The box the centre texts are drawn in.
    QRectF textRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void shapeFocusRing();
    struct TextBoxes {
        QRectF title, subtitle;
    };
    // Where the texts go; measured once per widget size, ring size and subtitle.
    const TextBoxes& textBoxes() const;
    // The track ring, drawn once into a pixmap: frames only copy the part they repaint.
    const QPixmap& trackLayer();

    double fraction_;
    QString title_, subtitle_;
    QColor tint_;
    qreal size_;
    std::unique_ptr<Motion> motion_;
    mutable std::optional<TextBoxes> boxes_;
    mutable QSize boxesFor_;
    QPixmap track_;
    QColor trackColor_;
};

}  // namespace orvane
