#include "ui/widgets/Sparkline.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/paint/Theme.h"

namespace orvane {

Sparkline::Sparkline(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
}

void Sparkline::setPoints(const std::vector<ChartPoint>& points, Tint tint) {
    if (points == points_ && tint == tint_) return;
    points_ = points;
    tint_ = tint;
    update();
}

void Sparkline::paintEvent(QPaintEvent*) {
    if (points_.size() < 2) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(2, 2, -2, -2);
    QPainterPath line;
    for (const ChartPoint& c : points_) {
        const QPointF at(r.left() + c.x * r.width(), r.bottom() - c.y * r.height());
        line.elementCount() == 0 ? line.moveTo(at) : line.lineTo(at);
    }
    const QColor tint = Theme::color(tint_);
    QPainterPath area = line;
    area.lineTo(r.right(), r.bottom() + 2);
    area.lineTo(r.left(), r.bottom() + 2);
    area.closeSubpath();
    QColor fill = tint;
    fill.setAlphaF(0.15);
    p.fillPath(area, fill);
    p.setPen(QPen(tint, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
}

}  // namespace orvane
