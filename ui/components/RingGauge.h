// A circular progress ring with a value text and a caption in its centre. The arc starts at
// 12 o'clock, grows clockwise, and sweeps to a new fraction over 0.5 s with an ease-out curve.
#pragma once

#include <QColor>
#include <QWidget>

class QVariantAnimation;

namespace orvane {

class RingGauge : public QWidget {
    Q_OBJECT
  public:
    static constexpr qreal kDefaultSize = 150;
    static constexpr qreal kLineWidth = 14;
    static constexpr int kAnimationMs = 500;

    RingGauge(double fraction, const QString& title, const QString& subtitle, const QColor& tint,
              qreal size = kDefaultSize, QWidget* parent = nullptr);

    double fraction() const { return fraction_; }
    // The fraction the arc shows right now (moves towards fraction() while animating).
    double displayedFraction() const { return shown_; }
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
    // The arc's sweep in degrees, clockwise from 12 o'clock: 0 to 360.
    static double arcSpan(double fraction);
    // Font size of the centre title for a ring size.
    static qreal titleSize(qreal size) { return size * 0.24; }
    // The ring's circle inside the widget (the stroke reaches half a line width beyond it).
    QRectF ringRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    double fraction_;
    double shown_;
    QString title_, subtitle_;
    QColor tint_;
    qreal size_;
    QVariantAnimation* anim_;
};

}  // namespace orvane
