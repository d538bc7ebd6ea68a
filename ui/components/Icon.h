// Symbols drawn from the bundled SVG icon set, tinted, at any size, cached.
#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>

#include "ui/components/Symbol.h"
#include "ui/components/Theme.h"

class QPainter;

namespace orvane::Icon {

// The resource path of the SVG that stands for `symbol`; empty for Symbol::none.
QString resourcePath(Symbol symbol);

// Side of the square an icon at a font size of `pointSize` occupies.
qreal boxSize(qreal pointSize);

// The icon tinted `color`, `side` device-independent pixels square, for a device pixel ratio.
// `weight` sets the stroke thickness as the font weight would. Cached; Symbol::none gives a
// transparent pixmap.
QPixmap pixmap(Symbol symbol, qreal side, const QColor& color, qreal dpr,
               QFont::Weight weight = QFont::Normal);
// Draws the icon centred in `rect` (a square of the smaller side), at the painter's device
// pixel ratio.
void paint(QPainter& painter, const QRectF& rect, Symbol symbol, const QColor& color,
           QFont::Weight weight = QFont::Normal);

// Number of rendered pixmaps held in the cache (for tests).
int cacheSize();

}  // namespace orvane::Icon

namespace orvane {

// A widget showing one icon at a font size, in a text style's colour or a fixed colour.
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
