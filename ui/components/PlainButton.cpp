#include "ui/components/PlainButton.h"

#include <QPainter>

#include "ui/components/FocusRing.h"
#include "ui/paint/Icon.h"
#include "ui/paint/Theme.h"

namespace orvane {

PlainButton::PlainButton(const QString& text, Symbol symbol, const QFont& font, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol) {
    setText(text);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The ring a little outside the button, clear of its text.
    new FocusRing::Overlay(this, 5, QMargins(5, 2, 5, 2));
}

void PlainButton::setColor(std::optional<QColor> color) {
    color_ = color;
    update();
}

QColor PlainButton::color() const {
    return color_ ? *color_ : Theme::textColor(Tint::accent);
}

QSize PlainButton::sizeHint() const {
    const QFontMetrics fm(font());
    const int icon =
        symbol_ == Symbol::none ? 0 : static_cast<int>(Icon::boxSize(font().pixelSize())) + 5;
    return {icon + fm.horizontalAdvance(text()) + 2, std::max(fm.height(), icon) + 2};
}

void PlainButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor c = color();
    if (isDown()) {
        c.setAlphaF(c.alphaF() * 0.55);
    } else if (hovered_) {
        c = Theme::isDark() ? c.lighter(125) : c.darker(118);
    }
    const QFontMetrics fm(font());
    qreal x = 1;
    if (symbol_ != Symbol::none) {
        const qreal box = Icon::boxSize(font().pixelSize());
        Icon::paint(p, QRectF(x, height() / 2.0 - box / 2, box, box), symbol_, c, font().weight());
        x += box + 5;
    }
    p.setFont(font());
    p.setPen(c);
    p.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

void PlainButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PlainButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace orvane
