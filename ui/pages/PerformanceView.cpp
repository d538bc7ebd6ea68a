#include "ui/pages/PerformanceView.h"
#include "ui/model/Layout.h"

#include <QHBoxLayout>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/components/Card.h"
#include "ui/components/Divider.h"
#include "ui/components/EmptyState.h"
#include "ui/components/InfoRow.h"
#include "ui/components/PageHeader.h"
#include "ui/components/RingGauge.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/components/UsageBar.h"
#include "ui/model/HistoryModel.h"
#include "ui/model/PerformanceModel.h"
#include "ui/model/SensorsModel.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/CoreGrid.h"
#include "ui/widgets/HistoryGraph.h"
#include "ui/widgets/PageScroll.h"
#include "ui/widgets/PageStyle.h"
#include "ui/widgets/RateGraph.h"

namespace orvane {

using PageStyle::qs;

namespace {

// A gauge card's column: centred, spacing 12, taking the card's whole width.
QVBoxLayout* gaugeColumn(QWidget* box) {
    auto* col = new QVBoxLayout(box);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(Layout::tileSpacing);
    return col;
}

// A card that shows a graph: its column and the header row above the graph, holding the
// title (a heading) and, after a stretch, whatever legend the caller adds.
QVBoxLayout* graphCard(QWidget* box, const QString& title, QHBoxLayout** header) {
    auto* col = new QVBoxLayout(box);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(Layout::tileSpacing);
    auto* head = new QHBoxLayout;
    head->setSpacing(14);
    auto* heading = new Text(title, Theme::font(15, QFont::DemiBold));
    heading->setHeading(true);
    head->addWidget(heading);
    head->addStretch(1);
    *header = head;
    return col;
}

// One entry of a graph's legend: a label and its value, heard as "Label: value".
QHBoxLayout* legendEntry(PerformanceView::MiniStatWidgets& item) {
    auto* row = new QHBoxLayout;
    row->setSpacing(5);
    item.label = new Text({}, Theme::font(12), TextStyle::secondary);
    item.value = new Text({}, Theme::font(12, QFont::DemiBold));
    item.value->setTabularDigits(true);
    TabStop::attach(item.value)->setName([&item] {
        return item.label->text() + QStringLiteral(": ") + item.value->text();
    });
    row->addWidget(item.label);
    row->addWidget(item.value);
    return row;
}

}  // namespace

PerformanceView::PerformanceView(std::shared_ptr<SystemService> svc, QWidget* parent)
    : QWidget(parent), svc_(std::move(svc)) {
    QVBoxLayout* stack = PageScroll::install(this)->stack();
    header_ = new PageHeader(tr("Performance"), tr("Live CPU & memory \u00b7 updates every second"),
                             Symbol::waveformEcg, Theme::color(Tint::red));
    stack->addWidget(header_);

    // Processor and memory gauges, side by side.
    auto* gauges = new QHBoxLayout;
    gauges->setSpacing(Layout::cardSpacing);
    stack->addLayout(gauges);

    auto* cpuBox = new QWidget;
    QVBoxLayout* cpuCol = gaugeColumn(cpuBox);
    cpu_ = new RingGauge(0, {}, tr("CPU Load"), Theme::color(Tint::green));
    cpuCol->addWidget(cpu_, 0, Qt::AlignHCenter);
    auto* statRow = new QHBoxLayout;
    statRow->setSpacing(16);
    statRow->addStretch(1);
    for (auto& s : stats_) {
        s.value = new Text({}, Theme::font(15, QFont::Bold));
        s.value->setTabularDigits(true);
        s.label = new Text({}, Theme::font(10), TextStyle::secondary);
        s.value->setAlignment(Qt::AlignHCenter);
        s.label->setAlignment(Qt::AlignHCenter);
        TabStop::attach(s.value)->setName(
            [&s] { return s.label->text() + QStringLiteral(": ") + s.value->text(); });
        auto* mini = new QVBoxLayout;
        mini->setSpacing(2);
        mini->addWidget(s.value);
        mini->addWidget(s.label);
        statRow->addLayout(mini);
    }
    statRow->addStretch(1);
    cpuCol->addLayout(statRow);
    cpuCol->addStretch(1);
    gauges->addWidget(new Card(cpuBox, nullptr), 1);

    auto* memBox = new QWidget;
    QVBoxLayout* memCol = gaugeColumn(memBox);
    mem_ = new RingGauge(0, {}, tr("Memory Used"), Theme::color(Tint::green));
    memCaption_ = new Text({}, Theme::font(13, QFont::Medium), TextStyle::secondary);
    memCaption_->setAlignment(Qt::AlignHCenter);
    TabStop::attach(memCaption_);
    memCol->addWidget(mem_, 0, Qt::AlignHCenter);
    memCol->addWidget(memCaption_);
    memCol->addStretch(1);
    gauges->addWidget(new Card(memBox, nullptr), 1);

    // The last two minutes, with the current values beside the title as the graph's legend.
    auto* historyBox = new QWidget;
    QHBoxLayout* historyHeader = nullptr;
    QVBoxLayout* historyCol = graphCard(historyBox, tr("History"), &historyHeader);
    for (std::size_t i = 0; i < legend_.size(); ++i) {
        QHBoxLayout* row = legendEntry(legend_[i]);
        // Memory is the graph's line, the others its areas.
        swatches_[i] = new LegendSwatch(i == 2);
        row->insertWidget(0, swatches_[i], 0, Qt::AlignVCenter);
        historyHeader->addLayout(row);
    }
    historyCol->addLayout(historyHeader);
    history_ = new HistoryGraph;
    TabStop::attach(history_);
    historyCol->addWidget(history_);
    stack->addWidget(new Card(historyBox, nullptr));

    // Per-core activity.
    auto* coresBox = new QWidget;
    auto* cores = new QVBoxLayout(coresBox);
    cores->setContentsMargins(0, 0, 0, 0);
    cores->setSpacing(Layout::tileSpacing);
    auto* coresHeader = new QHBoxLayout;
    coresTitle_ = new Text(tr("Per-Core Activity"), Theme::font(15, QFont::DemiBold));
    coresTitle_->setHeading(true);
    coresHeader->addWidget(coresTitle_);
    coresHeader->addStretch(1);
    coreCount_ = new Text({}, Theme::font(12), TextStyle::secondary);
    coresHeader->addWidget(coreCount_);
    cores->addLayout(coresHeader);
    sampling_ = new Text(tr("Sampling\u2026"), Theme::font(13), TextStyle::secondary);
    // In place of the list of cores, with the card's count: "0 logical cores, Sampling…".
    TabStop::attach(sampling_)->setName([this] {
        return coreCount_->text().isEmpty()
                   ? sampling_->text()
                   : coreCount_->text() + QStringLiteral(", ") + sampling_->text();
    });
    cores->addWidget(sampling_);
    noLoad_ = new EmptyState(Symbol::cpu, tr("No Processor Load"),
                             tr("Processor load is not available on this machine"));
    cores->addWidget(noLoad_);
    grid_ = new CoreGrid;
    cores->addWidget(grid_);
    stack->addWidget(new Card(coresBox, nullptr));

    // Memory breakdown and swap.
    auto* memoryBox = new QWidget;
    auto* memory = new QVBoxLayout(memoryBox);
    memory->setContentsMargins(0, 0, 0, 0);
    memory->setSpacing(Layout::tileSpacing);
    auto* memoryTitle = new Text(tr("Memory Breakdown"), Theme::font(15, QFont::DemiBold));
    memoryTitle->setHeading(true);
    memory->addWidget(memoryTitle);
    for (auto& bar : bars_) {
        bar = new UsageBar({}, {}, 0);
        // The breakdown bars take each sample as it comes: only the per-core bars and the rings
        // animate, and every animation frame repaints through the translucent cards.
        bar->bar()->setAnimationDuration(0);
        memory->addWidget(bar);
    }
    auto* dividerBox = new QWidget;
    auto* dividerPad = new QVBoxLayout(dividerBox);
    dividerPad->setContentsMargins(0, 2, 0, 2);
    dividerPad->addWidget(new Divider);
    memory->addWidget(dividerBox);
    swap_ = new InfoRow(tr("Swap Used"), {}, Symbol::arrowLeftRight);
    memory->addWidget(swap_);
    stack->addWidget(new Card(memoryBox, nullptr));

    // Disk and network throughput, each with its last two minutes, as wide as the history
    // above: side by side, their titles and rates would not fit a narrow window.
    const QString trafficTitles[] = {tr("Disk"), tr("Network")};
    for (std::size_t i = 0; i < traffic_.size(); ++i) {
        auto* box = new QWidget;
        QHBoxLayout* head = nullptr;
        QVBoxLayout* col = graphCard(box, trafficTitles[i], &head);
        for (auto& item : traffic_[i].legend)
            head->addLayout(legendEntry(item));
        col->addLayout(head);
        traffic_[i].graph =
            new RateGraph(i == 0 ? SensorsModel::Traffic::disk : SensorsModel::Traffic::network);
        col->addWidget(traffic_[i].graph);
        stack->addWidget(new Card(box, nullptr));
    }

    apply();
    applyTraffic();
    auto* watcher = new ServiceWatcher(svc_, this, fieldBit(SystemService::Field::live));
    connect(watcher, &ServiceWatcher::changed, this, [this] { apply(); });
    auto* sensors = new ServiceWatcher(svc_, this, fieldBit(SystemService::Field::sensors));
    connect(sensors, &ServiceWatcher::changed, this, [this] { applyTraffic(); });
}

void PerformanceView::applyTraffic() {
    const std::deque<ThroughputPoint>& points = svc_->throughput().points();
    for (std::size_t i = 0; i < traffic_.size(); ++i) {
        const auto kind = i == 0 ? SensorsModel::Traffic::disk : SensorsModel::Traffic::network;
        const auto legend = SensorsModel::legend(kind, points.empty() ? nullptr : &points.back());
        for (std::size_t k = 0; k < legend.size(); ++k) {
            traffic_[i].legend[k].label->setText(qs(legend[k].label));
            traffic_[i].legend[k].value->setText(qs(legend[k].value));
            PageStyle::setTextColor(traffic_[i].legend[k].value, legend[k].color);
        }
        traffic_[i].graph->setPoints(points);
    }
}

void PerformanceView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A taller window gives the history a taller plot, within reason.
    history_->setPlotHeight(std::clamp(height() / 5, int(HistoryGraph::kPlotHeight), 240));
}

void PerformanceView::apply() {
    const LiveMetrics& live = svc_->live();

    const PageText::Gauge cpu = PerformanceModel::cpuGauge(live);
    cpu_->setFraction(cpu.fraction);
    cpu_->setTitle(qs(cpu.title));
    cpu_->setTint(Theme::color(cpu.tint));
    const auto stats = PerformanceModel::cpuStats(live);
    for (std::size_t i = 0; i < stats.size(); ++i) {
        stats_[i].value->setText(qs(stats[i].value));
        PageStyle::setTextColor(stats_[i].value, stats[i].color);
        stats_[i].label->setText(qs(stats[i].label));
    }

    const PageText::Gauge mem = PerformanceModel::memGauge(live);
    mem_->setFraction(mem.fraction);
    mem_->setTitle(qs(mem.title));
    mem_->setTint(Theme::color(mem.tint));
    memCaption_->setText(qs(PerformanceModel::memCaption(live)));

    history_->setHistory(svc_->history());
    const auto legend = HistoryModel::legend(svc_->history().newest());
    for (std::size_t i = 0; i < legend.size(); ++i) {
        // Each value in its series' colour: the legend is the graph's key.
        legend_[i].label->setText(qs(legend[i].label));
        legend_[i].value->setText(qs(legend[i].value));
        PageStyle::setTextColor(legend_[i].value, legend[i].color);
        swatches_[i]->setTint(legend[i].color);
    }

    coreCount_->setText(qs(PerformanceModel::coreCountText(live)));
    // The list of cores is named by its card: "Per-Core Activity, 12 logical cores".
    const QString coresName = coresTitle_->text() + QStringLiteral(", ") + coreCount_->text();
    if (grid_->accessibleName() != coresName) grid_->setAccessibleName(coresName);
    const CoreState cores = PerformanceModel::coreState(live, svc_->liveSamples());
    sampling_->setVisible(cores == CoreState::sampling);
    noLoad_->setVisible(cores == CoreState::unavailable);
    grid_->setVisible(cores == CoreState::cells);
    grid_->setCells(PerformanceModel::coreCells(live));

    const auto bars = PerformanceModel::breakdown(live);
    for (std::size_t i = 0; i < bars.size(); ++i) {
        bars_[i]->setLabel(qs(bars[i].label));
        bars_[i]->setDetail(qs(bars[i].detail));
        bars_[i]->setFraction(bars[i].fraction);
        bars_[i]->setTint(bars[i].tint ? std::optional(Theme::color(*bars[i].tint)) : std::nullopt);
    }
    const PageText::Row swap = PerformanceModel::swapRow(live);
    swap_->setValue(qs(swap.value));
    swap_->setValueTint(swap.valueColor);
}

}  // namespace orvane
