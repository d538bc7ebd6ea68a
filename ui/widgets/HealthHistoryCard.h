// The Battery page's "Health History" card: the heading with today's health, capacity and
// cycles beside it, the chart, and the projection or why there is none; or, before any point,
// why there is nothing to show.
#pragma once

#include "ui/components/Card.h"
#include "ui/model/JournalModel.h"

namespace orvane {

class HealthChart;
class Text;

class HealthHistoryCard : public Card {
    Q_OBJECT
  public:
    explicit HealthHistoryCard(QWidget* parent = nullptr);

    void setView(const BatteryHistoryView& view);

    HealthChart* chart() const { return chart_; }
    Text* summary() const { return summary_; }
    Text* projection() const { return projection_; }
    Text* emptyText() const { return empty_; }

  private:
    HealthChart* chart_;
    Text* summary_;
    Text* projection_;
    Text* empty_;
};

}  // namespace orvane
