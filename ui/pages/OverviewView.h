// The first page: the machine's banner, four summary chips, and the "System" and
// "At a Glance" cards.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "service/SystemService.h"
#include "ui/model/ServiceWatcher.h"

namespace orvane {

class HeroBanner;
class RowList;
class StatChip;

class OverviewView : public QWidget {
    Q_OBJECT
  public:
    explicit OverviewView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);

    HeroBanner* banner() const { return hero_; }
    const std::array<StatChip*, 4>& chips() const { return chips_; }
    RowList* systemCard() const { return system_; }
    RowList* glanceCard() const { return glance_; }

  protected:
    // A new scheme recolours the chips' icons.
    void changeEvent(QEvent* event) override;

  private:
    void apply(FieldSet fields);

    std::shared_ptr<SystemService> svc_;
    HeroBanner* hero_;
    std::array<StatChip*, 4> chips_{};
    RowList* system_;
    RowList* glance_;
};

}  // namespace orvane
