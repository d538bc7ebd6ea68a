#include "ui/pages/OverviewView.h"

namespace orvane {

OverviewView::OverviewView(std::shared_ptr<SystemService> svc, QWidget* parent) : QWidget(parent) {
    (void)svc;
}

}  // namespace orvane
