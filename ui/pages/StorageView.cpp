#include "ui/pages/StorageView.h"

namespace orvane {

StorageView::StorageView(std::shared_ptr<SystemService> svc, QWidget* parent) : QWidget(parent) {
    (void)svc;
}

}  // namespace orvane
