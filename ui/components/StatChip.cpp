#include "ui/components/StatChip.h"

#include <QPainter>
#include <cmath>

#include "ui/components/Accessible.h"
#include "ui/components/Copyable.h"
#include "ui/components/FocusRing.h"
#include "ui/paint/Icon.h"
#include "ui/paint/Theme.h"

namespace orvane {
namespace {

constexpr qreal kIconSize = 16;
constexpr qreal kCornerRadius = 12;

QFont valueFont(qreal size) {
    QFont f = Theme::font(size, QFont::Bold);
    // The shrunk sizes need fractional steps.
    f.setPixelSize(std::max(1, static_cast<int>(std::floor(size))));
    return f;
}
QFont captionFont() {
    return Theme::font(11);
}

}  // namespace

StatChip::StatChip(Symbol icon, const QString& value, const QString& caption, const QColor& tint,
                   QWidget* parent)
    : QWidget(parent), icon_(icon), value_(value), caption_(caption), tint_(tint) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    copyable_ = Copyable::attach(this, value_);
    copyable_->setNameOf([](const QWidget* chip) {
        const auto* self = static_cast<const StatChip*>(chip);
        // "Memory: 32 GB, LPDDR5": what the tile is, its value, then a caption that says more.
        const QString what = self->what().isEmpty() ? self->caption() : self->what();
        QString name = what + QStringLiteral(": ") + self->value();
        if (what != self->caption() && !self->caption().isEmpty())
            name += QStringLiteral(", ") + self->caption();
        return name;
    });
    // The ring follows the chip's corners, a little outside them.
    copyable_->focusRing()->setShape(kCornerRadius + 3, QMargins(3, 3, 3, 3));
}

void StatChip::setIcon(Symbol icon) {
    if (icon == icon_) return;
    icon_ = icon;
    update();
}

void StatChip::setValue(const QString& value) {
    copyable_->setValue(value);
    if (value == value_) return;
    value_ = value;
    update();
    Accessible::nameChanged(this);
}

void StatChip::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
    Accessible::nameChanged(this);
}

void StatChip::setWhat(const QString& what) {
    if (what == what_) return;
    what_ = what;
    Accessible::nameChanged(this);
}

void StatChip::setTint(const QColor& tint) {
    if (tint == tint_) return;
    tint_ = tint;
    update();
}

qreal StatChip::fittedValueSize(const QString& value, qreal width) {
    const qreal natural = QFontMetricsF(valueFont(kValueSize)).horizontalAdvance(value);
    if (natural <= width || natural <= 0) return kValueSize;
    // Shrink in whole-pixel steps and check, since text width does not scale exactly.
    for (qreal size = kValueSize - 1; size >= kValueSize * kMinScale; size -= 1) {
        if (QFontMetricsF(valueFont(size)).horizontalAdvance(value) <= width) return size;
    }
    return std::ceil(kValueSize * kMinScale);
}

QString StatChip::shownValue(const QString& value, qreal width) {
    const QFont font = valueFont(fittedValueSize(value, width));
    if (QFontMetricsF(font).horizontalAdvance(value) <= width) return value;
    return QFontMetrics(font).elidedText(value, Qt::ElideRight,
                                         static_cast<int>(std::floor(width)));
}

QSize StatChip::sizeHint() const {
    const QFontMetrics vf(valueFont(kValueSize)), cf(captionFont());
    const int h = kPadding * 2 + static_cast<int>(Icon::boxSize(kIconSize)) + kSpacing +
                  vf.height() + kSpacing + cf.height();
    const int w =
        kPadding * 2 + std::max(vf.horizontalAdvance(value_), cf.horizontalAdvance(caption_));
    return {w, h};
}

QSize StatChip::minimumSizeHint() const {
    return {kPadding * 2 + 40, sizeHint().height()};
}

void StatChip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(Theme::continuousRect(QRectF(rect()), kCornerRadius), Theme::chipFill());

    const qreal x = kPadding;
    const qreal w = std::max(0, width() - 2 * kPadding);
    const QFontMetrics vf(valueFont(kValueSize)), cf(captionFont());
    const qreal box = Icon::boxSize(kIconSize);
    const qreal contentH = box + kSpacing + vf.height() + kSpacing + cf.height();
    qreal y = (height() - contentH) / 2;

    // The icon's glyph is left-aligned with the texts.
    Icon::paint(p, QRectF(x - (box - kIconSize) / 2, y, box, box), icon_, tint_, QFont::DemiBold);
    y += box + kSpacing;

    const qreal size = fittedValueSize(value_, w);
    p.setFont(valueFont(size));
    p.setPen(Theme::primary());
    p.drawText(QRectF(x, y, w, vf.height()), Qt::AlignLeft | Qt::AlignVCenter,
               shownValue(value_, w));
    y += vf.height() + kSpacing;

    p.setFont(captionFont());
    p.setPen(Theme::secondary());
    p.drawText(QRectF(x, y, w, cf.height()), Qt::AlignLeft | Qt::AlignVCenter,
               cf.elidedText(caption_, Qt::ElideRight, static_cast<int>(w)));
}

}  // namespace orvane
