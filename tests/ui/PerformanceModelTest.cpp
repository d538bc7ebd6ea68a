#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "tests/ui/PageTextPrinters.h"
#include "ui/model/PerformanceModel.h"

namespace orvane {
namespace {

// Before anything was measured every value is the placeholder: no arc, no "0%", no "0 MB".
TEST(PerformanceModel, BeforeAnythingWasMeasured) {
    LiveMetrics live;  // defaults: idle 100, nothing measured
    live.memTotalBytes = 8LL << 30;
    live.swapUsedBytes = 1;
    EXPECT_EQ(PerformanceModel::cpuGauge(live),
              (PageText::Gauge{0, "-", "CPU Load", Tint::secondary}));
    EXPECT_EQ(PerformanceModel::memGauge(live),
              (PageText::Gauge{0, "-", "Memory Used", Tint::secondary}));
    for (const MiniStat& s : PerformanceModel::cpuStats(live))
        EXPECT_EQ(std::pair(s.value, s.color), std::pair(std::string("-"), Tint::secondary));
    EXPECT_EQ(PerformanceModel::memCaption(live), "-");
    for (const PageText::Bar& b : PerformanceModel::breakdown(live))
        EXPECT_EQ(std::pair(b.detail, b.fraction), std::pair(std::string("-"), 0.0));
    EXPECT_EQ(PerformanceModel::swapRow(live).value, "-");
    EXPECT_EQ(PerformanceModel::coreCountText(live), "");
    // Measured: any swap at all turns its row yellow.
    live.memMeasured = true;
    EXPECT_EQ(PerformanceModel::swapRow(live).valueColor, Tint::yellow);
    live.swapUsedBytes = 0;
    EXPECT_EQ(PerformanceModel::swapRow(live).valueColor, Tint::primary);
    EXPECT_DOUBLE_EQ(PerformanceModel::coreLevelWidth(150, 0), 0);
}

TEST(PerformanceModel, CpuGaugeTintAndRounding) {
    // 40 + 19.5: "60%", tinted as 0.595.
    const std::tuple<double, double, const char*, Tint> cases[] = {{40, 19.5, "60%", Tint::green},
                                                                   {50, 10, "60%", Tint::yellow},
                                                                   {80, 5, "85%", Tint::red},
                                                                   {0.25, 0.25, "0%", Tint::green},
                                                                   {99, 1, "100%", Tint::red}};
    for (const auto& [user, system, title, tint] : cases) {
        LiveMetrics live;
        live.cpuMeasured = true;
        live.cpuUserPct = user;
        live.cpuSystemPct = system;
        const auto g = PerformanceModel::cpuGauge(live);
        EXPECT_EQ(g.title, title) << user;
        EXPECT_EQ(g.tint, tint) << user;
    }
}

TEST(PerformanceModel, MemoryGaugeWithAndWithoutATotal) {
    LiveMetrics live;
    live.memMeasured = true;
    live.memUsedBytes = 5LL << 30;
    EXPECT_EQ(PerformanceModel::memGauge(live).title, "-");
    live.memTotalBytes = 8LL << 30;
    EXPECT_EQ(PerformanceModel::memGauge(live),
              (PageText::Gauge{0.625, "62%", "Memory Used", Tint::yellow}));
    EXPECT_EQ(PerformanceModel::memCaption(live), "5 GB of 8 GB");
}

TEST(PerformanceModel, CoreCells) {
    LiveMetrics live;
    live.perCore = {0.125, 0.6, 1.0, 0.005};
    const auto cells = PerformanceModel::coreCells(live);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0], (CoreCell{"Core 1", "12%", Tint::green, 0.125}));
    EXPECT_EQ(cells[1], (CoreCell{"Core 2", "60%", Tint::yellow, 0.6}));
    EXPECT_EQ(cells[2], (CoreCell{"Core 3", "100%", Tint::red, 1.0}));
    EXPECT_EQ(cells[3].percent, "0%");
    EXPECT_DOUBLE_EQ(PerformanceModel::coreLevelWidth(150, 0.5), 75);
    EXPECT_DOUBLE_EQ(PerformanceModel::coreLevelWidth(150, 0.01), 4);
    EXPECT_DOUBLE_EQ(PerformanceModel::coreLevelWidth(150, std::nan("")), 0);
    // "Sampling…" until the second sample, then the grid or, with no core measured, the
    // empty state.
    EXPECT_EQ(PerformanceModel::coreState(LiveMetrics{}, 1), CoreState::sampling);
    EXPECT_EQ(PerformanceModel::coreState(LiveMetrics{}, 2), CoreState::unavailable);
    EXPECT_EQ(PerformanceModel::coreState(live, 0), CoreState::cells);
}

TEST(PerformanceModel, AdaptiveGridColumns) {
    // Narrower than one column: one core per row.
    const std::tuple<double, int, double> cases[] = {{100, 1, 100}, {120, 1, 120}, {251, 1, 251},
                                                     {252, 2, 120}, {300, 2, 144}, {816, 6, 126},
                                                     {0, 1, 0},     {-5, 1, 0}};
    for (const auto& [width, count, column] : cases) {
        const GridColumns g = PerformanceModel::gridColumns(width);
        EXPECT_EQ(g.count, count) << width;
        EXPECT_DOUBLE_EQ(g.width, column) << width;
    }
    EXPECT_EQ(PerformanceModel::gridColumns(std::nan("")).count, 1);
    // Given the cells: nine fit, ten cores make two rows of five, not nine and one; four
    // cores take four columns; eleven (prime) fill their last row best with six.
    const std::tuple<std::size_t, int> byCells[] = {{10, 5}, {4, 4}, {11, 6}, {16, 8}, {18, 9}};
    for (const auto& [cells, count] : byCells)
        EXPECT_EQ(PerformanceModel::gridColumns(1220, 120, 12, cells).count, count) << cells;
}

TEST(PerformanceModel, BreakdownDividesByAtLeastOne) {
    LiveMetrics live;
    live.memMeasured = true;
    live.memAppBytes = 3;
    live.memWiredBytes = 2;
    live.memCompressedBytes = 0;
    live.memCachedBytes = 1;
    auto bars = PerformanceModel::breakdown(live);
    EXPECT_DOUBLE_EQ(bars[0].fraction, 3);  // no total: divided by 1
    live.memTotalBytes = 16LL << 30;
    live.memAppBytes = 8LL << 30;
    live.memWiredBytes = 2LL << 30;
    live.memCompressedBytes = 1LL << 30;
    live.memCachedBytes = 4LL << 30;
    bars = PerformanceModel::breakdown(live);
    EXPECT_EQ(bars[0], (PageText::Bar{"App Memory", "8 GB", 0.5, Tint::blue}));
    EXPECT_EQ(bars[1], (PageText::Bar{"Wired", "2 GB", 0.125, Tint::red}));
    EXPECT_EQ(bars[2], (PageText::Bar{"Compressed", "1 GB", 0.0625, Tint::accent}));
    EXPECT_EQ(bars[3], (PageText::Bar{"Cached Files", "4 GB", 0.25, Tint::green}));
}

}  // namespace
}  // namespace orvane
