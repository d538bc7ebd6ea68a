#include "ui/widgets/WindowBackground.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/paint/Theme.h"

namespace orvane {

WindowBackground::WindowBackground(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WindowBackground::paint(QPainter& painter, const QRectF& rect) {
    painter.fillRect(rect, Theme::windowBackground());
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    QColor top = Theme::accent();
    top.setAlphaF(0.06);
    QColor bottom = top;
    bottom.setAlphaF(0);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    painter.fillRect(rect, g);
}

const QImage& WindowBackground::column() {
    const QColor window = Theme::windowBackground();
    const QColor accent = Theme::accent();
    const qreal dpr = devicePixelRatioF();
    const int height = std::max(1, static_cast<int>(std::ceil(this->height() * dpr)));
    if (column_.height() != height || column_.devicePixelRatio() != dpr ||
        window != columnWindow_ || accent != columnAccent_) {
        column_ = QImage(1, height, QImage::Format_ARGB32_Premultiplied);
        column_.setDevicePixelRatio(dpr);
        QPainter p(&column_);
        paint(p, QRectF(0, 0, 1, this->height()));
        columnWindow_ = window;
        columnAccent_ = accent;
    }
    return column_;
}

void WindowBackground::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QBrush brush(column());
    for (const QRect& r : event->region())
        p.fillRect(r, brush);
}

}  // namespace orvane
