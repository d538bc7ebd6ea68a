#include "ui/pages/DisplaysView.h"

namespace orvane {

DisplaysView::DisplaysView(std::shared_ptr<SystemService> svc, QWidget* parent) : QWidget(parent) {
    (void)svc;
}

}  // namespace orvane
