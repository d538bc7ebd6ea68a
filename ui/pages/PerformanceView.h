// The performance page: processor and memory gauges, their history over the last two minutes,
// the per-core grid and the memory breakdown, refreshed in place with every live sample.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "service/SystemService.h"
#include "ui/model/ServiceWatcher.h"

namespace orvane {

class CoreGrid;
class EmptyState;
class HistoryGraph;
class InfoRow;
class LegendSwatch;
class PageHeader;
class RateGraph;
class RingGauge;
class Text;
class UsageBar;

class PerformanceView : public QWidget {
    Q_OBJECT
  public:
    explicit PerformanceView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);

    struct MiniStatWidgets {
        Text* value;
        Text* label;
    };

    PageHeader* header() const { return header_; }
    RingGauge* cpuRing() const { return cpu_; }
    const std::array<MiniStatWidgets, 3>& cpuStats() const { return stats_; }
    RingGauge* memRing() const { return mem_; }
    HistoryGraph* historyGraph() const { return history_; }
    // The current values beside the history card's title: user, system, memory.
    const std::array<MiniStatWidgets, 3>& historyLegend() const { return legend_; }
    Text* memCaption() const { return memCaption_; }
    Text* coreCount() const { return coreCount_; }
    Text* sampling() const { return sampling_; }
    // Stands in for the grid once sampling has ended without a measured core.
    EmptyState* noLoad() const { return noLoad_; }
    CoreGrid* coreGrid() const { return grid_; }
    const std::array<UsageBar*, 4>& breakdown() const { return bars_; }
    InfoRow* swapRow() const { return swap_; }
    // The Disk and Network cards: their graphs and the two rates beside each title.
    struct TrafficWidgets {
        RateGraph* graph;
        std::array<MiniStatWidgets, 2> legend;
    };
    const std::array<TrafficWidgets, 2>& traffic() const { return traffic_; }

    const std::array<LegendSwatch*, 3>& historySwatches() const { return swatches_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void apply();
    void applyTraffic();

    std::shared_ptr<SystemService> svc_;
    PageHeader* header_;
    RingGauge* cpu_;
    std::array<MiniStatWidgets, 3> stats_{};
    RingGauge* mem_;
    Text* memCaption_;
    HistoryGraph* history_;
    std::array<MiniStatWidgets, 3> legend_{};
    std::array<LegendSwatch*, 3> swatches_{};
    Text* coresTitle_;
    Text* coreCount_;
    Text* sampling_;
    EmptyState* noLoad_;
    CoreGrid* grid_;
    std::array<UsageBar*, 4> bars_{};
    InfoRow* swap_;
    std::array<TrafficWidgets, 2> traffic_{};
};

}  // namespace orvane
