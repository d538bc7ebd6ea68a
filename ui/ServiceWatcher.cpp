#include "ui/ServiceWatcher.h"

#include <QMetaObject>
#include <QPointer>

namespace orvane {

ServiceWatcher::ServiceWatcher(std::shared_ptr<SystemService> svc, QObject* parent)
    : QObject(parent), svc_(std::move(svc)) {
    token_ = svc_->subscribe([this](SystemService::Field f) {
        const bool first = pending_ == 0;
        pending_ |= fieldBit(f);
        if (!first) return;
        // Observers are told before the value is stored: emit after this turn, when every
        // assignment of the task has landed.
        QMetaObject::invokeMethod(
            this,
            [this] {
                const FieldSet fields = pending_;
                pending_ = 0;
                if (fields) emit changed(fields);
            },
            Qt::QueuedConnection);
    });
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
