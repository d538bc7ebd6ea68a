#include "ui/pages/BatteryView.h"

namespace orvane {

BatteryView::BatteryView(std::shared_ptr<SystemService> svc, QWidget* parent) : QWidget(parent) {
    (void)svc;
}

}  // namespace orvane
