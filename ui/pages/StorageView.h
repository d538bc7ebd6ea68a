#pragma once

#include <QWidget>
#include <memory>

#include "service/SystemService.h"

namespace orvane {

class StorageView : public QWidget {
    Q_OBJECT
  public:
    explicit StorageView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);
};

}  // namespace orvane
