#pragma once

#include <QWidget>
#include <memory>

#include "service/SystemService.h"

namespace orvane {

class BatteryView : public QWidget {
    Q_OBJECT
  public:
    explicit BatteryView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);
};

}  // namespace orvane
