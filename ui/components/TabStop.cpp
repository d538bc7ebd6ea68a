#include "ui/components/TabStop.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QScrollArea>

#include "ui/components/Accessible.h"
#include "ui/components/Card.h"
#include "ui/components/FocusRing.h"

namespace orvane {
namespace {

const QString kObjectName = QStringLiteral("orvane.tabstop");

// A stop with a name of its own: what it reads, never a tooltip as its description.
class NamedStopInterface : public QAccessibleWidget {
  public:
    NamedStopInterface(QWidget* w, const TabStop* stop) : QAccessibleWidget(w, stop->role()) {}

    QString text(QAccessible::Text t) const override {
        const TabStop* stop = TabStop::of(widget());
        if (t == QAccessible::Name) return stop ? stop->name() : QString();
        if (t == QAccessible::Description) return widget()->accessibleDescription();
        return QAccessibleWidget::text(t);
    }

    // A link opens as Enter does.
    QStringList actionNames() const override {
        return role() == QAccessible::Link ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action != pressAction() || role() != QAccessible::Link) return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(widget(), &press);
    }
};

QAccessibleInterface* namedStopInterface(QWidget* w) {
    const TabStop* stop = TabStop::of(w);
    return stop && stop->hasName() ? new NamedStopInterface(w, stop) : nullptr;
}

}  // namespace

TabStop::TabStop(QWidget* target, Arrows arrows)
    : QObject(target), target_(target), arrows_(arrows) {
    setObjectName(kObjectName);
    // Reached with Tab only: a click leaves the focus where it was.
    target->setFocusPolicy(Qt::TabFocus);
    if (arrows == Arrows::move) ring_ = new FocusRing::Overlay(target);
    target->installEventFilter(this);
    Accessible::registerFactory(namedStopInterface, Accessible::Precedence::attached);
}

TabStop* TabStop::attach(QWidget* target, Arrows arrows) {
    if (!target) return nullptr;
    if (TabStop* existing = of(target)) return existing;
    return new TabStop(target, arrows);
}

TabStop* TabStop::of(const QWidget* target) {
    if (!target) return nullptr;
    return target->findChild<TabStop*>(kObjectName, Qt::FindDirectChildrenOnly);
}

void TabStop::setName(NameOf nameOf, QAccessible::Role role) {
    nameOf_ = std::move(nameOf);
    role_ = role;
    // An interface Qt made before (naming a widget makes one) gives way to the stop's.
    if (QAccessibleInterface* before = QAccessible::queryAccessibleInterface(target_))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(before));
}

QList<QWidget*> TabStop::stopsIn(const QWidget* group) {
    QList<QWidget*> stops;
    if (!group) return stops;
    // Children are found depth first in the order they were added, which is reading order.
    for (QWidget* w : group->findChildren<QWidget*>())
        if (of(w) && w->isVisibleTo(group->window())) stops.append(w);
    return stops;
}

void TabStop::focus(QWidget* stop, Qt::FocusReason reason) {
    stop->setFocus(reason);
    for (QWidget* p = stop->parentWidget(); p; p = p->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(p)) {
            scroll->ensureWidgetVisible(stop, 0, 12);
            break;
        }
    }
}

void TabStop::moveFocus(int step) {
    QWidget* group = target_->parentWidget();
    for (QWidget* p = group; p; p = p->parentWidget()) {
        if (qobject_cast<Card*>(p)) {
            group = p;
            break;
        }
    }
    const QList<QWidget*> stops = stopsIn(group);
    const qsizetype next = stops.indexOf(target_) + step;
    if (next >= 0 && next < stops.size()) focus(stops[next], Qt::TabFocusReason);
}

bool TabStop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != target_) return false;
    if (event->type() == QEvent::FocusOut) {
        Accessible::flushName(target_);
        return false;
    }
    if (event->type() != QEvent::KeyPress || arrows_ == Arrows::own) return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (ke->modifiers() & ~Qt::KeypadModifier) return false;
    switch (ke->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            moveFocus(-1);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Right:
            moveFocus(1);
            return true;
        default:
            return false;
    }
}

}  // namespace orvane
