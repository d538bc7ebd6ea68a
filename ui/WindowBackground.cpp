#include "ui/WindowBackground.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>

#include "ui/components/Theme.h"

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

void WindowBackground::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // Fill each dirty rectangle on its own (the gradient still spans the whole window):
    // clipping one window-sized fill to a small region costs as much as the whole fill.
    const QRectF whole(rect());
    for (const QRect& r : event->region()) {
        p.save();
        p.setClipRect(r);
        paint(p, whole);
        p.restore();
    }
}

}  // namespace orvane
