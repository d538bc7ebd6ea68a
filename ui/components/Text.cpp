#include "ui/components/Text.h"

#include <QPainter>
#include <QTextOption>

namespace orvane {

Text::Text(const QString& text, const QFont& font, TextStyle style, QWidget* parent)
    : QLabel(text, parent), style_(style) {
    setFont(font);
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Text::setColor(const QColor& color) {
    if (color_ && *color_ == color) return;
    color_ = color;
    update();
}

void Text::setStyle(TextStyle style) {
    if (!color_ && style == style_) return;
    color_.reset();
    style_ = style;
    update();
}

QColor Text::color() const {
    return color_ ? *color_ : Theme::styleColor(style_);
}

void Text::setElide(bool elide) {
    if (elide == elide_) return;
    elide_ = elide;
    updateGeometry();
    update();
}

QSize Text::sizeHint() const {
    // One pixel more than the rounded advance, so a label at its size hint is never elided.
    QSize s = QLabel::sizeHint();
    if (!wordWrap() && !text().isEmpty()) s.rwidth() += 1;
    return s;
}

QSize Text::minimumSizeHint() const {
    QSize s = QLabel::minimumSizeHint();
    if (elide_ && !wordWrap())
        s.setWidth(std::min(s.width(), fontMetrics().horizontalAdvance(QStringLiteral("…")) * 3));
    return s;
}

void Text::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    p.setPen(color());
    const QRect r = contentsRect();
    const Qt::Alignment align = alignment();
    if (wordWrap()) {
        p.drawText(r, static_cast<int>(align) | Qt::TextWordWrap, text());
        return;
    }
    // Lines are kept as given; each line that is too wide is elided on its own.
    QString shown = text();
    if (elide_ && QFontMetricsF(font()).horizontalAdvance(shown) > r.width() + 0.5 &&
        !shown.contains(QLatin1Char('\n'))) {
        shown = fontMetrics().elidedText(shown, Qt::ElideRight, r.width());
    }
    p.drawText(r, static_cast<int>(align), shown);
}

}  // namespace orvane
