#include "ui/components/Divider.h"

#include <QPainter>

#include "ui/paint/Theme.h"

namespace orvane {

Divider::Divider(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Divider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Theme::separator());
}

}  // namespace orvane
