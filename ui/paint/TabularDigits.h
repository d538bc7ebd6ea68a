#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <Qt>

class QPainter;

namespace orvane {

// Measuring and drawing text with equal-width digits: each digit takes the width of the
// font's widest digit, so a number that changes every second does not jitter sideways,
// whether or not the font's own digits are tabular.
namespace TabularDigits {
qreal advance(const QFont& font, const QString& text);
// Draws `text` on one line in `rect` at `align`, digits in equal cells.
void draw(QPainter& painter, const QRectF& rect, Qt::Alignment align, const QString& text);
}  // namespace TabularDigits

}  // namespace orvane
