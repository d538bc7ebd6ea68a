#pragma once

#include <QWidget>
#include <memory>

#include "service/SystemService.h"

namespace orvane {

class PerformanceView : public QWidget {
    Q_OBJECT
  public:
    explicit PerformanceView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);
};

}  // namespace orvane
