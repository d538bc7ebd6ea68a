#include "ui/components/IconView.h"

#include <QPainter>

#include "ui/paint/Icon.h"

namespace orvane {

IconView::IconView(Symbol symbol, qreal pointSize, QFont::Weight weight, QWidget* parent)
    : QWidget(parent), symbol_(symbol), pointSize_(pointSize), weight_(weight) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void IconView::setSymbol(Symbol symbol) {
    if (symbol == symbol_) return;
    symbol_ = symbol;
    update();
}

void IconView::setPointSize(qreal pointSize) {
    if (qFuzzyCompare(pointSize, pointSize_)) return;
    pointSize_ = pointSize;
    updateGeometry();
    update();
}

void IconView::setWeight(QFont::Weight weight) {
    if (weight == weight_) return;
    weight_ = weight;
    update();
}

void IconView::setColor(const QColor& color) {
    if (color_ && *color_ == color) return;
    color_ = color;
    update();
}

void IconView::setStyle(TextStyle style) {
    if (!color_ && style == style_) return;
    color_.reset();
    style_ = style;
    update();
}

QColor IconView::color() const {
    return color_ ? *color_ : Theme::styleColor(style_);
}

void IconView::setFrameWidth(int width) {
    if (width == frameWidth_) return;
    frameWidth_ = width;
    updateGeometry();
}

QSize IconView::sizeHint() const {
    const int box = static_cast<int>(Icon::boxSize(pointSize_));
    return {frameWidth_ > 0 ? frameWidth_ : box, box};
}

void IconView::paintEvent(QPaintEvent*) {
    if (symbol_ == Symbol::none) return;
    QPainter p(this);
    const qreal box = Icon::boxSize(pointSize_);
    const QRectF r(QPointF(width() / 2.0 - box / 2, height() / 2.0 - box / 2), QSizeF(box, box));
    Icon::paint(p, r, symbol_, color(), weight_);
}

}  // namespace orvane
