// Plain text at a theme font, in a text style's colour (following the scheme) or a fixed
// colour. Single-line text is elided when it does not fit; wrapped text reports its height
// for a width.
#pragma once

#include <QLabel>
#include <optional>

#include "ui/components/Theme.h"

namespace orvane {

class Text : public QLabel {
    Q_OBJECT
  public:
    explicit Text(const QString& text = {}, const QFont& font = Theme::font(13),
                  TextStyle style = TextStyle::primary, QWidget* parent = nullptr);

    // A fixed colour; overrides the text style.
    void setColor(const QColor& color);
    void setStyle(TextStyle style);
    QColor color() const;
    // Elide single-line text that does not fit (default true); false keeps the full width as
    // the minimum.
    void setElide(bool elide);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<QColor> color_;
    TextStyle style_;
    bool elide_ = true;
};

}  // namespace orvane
