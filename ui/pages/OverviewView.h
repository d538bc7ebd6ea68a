#pragma once

#include <QWidget>
#include <memory>

#include "service/SystemService.h"

namespace orvane {

class OverviewView : public QWidget {
    Q_OBJECT
  public:
    explicit OverviewView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);
};

}  // namespace orvane
