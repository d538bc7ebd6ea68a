#include "ui/pages/PerformanceView.h"

namespace orvane {

PerformanceView::PerformanceView(std::shared_ptr<SystemService> svc, QWidget* parent)
    : QWidget(parent) {
    (void)svc;
}

}  // namespace orvane
