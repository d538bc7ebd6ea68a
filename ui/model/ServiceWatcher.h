// Bridges the service's observers to Qt: collects the fields assigned during one turn of
// the event loop and emits one `changed` signal for them, so many assignments cause one
// re-render.
#pragma once

#include <QObject>
#include <QWidget>
#include <memory>

#include "service/SystemService.h"

namespace orvane {

// Bit set of SystemService::Field values.
using FieldSet = unsigned;
inline constexpr FieldSet fieldBit(SystemService::Field f) {
    return 1u << static_cast<unsigned>(f);
}

class ServiceWatcher : public QObject {
    Q_OBJECT
  public:
    explicit ServiceWatcher(std::shared_ptr<SystemService> svc, QObject* parent = nullptr);
    // For a page: reports only the fields in `interest`, and while `page` is hidden keeps
    // them until it is shown again, so pages nobody sees do no work.
    ServiceWatcher(std::shared_ptr<SystemService> svc, QWidget* page, FieldSet interest);
    ~ServiceWatcher() override;

    SystemService& service() const { return *svc_; }
    const std::shared_ptr<SystemService>& servicePtr() const { return svc_; }

  signals:
    // Emitted once per event-loop turn in which at least one published field was assigned.
    void changed(orvane::FieldSet fields);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void deliver(FieldSet fields);

    std::shared_ptr<SystemService> svc_;
    int token_ = 0;
    FieldSet pending_ = 0;
    QWidget* page_ = nullptr;
    FieldSet interest_ = ~FieldSet{0};
    FieldSet hidden_ = 0;  // fields that changed while the page was hidden
};

// A MainQueue that runs tasks on the thread of `context` (the GUI thread), in order.
MainQueue qtMainQueue(QObject* context);

}  // namespace orvane
