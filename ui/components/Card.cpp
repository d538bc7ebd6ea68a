#include "ui/components/Card.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/components/DropShadow.h"
#include "ui/paint/Theme.h"

namespace orvane {

Card::Card(QWidget* parent, int padding)
    : QWidget(parent), body_(new QVBoxLayout(this)), padding_(padding) {
    body_->setContentsMargins(padding, padding, padding, padding);
    body_->setSpacing(0);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ShadowStyle shadow;
    shadow.cornerRadius = Theme::cardCorner;
    shadow.color = QColor::fromRgbF(0, 0, 0, 0.12);
    shadow.blur = 10;
    shadow.offset = {0, 4};
    DropShadow::attach(this, shadow);
}

Card::Card(QWidget* content, QWidget* parent, int padding) : Card(parent, padding) {
    if (content) body_->addWidget(content);
}

void Card::setPadding(int padding) {
    if (padding == padding_) return;
    padding_ = padding;
    body_->setContentsMargins(padding, padding, padding, padding);
}

QRect Card::contentRect(const QSize& size, int padding) {
    return QRect(QPoint(0, 0), size).adjusted(padding, padding, -padding, -padding);
}

void Card::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // A repaint inside the card, away from its rounded corners and outline (a gauge's frame,
    // a changed text), needs only the flat fill: skip building and clipping the outline paths.
    if ((event->region() - Theme::continuousRectInterior(rect(), Theme::cardCorner, 2)).isEmpty()) {
        for (const QRect& dirty : event->region())
            p.fillRect(dirty, Theme::cardFill());
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect());
    p.fillPath(Theme::continuousRect(r, Theme::cardCorner), Theme::cardFill());
    // The outline lies inside the edge: inset by half the line width.
    QPen pen(Theme::primary(0.06), 1);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(Theme::continuousRect(r.adjusted(0.5, 0.5, -0.5, -0.5), Theme::cardCorner - 0.5));
}

}  // namespace orvane
