#include "ui/components/RingGauge.h"

#include <QPainter>
#include <QVariantAnimation>
#include <cmath>

#include "ui/components/Theme.h"

namespace orvane {
namespace {
// The stroke is centred on the circle, so half of it lies outside the ring's frame.
constexpr qreal kOverhang = RingGauge::kLineWidth / 2;
}  // namespace

RingGauge::RingGauge(double fraction, const QString& title, const QString& subtitle,
                     const QColor& tint, qreal size, QWidget* parent)
    : QWidget(parent),
      fraction_(fraction),
      shown_(clamped(fraction)),
      title_(title),
      subtitle_(subtitle),
      tint_(tint),
      size_(size),
      anim_(new QVariantAnimation(this)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    anim_->setDuration(kAnimationMs);
    anim_->setEasingCurve(QEasingCurve::OutCubic);
    connect(anim_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        shown_ = v.toDouble();
        update();
    });
}

double RingGauge::clamped(double fraction) {
    if (std::isnan(fraction)) return 0;
    return std::min(std::max(fraction, 0.0), 1.0);
}

double RingGauge::arcSpan(double fraction) {
    return clamped(fraction) * 360.0;
}

void RingGauge::setFraction(double fraction) {
    // Keyed to the raw value: NaN never equals itself, so compare bitwise-ish.
    if (fraction == fraction_ || (std::isnan(fraction) && std::isnan(fraction_))) return;
    fraction_ = fraction;
    const double target = clamped(fraction);
    anim_->stop();
    if (!Theme::animationsEnabled() || !isVisible()) {
        shown_ = target;
        update();
        return;
    }
    anim_->setStartValue(shown_);
    anim_->setEndValue(target);
    anim_->start();
}

void RingGauge::setTitle(const QString& title) {
    if (title == title_) return;
    title_ = title;
    update();
}

void RingGauge::setSubtitle(const QString& subtitle) {
    if (subtitle == subtitle_) return;
    subtitle_ = subtitle;
    update();
}

void RingGauge::setTint(const QColor& tint) {
    if (tint == tint_) return;
    tint_ = tint;
    update();
}

void RingGauge::setRingSize(qreal size) {
    if (qFuzzyCompare(size, size_)) return;
    size_ = size;
    updateGeometry();
    update();
}

QRectF RingGauge::ringRect() const {
    return QRectF((width() - size_) / 2.0, (height() - size_) / 2.0, size_, size_);
}

QSize RingGauge::sizeHint() const {
    const int side = static_cast<int>(std::ceil(size_ + 2 * kOverhang));
    return {side, side};
}

void RingGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = ringRect();

    QPen track(Theme::primary(0.08), kLineWidth, Qt::SolidLine, Qt::FlatCap);
    p.setPen(track);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ring);

    const double span = arcSpan(shown_);
    if (span > 0) {
        const QRectF outer = ring.adjusted(-kOverhang, -kOverhang, kOverhang, kOverhang);
        QPen arc(QBrush(Theme::gradient(tint_, outer)), kLineWidth, Qt::SolidLine, Qt::RoundCap);
        p.setPen(arc);
        if (span >= 360.0) {
            p.drawEllipse(ring);
        } else {
            // Qt measures angles counter-clockwise from 3 o'clock in 1/16 degree.
            p.drawArc(ring, 90 * 16, -static_cast<int>(std::lround(span * 16)));
        }
    }

    const QFont titleFont = Theme::font(titleSize(size_), QFont::Bold);
    const QFont subFont = Theme::font(11);
    const QFontMetrics tf(titleFont), sf(subFont);
    const int subLines = static_cast<int>(subtitle_.count(QLatin1Char('\n'))) + 1;
    const qreal subH = subtitle_.isEmpty() ? 0 : sf.lineSpacing() * (subLines - 1) + sf.height();
    const qreal blockH = tf.height() + (subH > 0 ? 2 + subH : 0);
    const qreal inner = size_ - 2 * kOverhang;
    qreal y = ring.center().y() - blockH / 2;
    const QRectF textBox(ring.center().x() - inner / 2, y, inner, tf.height());
    p.setFont(titleFont);
    p.setPen(Theme::primary());
    p.drawText(textBox, Qt::AlignCenter,
               tf.elidedText(title_, Qt::ElideRight, static_cast<int>(inner)));
    if (subH > 0) {
        y += tf.height() + 2;
        p.setFont(subFont);
        p.setPen(Theme::secondary());
        p.drawText(QRectF(textBox.left(), y, inner, subH), Qt::AlignHCenter | Qt::AlignTop,
                   subtitle_);
    }
}

}  // namespace orvane
