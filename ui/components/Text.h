// Plain text at a theme font, in a text style's colour (following the scheme) or a fixed
// colour. Single-line text is elided when it does not fit; wrapped text reports its height
// for a width.
//
// A painted widget rather than a label: changing the text asks the window for a new layout only
// when the text's size hint changes, so values that refresh every second (same digits count,
// same width) cost one small repaint instead of a layout pass over the whole window.
#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

#include "ui/paint/Theme.h"

namespace orvane {

class Text : public QWidget {
    Q_OBJECT
  public:
    // At most a few hundred characters, the rest replaced by "…": nobody reads more of a name,
    // and laying out megabytes of it takes minutes. What is copied or reported stays whole.
    static QString forLayout(const QString& text);

    explicit Text(const QString& text = {}, const QFont& font = Theme::font(13),
                  TextStyle style = TextStyle::primary, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);

    // Where the text sits in its rectangle (default left, vertically centred).
    Qt::Alignment alignment() const { return align_; }
    void setAlignment(Qt::Alignment align);
    // Wrap at word boundaries; the height then follows the width.
    bool wordWrap() const { return wrap_; }
    void setWordWrap(bool wrap);

    // A fixed colour; overrides the text style.
    void setColor(const QColor& color);
    // The text shade of a tint in the current scheme; overrides the text style.
    void setTint(Tint tint);
    void setStyle(TextStyle style);
    QColor color() const;
    // Elide single-line text that does not fit (default true); false keeps the full width as
    // the minimum.
    void setElide(bool elide);
    // Single-line text shrinks down to this share of its font size before it is elided; the
    // minimum width is the text's at that size (default 1: no shrinking). Wrapped text with a
    // line limit shrinks likewise before its last line is elided.
    void setMinimumScale(qreal scale);
    // Wrapped text takes at most this many lines, the last one elided (0: no limit).
    void setMaximumLines(int lines);
    // Digits in equal-width cells, for numbers that change while shown.
    void setTabularDigits(bool tabular);
    // A card's or a group's title: assistive technology reads it as a heading.
    void setHeading(bool heading) { heading_ = heading; }
    bool isHeading() const { return heading_; }

    // Whether the text as drawn at the current size is cut short (it then shows the full text
    // as its tooltip).
    bool isElided() const;
    // Width of the whole text on one line at full size.
    qreal naturalWidth() const;
    // The font size the single-line text is drawn at in the current width.
    QFont fittedFont() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return wrap_; }
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QSize sizeForWidth(int width) const;
    void computeHints() const;
    // Drops the size hints and asks for a new layout and a repaint.
    void relayout();
    qreal advance(const QFont& font) const;
    QFont scaledFont(qreal scale) const;
    // The font wrapped text is drawn at in `width`: smaller, down to the minimum scale, while
    // the text would not fit its line limit.
    QFont wrapFont(int width) const;
    // The lines drawn in the contents rectangle, and whether they cut the text short.
    QStringList shownLines(bool* elided = nullptr) const;
    // An elided text takes the mouse so its tooltip can show the full text.
    void updateElision();

    QString text_;
    Qt::Alignment align_ = Qt::AlignLeft | Qt::AlignVCenter;
    bool wrap_ = false;
    bool elide_ = true;
    qreal minScale_ = 1;
    int maxLines_ = 0;
    bool tabular_ = false;
    bool heading_ = false;
    std::optional<QColor> color_;
    std::optional<Tint> tint_;
    TextStyle style_;

    // Size hints, computed on demand and dropped when the text, font or flags change.
    mutable bool hintsValid_ = false;
    mutable QSize hint_;
    mutable QSize minHint_;
};

}  // namespace orvane
