// Plain text at a theme font, in a text style's colour (following the scheme) or a fixed
// colour. Single-line text is elided when it does not fit; wrapped text reports its height
// for a width.
//
// A painted widget rather than a label: changing the text asks the window for a new layout only
// when the text's size hint changes, so values that refresh every second (same digits count,
// same width) cost one small repaint instead of a layout pass over the whole window.
#pragma once

#include <QWidget>
#include <optional>

#include "ui/components/Theme.h"

namespace orvane {

class Text : public QWidget {
    Q_OBJECT
  public:
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
    void setStyle(TextStyle style);
    QColor color() const;
    // Elide single-line text that does not fit (default true); false keeps the full width as
    // the minimum.
    void setElide(bool elide);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return wrap_; }
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QSize sizeForWidth(int width) const;
    void computeHints() const;

    QString text_;
    Qt::Alignment align_ = Qt::AlignLeft | Qt::AlignVCenter;
    bool wrap_ = false;
    bool elide_ = true;
    std::optional<QColor> color_;
    TextStyle style_;

    // Size hints, computed on demand and dropped when the text, font or flags change.
    mutable bool hintsValid_ = false;
    mutable QSize hint_;
    mutable QSize minHint_;
};

}  // namespace orvane
