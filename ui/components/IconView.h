// A widget showing one icon of the bundled set at a font size, in a text style's colour or a
// fixed colour.
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>
#include <optional>

#include "ui/model/Symbol.h"
#include "ui/paint/Theme.h"

namespace orvane {

class IconView : public QWidget {
    Q_OBJECT
  public:
    explicit IconView(Symbol symbol = Symbol::none, qreal pointSize = 13,
                      QFont::Weight weight = QFont::Normal, QWidget* parent = nullptr);

    Symbol symbol() const { return symbol_; }
    void setSymbol(Symbol symbol);
    qreal pointSize() const { return pointSize_; }
    void setPointSize(qreal pointSize);
    void setWeight(QFont::Weight weight);
    // A fixed colour; overrides the text style.
    void setColor(const QColor& color);
    // Follow a text style's colour in the current scheme (the default: primary).
    void setStyle(TextStyle style);
    QColor color() const;
    // Fixed width of the icon's frame (0: the icon's own box).
    void setFrameWidth(int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Symbol symbol_;
    qreal pointSize_;
    QFont::Weight weight_;
    std::optional<QColor> color_;
    TextStyle style_ = TextStyle::primary;
    int frameWidth_ = 0;
};

}  // namespace orvane
