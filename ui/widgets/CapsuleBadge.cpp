#include "ui/widgets/CapsuleBadge.h"

#include <QPainter>

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

QSize CapsuleBadge::sizeHint() const {
    const QFontMetrics fm(font_);
    return {fm.horizontalAdvance(text_) + 2 * padX_, fm.height() + 2 * padY_};
}

void CapsuleBadge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor c = Theme::color(tint_);
    QColor fill = c;
    fill.setAlphaF(c.alphaF() * fillOpacity_);
    p.fillPath(Theme::capsule(QRectF(rect())), fill);
    p.setFont(font_);
    p.setPen(c);
    p.drawText(rect(), Qt::AlignCenter, text_);
}

}  // namespace orvane
