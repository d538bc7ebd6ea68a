#include "ui/components/RingGauge.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "ui/components/Accessible.h"
#include "ui/components/FocusRing.h"
#include "ui/components/Motion.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/paint/TabularDigits.h"
#include "ui/paint/Theme.h"

namespace orvane {
namespace {
// The stroke is centred on the circle, so half of it lies outside the ring's frame.
constexpr qreal kOverhang = RingGauge::kLineWidth / 2;
}  // namespace

RingGauge::RingGauge(double fraction, const QString& title, const QString& subtitle,
                     const QColor& tint, qreal size, QWidget* parent)
    : QWidget(parent),
      fraction_(fraction),
      title_(title),
      subtitle_(subtitle),
      tint_(tint),
      size_(size),
      motion_(std::make_unique<Motion>(kAnimationMs, [this](double from, double to) {
          update(sweepRect(ringRect(), arcSpan(from), arcSpan(to)).toAlignedRect());
      })) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    motion_->jumpTo(clamped(fraction));
    Accessible::registerFactory([](QWidget* w) -> QAccessibleInterface* {
        if (!qobject_cast<RingGauge*>(w)) return nullptr;
        return Accessible::valueInterface(
            w,
            [](const QWidget* w) {
                // A gauge without a reading ("-") has no value to tell, not 0 percent.
                const auto* ring = static_cast<const RingGauge*>(w);
                return ring->title() == QStringLiteral("-") ? std::nan("") : ring->fraction();
            },
            [](const QWidget* ring) {
                // "Current\nCharge" is one name.
                return static_cast<const RingGauge*>(ring)->subtitle().replace(u'\n', u' ');
            });
    });
    TabStop::attach(this);
    shapeFocusRing();
}

void RingGauge::shapeFocusRing() {
    // A circle just outside the ring.
    const int side = sizeHint().width();
    TabStop::of(this)->focusRing()->setShape(side / 2.0 + 4, QMargins(4, 4, 4, 4));
}

RingGauge::~RingGauge() = default;

double RingGauge::displayedFraction() const {
    return motion_->value();
}

bool RingGauge::isAnimating() const {
    return motion_->isRunning();
}

double RingGauge::clamped(double fraction) {
    if (std::isnan(fraction)) return 0;
    return std::min(std::max(fraction, 0.0), 1.0);
}

double RingGauge::arcSpan(double fraction) {
    // A sliver that reads as "0%" would still show its round cap as a dot at 12 o'clock.
    const double f = clamped(fraction);
    return std::nearbyint(f * 100) == 0 ? 0.0 : f * 360.0;
}

void RingGauge::setFraction(double fraction) {
    // Keyed to the raw value: NaN never equals itself, so compare bitwise-ish.
    if (fraction == fraction_ || (std::isnan(fraction) && std::isnan(fraction_))) return;
    fraction_ = fraction;
    motion_->moveTo(clamped(fraction), circumference(), Theme::animationsEnabled() && isVisible());
    Accessible::valueChanged(this, fraction);
}

void RingGauge::setTitle(const QString& title) {
    if (title == title_) return;
    title_ = title;
    update(textRect().toAlignedRect());
}

void RingGauge::setSubtitle(const QString& subtitle) {
    if (subtitle == subtitle_) return;
    const QRectF before = textRect();
    subtitle_ = subtitle;
    boxes_.reset();
    update(before.united(textRect()).toAlignedRect());
}

void RingGauge::setTint(const QColor& tint) {
    if (tint == tint_) return;
    tint_ = tint;
    update();
}

void RingGauge::setRingSize(qreal size) {
    if (qFuzzyCompare(size, size_)) return;
    size_ = size;
    boxes_.reset();
    track_ = {};
    shapeFocusRing();
    updateGeometry();
    update();
}

QRectF RingGauge::ringRect() const {
    return QRectF((width() - size_) / 2.0, (height() - size_) / 2.0, size_, size_);
}

qreal RingGauge::circumference() const {
    return std::numbers::pi * size_;
}

QRectF RingGauge::sweepRect(const QRectF& ring, double fromSpan, double toSpan) {
    double a = std::clamp(std::min(fromSpan, toSpan), 0.0, 360.0);
    const double b = std::clamp(std::max(fromSpan, toSpan), 0.0, 360.0);
    if (a == b) return {};
    // The arc's last, partial piece is redrawn from its start; a closed ring is drawn without
    // caps and differs everywhere from an open one.
    a = b >= 360.0 ? 0.0 : std::floor(a / kArcPiece) * kArcPiece;
    const QPointF c = ring.center();
    const double r = ring.width() / 2;
    // A point on the circle, `deg` degrees clockwise from 12 o'clock.
    auto at = [&](double deg) {
        const double rad = deg * std::numbers::pi / 180;
        return QPointF(c.x() + r * std::sin(rad), c.y() - r * std::cos(rad));
    };
    QPointF p = at(a), q = at(b);
    double left = std::min(p.x(), q.x()), right = std::max(p.x(), q.x());
    double top = std::min(p.y(), q.y()), bottom = std::max(p.y(), q.y());
    // The stretch reaches the circle's extremes at every quarter it passes.
    for (double k = 0; k <= 360; k += 90) {
        if (k <= a || k >= b) continue;
        const QPointF e = at(k);
        left = std::min(left, e.x());
        right = std::max(right, e.x());
        top = std::min(top, e.y());
        bottom = std::max(bottom, e.y());
    }
    const double m = kOverhang + 1.5;
    return QRectF(QPointF(left, top), QPointF(right, bottom)).adjusted(-m, -m, m, m);
}

const RingGauge::TextBoxes& RingGauge::textBoxes() const {
    if (boxes_ && boxesFor_ == size()) return *boxes_;
    const QFontMetrics tf(Theme::font(titleSize(size_), QFont::Bold)), sf(Theme::font(11));
    const QRectF ring = ringRect();
    const int subLines = static_cast<int>(subtitle_.count(QLatin1Char('\n'))) + 1;
    const qreal subH = subtitle_.isEmpty() ? 0 : sf.lineSpacing() * (subLines - 1) + sf.height();
    const qreal blockH = tf.height() + (subH > 0 ? 2 + subH : 0);
    const qreal inner = size_ - 2 * kOverhang;
    const qreal left = ring.center().x() - inner / 2;
    const qreal top = ring.center().y() - blockH / 2;
    TextBoxes boxes;
    boxes.title = QRectF(left, top, inner, tf.height());
    if (subH > 0) boxes.subtitle = QRectF(left, top + tf.height() + 2, inner, subH);
    boxes_ = boxes;
    boxesFor_ = size();
    return *boxes_;
}

const QPixmap& RingGauge::trackLayer() {
    const qreal dpr = devicePixelRatioF();
    const QColor colour = Theme::primary(0.08);
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (track_.size() == pixels && track_.devicePixelRatioF() == dpr && trackColor_ == colour)
        return track_;
    track_ = QPixmap(pixels);
    track_.setDevicePixelRatio(dpr);
    track_.fill(Qt::transparent);
    trackColor_ = colour;
    QPainter p(&track_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, kLineWidth, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ringRect());
    return track_;
}

QPainterPath RingGauge::arcPath(const QRectF& ring, double span) {
    QPainterPath path;
    span = std::clamp(span, 0.0, 360.0);
    if (span <= 0) return path;
    // Qt measures angles counter-clockwise from 3 o'clock. Fixed pieces keep the drawn shape
    // of the arc's earlier stretch the same whatever its length, so a frame that repaints only
    // the end matches what a full repaint would draw.
    path.arcMoveTo(ring, 90);
    for (double done = 0; done < span; done += kArcPiece)
        path.arcTo(ring, 90 - done, -std::min(kArcPiece, span - done));
    if (span >= 360.0) path.closeSubpath();
    return path;
}

QRectF RingGauge::textRect() const {
    const TextBoxes& b = textBoxes();
    // A pixel of room for antialiased glyph edges.
    return b.title.united(b.subtitle).adjusted(-1, -1, 1, 1);
}

QSize RingGauge::sizeHint() const {
    const int side = static_cast<int>(std::ceil(size_ + 2 * kOverhang));
    return {side, side};
}

void RingGauge::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = ringRect();

    p.drawPixmap(0, 0, trackLayer());

    const double span = arcSpan(displayedFraction());
    if (span > 0) {
        const QRectF outer = ring.adjusted(-kOverhang, -kOverhang, kOverhang, kOverhang);
        QPen arc(QBrush(Theme::gradient(tint_, outer)), kLineWidth, Qt::SolidLine, Qt::RoundCap);
        p.strokePath(arcPath(ring, span), arc);
    }

    // Animation frames mostly touch the ring alone: leave the texts be.
    if (!event->region().intersects(textRect().toAlignedRect())) return;
    const TextBoxes& boxes = textBoxes();
    const QFont titleFont = Theme::font(titleSize(size_), QFont::Bold);
    p.setFont(titleFont);
    p.setPen(Theme::primary());
    // Equal-width digits: a percentage that changes every second stays put.
    if (TabularDigits::advance(titleFont, title_) <= boxes.title.width())
        TabularDigits::draw(p, boxes.title, Qt::AlignCenter, title_);
    else
        p.drawText(boxes.title, Qt::AlignCenter,
                   QFontMetrics(titleFont).elidedText(title_, Qt::ElideRight,
                                                      static_cast<int>(boxes.title.width())));
    if (!boxes.subtitle.isEmpty()) {
        p.setFont(Theme::font(11));
        p.setPen(Theme::secondary());
        p.drawText(boxes.subtitle, Qt::AlignHCenter | Qt::AlignTop, subtitle_);
    }
}

}  // namespace orvane
