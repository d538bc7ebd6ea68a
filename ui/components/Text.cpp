#include "ui/components/Text.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>

namespace orvane {
namespace {

// Assistive technologies read a Text as static text carrying its string.
class TextAccessible : public QAccessibleWidget {
  public:
    explicit TextAccessible(Text* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<const Text*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* textAccessible(const QString& key, QObject* object) {
    if (key == QLatin1String("orvane::Text") && object && object->isWidgetType())
        return new TextAccessible(static_cast<Text*>(object));
    return nullptr;
}

}  // namespace

Text::Text(const QString& text, const QFont& font, TextStyle style, QWidget* parent)
    : QWidget(parent), text_(text), style_(style) {
    static const bool registered = [] {
        QAccessible::installFactory(textAccessible);
        return true;
    }();
    (void)registered;
    setFont(font);
    setSizePolicy(QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred, QSizePolicy::Label));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Text::setText(const QString& text) {
    if (text == text_) return;
    const QSize oldHint = sizeHint();
    const QSize oldMin = minimumSizeHint();
    const int oldHeight = wrap_ ? heightForWidth(width()) : 0;
    text_ = text;
    hintsValid_ = false;
    // Only a new size needs the layout; otherwise the text just repaints in place.
    if (sizeHint() != oldHint || minimumSizeHint() != oldMin ||
        (wrap_ && heightForWidth(width()) != oldHeight))
        updateGeometry();
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void Text::setAlignment(Qt::Alignment align) {
    if (align == align_) return;
    align_ = align;
    hintsValid_ = false;
    updateGeometry();
    update();
}

void Text::setWordWrap(bool wrap) {
    if (wrap == wrap_) return;
    wrap_ = wrap;
    hintsValid_ = false;
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(wrap);
    setSizePolicy(policy);
    updateGeometry();
    update();
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
    hintsValid_ = false;
    updateGeometry();
    update();
}

// The text's bounding box when laid out in `width` pixels (a negative width: unbounded, or for
// wrapped text a pleasant paragraph width), plus the contents margins.
QSize Text::sizeForWidth(int width) const {
    const QMargins m = contentsMargins();
    const QFontMetrics fm = fontMetrics();
    // Centring is left out: it only moves the box and halving would round the size.
    int flags = static_cast<int>(align_ & ~(Qt::AlignVCenter | Qt::AlignHCenter));
    if (wrap_) flags |= Qt::TextWordWrap;
    const bool tryWidth = width < 0 && wrap_;
    if (tryWidth)
        width = std::min(fm.averageCharWidth() * 80, maximumWidth());
    else if (width < 0)
        width = 2000;
    width -= m.left() + m.right();
    // Empty text keeps one line's height, so nothing moves when a value arrives.
    if (text_.isEmpty()) return {m.left() + m.right(), fm.height() + m.top() + m.bottom()};
    QRect br = fm.boundingRect(0, 0, width, 2000, flags, text_);
    // Wrapped text prefers a narrower column over one or two very long lines.
    if (tryWidth && br.height() < 4 * fm.lineSpacing() && br.width() > width / 2)
        br = fm.boundingRect(0, 0, width / 2, 2000, flags, text_);
    if (tryWidth && br.height() < 2 * fm.lineSpacing() && br.width() > width / 4)
        br = fm.boundingRect(0, 0, width / 4, 2000, flags, text_);
    // A minimum size set on the widget is left to the layout, which applies it anyway; keeping
    // it out of the cached hints means a later change of it cannot leave them stale.
    return {br.width() + m.left() + m.right(), br.height() + m.top() + m.bottom()};
}

void Text::computeHints() const {
    if (hintsValid_) return;
    hint_ = sizeForWidth(-1);
    if (wrap_) {
        // One line high, as narrow as the longest word.
        minHint_ = QSize(sizeForWidth(0).width(), sizeForWidth(QWIDGETSIZE_MAX).height());
        minHint_.setHeight(std::min(minHint_.height(), hint_.height()));
    } else {
        // Unwrapped text measures the same at any width.
        minHint_ = hint_;
        if (elide_)
            minHint_.setWidth(std::min(minHint_.width(),
                                       fontMetrics().horizontalAdvance(QStringLiteral("…")) * 3));
        // One pixel more than the rounded advance, so a text at its size hint is never elided.
        if (!text_.isEmpty()) hint_.rwidth() += 1;
    }
    hintsValid_ = true;
}

QSize Text::sizeHint() const {
    computeHints();
    return hint_;
}

QSize Text::minimumSizeHint() const {
    computeHints();
    return minHint_;
}

int Text::heightForWidth(int width) const {
    if (!wrap_) return QWidget::heightForWidth(width);
    // The widget is never narrower than a minimum width set on it.
    return sizeForWidth(std::max(width, minimumWidth())).height();
}

void Text::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::ContentsRectChange)
        hintsValid_ = false;
    QWidget::changeEvent(event);
}

void Text::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    p.setPen(color());
    const QRect r = contentsRect();
    if (wrap_) {
        p.drawText(r, static_cast<int>(align_) | Qt::TextWordWrap, text_);
        return;
    }
    // Lines are kept as given; a single line that is too wide is elided.
    QString shown = text_;
    if (elide_ && QFontMetricsF(font()).horizontalAdvance(shown) > r.width() + 0.5 &&
        !shown.contains(QLatin1Char('\n'))) {
        shown = fontMetrics().elidedText(shown, Qt::ElideRight, r.width());
    }
    p.drawText(r, static_cast<int>(align_), shown);
}

}  // namespace orvane
