// Soft drop shadows of rounded rectangles, drawn from a cached blurred image (a nine-patch),
// so widgets that repaint often pay only for a few pixmap blits.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace orvane {

struct ShadowStyle {
    qreal cornerRadius = 16;
    QColor color = QColor::fromRgbF(0, 0, 0, 0.12);
    qreal blur = 10;       // blur radius, in points
    QPointF offset{0, 4};  // shadow offset from the shape
};

namespace Shadow {

// How far the blurred shadow reaches beyond the shape on each side (before the offset).
qreal extent(qreal blur);
// The rectangle the shadow of `shape` covers.
QRectF bounds(const QRectF& shape, const ShadowStyle& style);
// Paints the shadow of the rounded rectangle `shape`.
void paint(QPainter& painter, const QRectF& shape, const ShadowStyle& style);

}  // namespace Shadow

}  // namespace orvane
