#include "ui/widgets/CapsuleBadge.h"

#include <QPainter>
#include <algorithm>

#include "ui/components/Accessible.h"
#include "ui/paint/Theme.h"

namespace orvane {

CapsuleBadge::CapsuleBadge(const QString& text, Tint tint, qreal pointSize, QFont::Weight weight,
                           int padX, int padY, qreal fillOpacity, QWidget* parent)
    : QWidget(parent),
      text_(text),
      tint_(tint),
      font_(Theme::font(pointSize, weight)),
      padX_(padX),
      padY_(padY),
      fillOpacity_(fillOpacity) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    Accessible::install();  // before the name, which makes Qt create the interface
    setAccessibleName(text);
}

void CapsuleBadge::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void CapsuleBadge::setTint(Tint tint) {
    if (tint == tint_) return;
    tint_ = tint;
    update();
}

void CapsuleBadge::setShrinkable(bool shrinkable) {
    shrinkable_ = shrinkable;
    setSizePolicy(shrinkable ? QSizePolicy::Maximum : QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateGeometry();
}

QSize CapsuleBadge::minimumSizeHint() const {
    if (!shrinkable_) return sizeHint();
    const QFontMetrics fm(font_);
    return {std::min(sizeHint().width(), fm.horizontalAdvance(QStringLiteral("MMM…")) + 2 * padX_),
            sizeHint().height()};
}

QSize CapsuleBadge::sizeHint() const {
    const QFontMetrics fm(font_);
    return {fm.horizontalAdvance(text_) + 2 * padX_, fm.height() + 2 * padY_};
}

void CapsuleBadge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(Theme::capsule(QRectF(rect())), Theme::badgeFill(tint_, fillOpacity_));
    p.setFont(font_);
    p.setPen(Theme::textColor(tint_));
    const QString shown =
        QFontMetrics(font_).elidedText(text_, Qt::ElideMiddle, width() - 2 * padX_ + 1);
    p.drawText(rect(), Qt::AlignCenter, shown);
}

}  // namespace orvane
