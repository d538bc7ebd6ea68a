#include "ui/components/FocusRing.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>

#include "ui/paint/Theme.h"

namespace orvane::FocusRing {
namespace {

constexpr char kKeyboardFocus[] = "orvaneKeyboardFocus";

// Remembers, per tracked widget, whether its current focus came from the keyboard.
class Tracker : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = static_cast<QWidget*>(watched);
        switch (event->type()) {
            case QEvent::FocusIn:
                w->setProperty(kKeyboardFocus,
                               fromKeyboard(static_cast<QFocusEvent*>(event)->reason()));
                w->update();
                break;
            case QEvent::FocusOut:
            case QEvent::MouseButtonPress:
                if (w->property(kKeyboardFocus).toBool()) {
                    w->setProperty(kKeyboardFocus, false);
                    w->update();
                }
                break;
            default:
                break;
        }
        return false;
    }
};

}  // namespace

bool fromKeyboard(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

bool shown(const QWidget* widget) {
    return widget->hasFocus() && widget->property(kKeyboardFocus).toBool();
}

void track(QWidget* widget) {
    widget->installEventFilter(new Tracker(widget));
}

void paint(QPainter& painter, const QRectF& rect, qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Theme::markColor(Tint::accent), kWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal half = kWidth / 2;
    painter.drawPath(Theme::continuousRect(rect.adjusted(half, half, -half, -half), radius));
    painter.restore();
}

namespace {

// The drawn ring of an Overlay.
class RingWidget : public QWidget {
  public:
    RingWidget(QWidget* parent, const qreal* radius) : QWidget(parent), radius_(radius) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint(p, QRectF(rect()), *radius_);
    }

  private:
    const qreal* radius_;
};

}  // namespace

Overlay::Overlay(QWidget* target, qreal radius, QMargins outset)
    : QObject(target), target_(target), radius_(radius), outset_(outset) {
    target->installEventFilter(this);
}

void Overlay::setShape(qreal radius, QMargins outset) {
    radius_ = radius;
    outset_ = outset;
    if (ring_ && ring_->isVisible()) place();
}

void Overlay::place() {
    // The nearest ancestor with room for the ring (a row's list is just as wide as its rows;
    // its card has room); a window on its own draws the ring inside itself.
    QWidget* parent = target_->parentWidget();
    QRect area = target_->geometry().marginsAdded(outset_);
    while (parent && !parent->rect().contains(area) && parent->parentWidget() &&
           !parent->isWindow()) {
        area.translate(parent->pos());
        parent = parent->parentWidget();
    }
    if (!parent) {
        parent = target_;
        area = target_->rect();
    }
    if (ring_ && ring_->parentWidget() != parent) delete ring_.data();
    if (!ring_) {
        ring_ = new RingWidget(parent, &radius_);
        // A ring outside its target goes with it.
        if (parent != target_)
            connect(this, &QObject::destroyed, ring_.data(), &QObject::deleteLater);
    }
    ring_->setGeometry(area);
    ring_->raise();
}

bool Overlay::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
            if (fromKeyboard(static_cast<QFocusEvent*>(event)->reason())) {
                place();
                ring_->show();
            }
            break;
        case QEvent::FocusOut:
        case QEvent::MouseButtonPress:
        case QEvent::Hide:
            if (ring_) ring_->hide();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (ring_ && ring_->isVisible()) place();
            break;
        default:
            break;
    }
    return false;
}

}  // namespace orvane::FocusRing
