#include "ui/model/ServiceWatcher.h"

#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <utility>

namespace orvane {

ServiceWatcher::ServiceWatcher(std::shared_ptr<SystemService> svc, QObject* parent)
    : QObject(parent), svc_(std::move(svc)) {
    token_ = svc_->subscribe([this](SystemService::Field f) {
        const bool first = pending_ == 0;
        pending_ |= fieldBit(f);
        if (!first) return;
        // Emit after this turn: one signal for every field the service's tasks of this
        // turn assign.
        QMetaObject::invokeMethod(
            this,
            [this] {
                const FieldSet fields = pending_;
                pending_ = 0;
                deliver(fields);
            },
            Qt::QueuedConnection);
    });
}

ServiceWatcher::ServiceWatcher(std::shared_ptr<SystemService> svc, QWidget* page, FieldSet interest)
    : ServiceWatcher(std::move(svc), page) {
    page_ = page;
    interest_ = interest;
    page_->installEventFilter(this);
}

void ServiceWatcher::deliver(FieldSet fields) {
    fields &= interest_;
    if (!fields) return;
    if (page_ && !page_->isVisible()) {
        hidden_ |= fields;
        return;
    }
    emit changed(fields);
}

bool ServiceWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == page_ && event->type() == QEvent::Show && hidden_) {
        const FieldSet fields = std::exchange(hidden_, 0);
        emit changed(fields);
    }
    return QObject::eventFilter(watched, event);
}

ServiceWatcher::~ServiceWatcher() {
    svc_->unsubscribe(token_);
}

MainQueue qtMainQueue(QObject* context) {
    QPointer<QObject> target(context);
    return [target](std::function<void()> task) {
        // QPointer is read from the worker thread only to hand it to invokeMethod, which is
        // thread-safe; a task posted after the context is gone is dropped.
        QObject* obj = target.data();
        if (!obj) return;
        QMetaObject::invokeMethod(obj, std::move(task), Qt::QueuedConnection);
    };
}

}  // namespace orvane
