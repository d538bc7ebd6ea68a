#pragma once

#include <QWidget>
#include <memory>

#include "service/SystemService.h"

namespace orvane {

class DisplaysView : public QWidget {
    Q_OBJECT
  public:
    explicit DisplaysView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);
};

}  // namespace orvane
