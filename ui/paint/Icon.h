// Symbols drawn from the bundled SVG icon set, tinted, at any size, cached. Painting only:
// IconView (ui/components) is the widget that shows one.
#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QString>

#include "ui/model/Symbol.h"

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
