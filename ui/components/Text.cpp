#include "ui/components/Text.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/components/Accessible.h"
#include "ui/paint/TabularDigits.h"
#include "ui/paint/TextWrap.h"

namespace orvane {
namespace {

// A painted text: static text (or a heading) named by what it shows.
class TextInterface : public QAccessibleWidget {
  public:
    explicit TextInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QAccessible::Role role() const override {
        return static_cast<const Text*>(widget())->isHeading() ? QAccessible::Heading
                                                               : QAccessible::StaticText;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const Text*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* textInterface(QWidget* w) {
    return qobject_cast<Text*>(w) ? new TextInterface(w) : nullptr;
}

}  // namespace

Text::Text(const QString& text, const QFont& font, TextStyle style, QWidget* parent)
    : QWidget(parent), text_(forLayout(text)), style_(style) {
    Accessible::registerFactory(textInterface);
    setFont(font);
    setSizePolicy(QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred, QSizePolicy::Label));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString Text::forLayout(const QString& text) {
    constexpr qsizetype kMaxChars = 300;
    if (text.size() <= kMaxChars) return text;
    // Not between the two halves of a surrogate pair.
    const qsizetype cut = text.at(kMaxChars - 1).isHighSurrogate() ? kMaxChars - 1 : kMaxChars;
    return text.left(cut) + QChar(0x2026);
}

void Text::setText(const QString& full) {
    const QString text = forLayout(full);
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
    updateElision();
    update();
    Accessible::nameChanged(this);
}

void Text::relayout() {
    hintsValid_ = false;
    updateGeometry();
    update();
}

void Text::setAlignment(Qt::Alignment align) {
    if (align == align_) return;
    align_ = align;
    relayout();
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
    tint_.reset();
    update();
}

void Text::setTint(Tint tint) {
    if (tint_ == tint) return;
    tint_ = tint;
    color_.reset();
    update();
}

void Text::setStyle(TextStyle style) {
    if (!color_ && !tint_ && style == style_) return;
    color_.reset();
    tint_.reset();
    style_ = style;
    update();
}

QColor Text::color() const {
    if (color_) return *color_;
    return tint_ ? Theme::textColor(*tint_) : Theme::styleColor(style_);
}

void Text::setElide(bool elide) {
    if (elide == elide_) return;
    elide_ = elide;
    relayout();
}

void Text::setMinimumScale(qreal scale) {
    scale = std::clamp(scale, 0.1, 1.0);
    if (qFuzzyCompare(scale, minScale_)) return;
    minScale_ = scale;
    relayout();
}

void Text::setMaximumLines(int lines) {
    if (lines == maxLines_) return;
    maxLines_ = std::max(0, lines);
    relayout();
}

void Text::setTabularDigits(bool tabular) {
    if (tabular == tabular_) return;
    tabular_ = tabular;
    relayout();
}

qreal Text::advance(const QFont& font) const {
    return tabular_ ? TabularDigits::advance(font, text_)
                    : QFontMetricsF(font).horizontalAdvance(text_);
}

qreal Text::naturalWidth() const {
    return advance(font());
}

QFont Text::scaledFont(qreal scale) const {
    QFont f = font();
    if (scale < 1 && f.pixelSize() > 0)
        f.setPixelSize(std::max(1, static_cast<int>(std::floor(f.pixelSize() * scale))));
    return f;
}

QFont Text::fittedFont() const {
    const qreal room = contentsRect().width() + 0.5;
    if (wrap_ || minScale_ >= 1 || advance(font()) <= room) return font();
    // Whole-pixel steps, checked, since text width does not scale exactly.
    const int full = font().pixelSize();
    const int smallest = std::max(1, static_cast<int>(std::floor(full * minScale_)));
    QFont f = font();
    for (int px = full - 1; px >= smallest; --px) {
        f.setPixelSize(px);
        if (advance(f) <= room) return f;
    }
    return f;
}

QFont Text::wrapFont(int width) const {
    if (maxLines_ == 0 || minScale_ >= 1 || text_.isEmpty()) return font();
    const auto fits = [&](const QFont& f) {
        const QStringList lines = TextWrap::lines(text_, f, width, maxLines_);
        return !lines.back().endsWith(QChar(0x2026)) || text_.endsWith(QChar(0x2026));
    };
    if (fits(font())) return font();
    const int full = font().pixelSize();
    const int smallest = std::max(1, static_cast<int>(std::floor(full * minScale_)));
    QFont f = font();
    for (int px = full - 1; px >= smallest; --px) {
        f.setPixelSize(px);
        if (fits(f)) return f;
    }
    return f;
}

QStringList Text::shownLines(bool* elided) const {
    const QRect r = contentsRect();
    bool cut = false;
    QStringList lines;
    if (wrap_) {
        lines = TextWrap::lines(text_, wrapFont(r.width()), r.width(), maxLines_);
        cut = maxLines_ > 0 && !lines.isEmpty() && lines.back().endsWith(QChar(0x2026)) &&
              !text_.endsWith(QChar(0x2026));
    } else if (elide_ && !text_.contains(QLatin1Char('\n'))) {
        // Lines are kept as given; a single line that is too wide is elided.
        const QFont f = fittedFont();
        if (advance(f) > r.width() + 0.5) {
            lines << QFontMetrics(f).elidedText(text_, Qt::ElideRight, r.width());
            cut = true;
        } else {
            lines << text_;
        }
    } else {
        lines << text_;
    }
    if (elided) *elided = cut;
    return lines;
}

bool Text::isElided() const {
    bool elided = false;
    shownLines(&elided);
    return elided;
}

void Text::updateElision() {
    const bool elided = !text_.isEmpty() && isElided();
    setAttribute(Qt::WA_TransparentForMouseEvents, !elided);
    setToolTip(elided ? text_ : QString());
}

// The text's bounding box when laid out in `width` pixels (a negative width: unbounded, or for
// wrapped text a pleasant paragraph width), plus the contents margins.
QSize Text::sizeForWidth(int width) const {
    const QMargins m = contentsMargins();
    const QFontMetrics fm = fontMetrics();
    // Empty text keeps one line's height, so nothing moves when a value arrives.
    if (text_.isEmpty()) return {m.left() + m.right(), fm.height() + m.top() + m.bottom()};
    if (!wrap_) {
        // Centring is left out: it only moves the box and halving would round the size.
        const int flags = static_cast<int>(align_ & ~(Qt::AlignVCenter | Qt::AlignHCenter));
        QRect br = fm.boundingRect(0, 0, 2000, 2000, flags, text_);
        if (tabular_) br.setWidth(static_cast<int>(std::ceil(naturalWidth())));
        return {br.width() + m.left() + m.right(), br.height() + m.top() + m.bottom()};
    }
    const auto measure = [&](int w) {
        const QFont f = wrapFont(w);
        const QFontMetrics wm(f);
        const QStringList lines = TextWrap::lines(text_, f, w, maxLines_);
        qreal widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, QFontMetricsF(f).horizontalAdvance(line));
        return QSize(static_cast<int>(std::ceil(widest)),
                     static_cast<int>(lines.size() - 1) * wm.lineSpacing() + wm.height());
    };
    // A paragraph prefers a pleasant column; a title with a line limit prefers one line.
    const bool tryWidth = width < 0 && maxLines_ == 0;
    if (width < 0)
        width =
            maxLines_ > 0 ? QWIDGETSIZE_MAX : std::min(fm.averageCharWidth() * 80, maximumWidth());
    width -= m.left() + m.right();
    QSize box = measure(width);
    // Wrapped text prefers a narrower column over one or two very long lines.
    if (tryWidth && box.height() < 4 * fm.lineSpacing() && box.width() > width / 2)
        box = measure(width / 2);
    if (tryWidth && box.height() < 2 * fm.lineSpacing() && box.width() > width / 4)
        box = measure(width / 4);
    // A minimum size set on the widget is left to the layout, which applies it anyway; keeping
    // it out of the cached hints means a later change of it cannot leave them stale.
    return {box.width() + m.left() + m.right(), box.height() + m.top() + m.bottom()};
}

void Text::computeHints() const {
    if (hintsValid_) return;
    hint_ = sizeForWidth(-1);
    if (wrap_) {
        // One line high, as narrow as the longest word (up to a dozen characters: a longer
        // word breaks rather than widening the page).
        const QFontMetrics fm = fontMetrics();
        int longest = 0;
        for (const QString& word : text_.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            longest = std::max(longest, fm.horizontalAdvance(word) + 1);
        const QMargins m = contentsMargins();
        minHint_ = QSize(std::min(longest, fm.averageCharWidth() * 12) + m.left() + m.right(),
                         sizeForWidth(QWIDGETSIZE_MAX).height());
        minHint_.setHeight(std::min(minHint_.height(), hint_.height()));
        // As for single lines: the rounded width of the widest line must not make it wrap.
        if (!text_.isEmpty()) hint_.rwidth() += 1;
    } else {
        // Unwrapped text measures the same at any width.
        minHint_ = hint_;
        if (minScale_ < 1 && !text_.isEmpty())
            minHint_.setWidth(static_cast<int>(std::ceil(advance(scaledFont(minScale_)))) + 1 +
                              contentsMargins().left() + contentsMargins().right());
        else if (elide_)
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

void Text::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateElision();
}

void Text::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(color());
    const QRect r = contentsRect();
    if (wrap_) {
        p.setFont(wrapFont(r.width()));
        const QStringList lines = shownLines();
        const QFontMetrics fm(p.font());
        const int blockH = static_cast<int>(lines.size() - 1) * fm.lineSpacing() + fm.height();
        int y = r.top();
        if (align_ & Qt::AlignVCenter) y += (r.height() - blockH) / 2;
        if (align_ & Qt::AlignBottom) y += r.height() - blockH;
        const int h = static_cast<int>(align_ & Qt::AlignHorizontal_Mask);
        for (const QString& line : lines) {
            p.drawText(QRect(r.left(), y, r.width(), fm.height()), h | Qt::AlignVCenter, line);
            y += fm.lineSpacing();
        }
        return;
    }
    const QFont f = fittedFont();
    p.setFont(f);
    const QString shown = shownLines().value(0);
    if (tabular_ && shown == text_)
        TabularDigits::draw(p, r, align_, shown);
    else
        p.drawText(r, static_cast<int>(align_), shown);
}

}  // namespace orvane
