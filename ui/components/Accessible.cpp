#include "ui/components/Accessible.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDateTime>
#include <QMetaEnum>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace orvane::Accessible {
namespace {

// A gauge or a bar: a progress bar from 0 to 100 named by what it measures.
class ValueInterface : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    ValueInterface(QWidget* w, double (*fraction)(const QWidget*),
                   QString (*fallbackName)(const QWidget*))
        : QAccessibleWidget(w, QAccessible::ProgressBar),
          fraction_(fraction),
          fallbackName_(fallbackName) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        QString what = widget()->accessibleName();
        if (what.isEmpty() && fallbackName_) what = fallbackName_(widget());
        return what;
    }

    // Nothing while there is no reading (a fraction that is not a number).
    QVariant currentValue() const override {
        return std::isnan(fraction_(widget())) ? QVariant() : QVariant(percent());
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

  private:
    int percent() const { return percentOf(fraction_(widget())); }

    double (*fraction_)(const QWidget*);
    QString (*fallbackName_)(const QWidget*);
};

// One item of an AccessibleItems widget. Not a widget of its own: Qt's cache owns it once it
// is registered, and the parent's interface removes it.
class ItemInterface : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    ItemInterface(QWidget* owner, int index) : owner_(owner), index_(index) {}

    bool isValid() const override {
        return owner_ && items() && index_ < items()->accessibleItemCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return owner_ ? owner_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? items()->accessibleItemName(index_)
                                                   : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = items()->accessibleItemRect(index_);
        return {owner_->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override {
        return isValid() ? items()->accessibleItemRole() : QAccessible::NoRole;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        const bool current = items()->accessibleCurrentItem() == index_;
        if (role() == QAccessible::RadioButton) {
            s.checkable = true;
            s.checked = current;
        } else {
            s.selectable = true;
            s.selected = current;
        }
        s.focusable = owner_->focusPolicy() != Qt::NoFocus;
        s.focused = current && owner_->hasFocus();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && isValid()) items()->activateAccessibleItem(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    AccessibleItems* items() const { return dynamic_cast<AccessibleItems*>(owner_.data()); }

    QPointer<QWidget> owner_;
    int index_;
};

// The sidebar (a list of pages) or the appearance picker (a group of radio buttons).
class ItemsInterface : public QAccessibleWidget {
  public:
    ItemsInterface(QWidget* w, AccessibleItems* items)
        : QAccessibleWidget(w, items->accessibleItemRole() == QAccessible::ListItem
                                   ? QAccessible::List
                                   : QAccessible::Grouping),
          items_(items) {}
    ~ItemsInterface() override {
        for (const auto& [index, id] : ids_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return items_->accessibleItemCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto it = ids_.find(index);
        if (it == ids_.end())
            it = ids_.emplace(index, QAccessible::registerAccessibleInterface(
                                         new ItemInterface(widget(), index)))
                     .first;
        return QAccessible::accessibleInterface(it->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : ids_)
            if (QAccessible::accessibleInterface(id) == child) return index;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (child(i)->rect().contains(x, y)) return child(i);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return widget()->hasFocus() ? child(items_->accessibleCurrentItem()) : nullptr;
    }

  private:
    AccessibleItems* items_;
    mutable std::map<int, QAccessible::Id> ids_;
};

// The window's notification for announcements before Qt has them: a transparent pixel in the
// corner, named by what it says.
class LiveRegion : public QWidget {
  public:
    explicit LiveRegion(QWidget* window) : QWidget(window) {
        setObjectName(QStringLiteral("orvane.liveRegion"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 1, 1);
    }
};

QAccessibleInterface* liveRegionInterface(QWidget* w) {
    if (w->objectName() != QLatin1String("orvane.liveRegion") || !dynamic_cast<LiveRegion*>(w))
        return nullptr;
    return new QAccessibleWidget(w, QAccessible::Notification);
}

constexpr char kNameStale[] = "orvaneNameStale";
constexpr char kValueToldAt[] = "orvaneValueToldAt";

void sendNameChanged(QWidget* widget) {
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

// The components' factories: attached ones first, each group in the order they were added.
std::vector<std::pair<Precedence, Factory>>& factories() {
    static std::vector<std::pair<Precedence, Factory>> all;
    return all;
}

QAccessibleInterface* factory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (QAccessibleInterface* live = liveRegionInterface(w)) return live;
    for (const auto& [precedence, make] : factories())
        if (QAccessibleInterface* iface = make(w)) return iface;
    if (auto* items = dynamic_cast<AccessibleItems*>(w)) return new ItemsInterface(w, items);
    // Widgets that declare their role: Q_CLASSINFO("accessibleRole", "StaticText").
    const QMetaObject* meta = w->metaObject();
    const int info = meta->indexOfClassInfo("accessibleRole");
    if (info >= 0) {
        bool ok = false;
        const int role =
            QMetaEnum::fromType<QAccessible::Role>().keyToValue(meta->classInfo(info).value(), &ok);
        if (ok) return new QAccessibleWidget(w, static_cast<QAccessible::Role>(role));
    }
    return nullptr;
}

}  // namespace

void install() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

void registerFactory(Factory make, Precedence precedence) {
    install();
    auto& all = factories();
    for (const auto& entry : all)
        if (entry.second == make) return;
    auto at = all.end();
    if (precedence == Precedence::attached)
        at = std::find_if(all.begin(), all.end(),
                          [](const auto& entry) { return entry.first == Precedence::widget; });
    all.insert(at, {precedence, make});
}

QAccessibleInterface* valueInterface(QWidget* widget, double (*fraction)(const QWidget*),
                                     QString (*fallbackName)(const QWidget*)) {
    return new ValueInterface(widget, fraction, fallbackName);
}

int percentOf(double fraction) {
    if (std::isnan(fraction)) return 0;
    return static_cast<int>(std::nearbyint(std::clamp(fraction, 0.0, 1.0) * 100));
}

void announce(QWidget* context, const QString& text) {
    if (!QAccessible::isActive() || !context || text.isEmpty()) return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(context, text);
    QAccessible::updateAccessibility(&event);
#else
    QWidget* window = context->window();
    auto* region = window->findChild<LiveRegion*>(QStringLiteral("orvane.liveRegion"),
                                                  Qt::FindDirectChildrenOnly);
    if (!region) region = new LiveRegion(window);
    // Named while hidden, so only its appearing is spoken (a screen reader hears of the change
    // of a name it does not follow, then of the notification shown, and speaks that).
    region->hide();
    region->setAccessibleName(text);
    region->show();
#endif
}

void announceCopied(QWidget* widget) {
    announce(widget, QCoreApplication::translate("orvane::Accessible", "Copied"));
}

void valueChanged(QWidget* widget, double fraction) {
    if (!QAccessible::isActive() || !widget->hasFocus()) return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QVariant told = widget->property(kValueToldAt);
    if (told.isValid() && now - told.toLongLong() < kValueChangeIntervalMs) return;
    widget->setProperty(kValueToldAt, now);
    QAccessibleValueChangeEvent event(widget, percentOf(fraction));
    QAccessible::updateAccessibility(&event);
}

void nameChanged(QWidget* widget) {
    if (!QAccessible::isActive()) return;
    if (widget->hasFocus()) {
        widget->setProperty(kNameStale, true);
        return;
    }
    sendNameChanged(widget);
}

void flushName(QWidget* widget) {
    if (!widget->property(kNameStale).toBool()) return;
    widget->setProperty(kNameStale, false);
    // After the focus has moved on, so the change is not read as the focused one's.
    QTimer::singleShot(0, widget, [widget] {
        if (QAccessible::isActive()) sendNameChanged(widget);
    });
}

void focusCurrentItem(QWidget* widget) {
    QTimer::singleShot(0, widget, [widget] {
        auto* items = dynamic_cast<AccessibleItems*>(widget);
        if (!QAccessible::isActive() || !items || !widget->hasFocus()) return;
        const int current = items->accessibleCurrentItem();
        if (current < 0) return;
        QAccessibleEvent focus(widget, QAccessible::Focus);
        focus.setChild(current);
        QAccessible::updateAccessibility(&focus);
    });
}

void currentItemChanged(QWidget* widget, int previous, int current) {
    if (!QAccessible::isActive()) return;
    auto* items = dynamic_cast<AccessibleItems*>(widget);
    if (!items) return;
    if (items->accessibleItemRole() == QAccessible::RadioButton) {
        QAccessible::State checked;
        checked.checked = true;
        for (int i : {previous, current}) {
            if (i < 0) continue;
            QAccessibleStateChangeEvent event(widget, checked);
            event.setChild(i);
            QAccessible::updateAccessibility(&event);
        }
        // The newly checked choice takes the focus, so it is spoken.
        if (widget->hasFocus() && current >= 0) {
            QAccessibleEvent focus(widget, QAccessible::Focus);
            focus.setChild(current);
            QAccessible::updateAccessibility(&focus);
        }
        return;
    }
    QAccessibleEvent selection(widget, QAccessible::Selection);
    selection.setChild(current);
    QAccessible::updateAccessibility(&selection);
    if (widget->hasFocus()) {
        QAccessibleEvent focus(widget, QAccessible::Focus);
        focus.setChild(current);
        QAccessible::updateAccessibility(&focus);
    }
}

}  // namespace orvane::Accessible
