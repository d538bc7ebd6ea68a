#include "ui/components/Divider.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/paint/Theme.h"

namespace orvane {

Divider::Divider(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Divider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // A line of whole device pixels, as thick as fits in the divider's logical pixel: at 125 %
    // or 150 % that pixel covers one device row on some rows and two on others. The line takes
    // the device row nearest the divider's top.
    const QTransform& device = p.deviceTransform();
    const qreal scale = device.m22() > 0 ? device.m22() : 1;
    const qreal top = device.map(QPointF(0, 0)).y();
    const qreal thickness = std::max<qreal>(1, std::floor(scale + 1e-6));
    p.fillRect(QRectF(0, (std::round(top) - top) / scale, width(), thickness / scale),
               Theme::separator());
}

}  // namespace orvane
