// The Sensors page: the system's thermal state, every device's temperatures and fans, and the
// battery's power draw, one card each, or an empty state when the machine reports none.
// Sensors are read while the page is shown (the window asks every second).
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "service/SystemService.h"
#include "ui/model/SensorsModel.h"
#include "ui/model/ServiceWatcher.h"

class QVBoxLayout;

namespace orvane {

class Card;
class PageHeader;
class RowList;

class SensorsView : public QWidget {
    Q_OBJECT
  public:
    explicit SensorsView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);

    PageHeader* header() const { return header_; }
    const std::vector<RowList*>& cards() const { return rows_; }
    QWidget* placeholder() const { return placeholder_; }
    QWidget* emptyState() const { return empty_; }

  private:
    void apply();

    std::shared_ptr<SystemService> svc_;
    PageHeader* header_;
    QVBoxLayout* list_;
    QWidget* placeholder_;
    QWidget* empty_;
    std::vector<std::string> titles_;
    std::vector<Card*> cards_;
    std::vector<RowList*> rows_;
};

}  // namespace orvane
