// The battery page: health, charge and cycle gauges above the capacity and electrical
// cards, or a notice when the machine has no internal battery.
#pragma once

#include <QWidget>
#include <memory>

#include "service/SystemService.h"
#include "ui/model/ServiceWatcher.h"

namespace orvane {

class CapsuleBadge;
class HealthHistoryCard;
class IconView;
class PageHeader;
class RingGauge;
class RowList;
class Text;
class UsageBar;

class BatteryView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kGaugeCardHeight = 248;

    explicit BatteryView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);

    PageHeader* header() const { return header_; }
    // The gauges and detail cards (shown with a battery) and the notice card (shown without).
    QWidget* batteryPanel() const { return panel_; }
    QWidget* noBatteryCard() const { return noBattery_; }
    RingGauge* healthRing() const { return health_; }
    CapsuleBadge* conditionBadge() const { return condition_; }
    RingGauge* chargeRing() const { return charge_; }
    Text* chargeText() const { return chargeText_; }
    IconView* chargeIcon() const { return chargeIcon_; }
    Text* cycleCount() const { return cycles_; }
    UsageBar* ratedBar() const { return rated_; }
    Text* remainingText() const { return remaining_; }
    RowList* capacityCard() const { return capacity_; }
    RowList* electricalCard() const { return electrical_; }
    HealthHistoryCard* historyCard() const { return history_; }

  private:
    void apply();

    std::shared_ptr<SystemService> svc_;
    PageHeader* header_;
    QWidget* panel_;
    QWidget* noBattery_;
    Text* noBatteryText_;
    RingGauge* health_;
    CapsuleBadge* condition_;
    RingGauge* charge_;
    IconView* chargeIcon_;
    Text* chargeText_;
    Text* cycles_;
    QWidget* ratedBox_;
    UsageBar* rated_;
    Text* remaining_;
    RowList* capacity_;
    RowList* electrical_;
    HealthHistoryCard* history_;
};

}  // namespace orvane
