// What the Performance page shows, as plain values computed from the live sample.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "service/Records.h"
#include "ui/model/Layout.h"
#include "ui/model/PageText.h"

namespace orvane {

// A small value-over-label pair under the processor gauge.
struct MiniStat {
    std::string value;
    std::string label;
    Tint color = Tint::primary;
    bool operator==(const MiniStat&) const = default;
};

// One cell of the per-core grid.
struct CoreCell {
    std::string label;           // "Core 1"
    std::string percent;         // "37%"
    Tint color = Tint::primary;  // usage colour of the fraction
    double fraction = 0;
    bool operator==(const CoreCell&) const = default;
};

enum class CoreState { sampling, cells, unavailable };

// Column count and width of an adaptive grid.
struct GridColumns {
    int count = 1;
    double width = 0;
    bool operator==(const GridColumns&) const = default;
};

namespace PerformanceModel {

inline constexpr double kCoreMinColumn = 120;
inline constexpr double kCoreSpacing = Layout::tileSpacing;

PageText::Gauge cpuGauge(const LiveMetrics& live);
std::array<MiniStat, 3> cpuStats(const LiveMetrics& live);
PageText::Gauge memGauge(const LiveMetrics& live);
// "8 GB of 16 GB" (binary units, as memory is counted); "-" while not measured.
std::string memCaption(const LiveMetrics& live);

// "10 logical cores"; nothing while no core was measured.
std::string coreCountText(const LiveMetrics& live);
// What the per-core card shows: "Sampling…" until the second live sample has been published,
// then the grid, or, when no core could be measured, that load is not available.
CoreState coreState(const LiveMetrics& live, std::uint64_t liveSamples);
std::vector<CoreCell> coreCells(const LiveMetrics& live);
CoreCell coreCell(std::size_t index, double fraction);
// Width of a core's level capsule: cell width × fraction, at least a 4-point stub.
double coreLevelWidth(double cellWidth, double fraction);
// As many columns of at least `minColumn` as fit in `width` with `spacing` between them
// (always at least one), sharing the width equally. Given the number of `cells`, no more
// columns than cells, and rather fewer (down to half) that divide the cells into full rows, or
// else fill the last row best, than a last row with one cell alone.
GridColumns gridColumns(double width, double minColumn = kCoreMinColumn,
                        double spacing = kCoreSpacing, std::size_t cells = 0);

std::array<PageText::Bar, 4> breakdown(const LiveMetrics& live);
PageText::Row swapRow(const LiveMetrics& live);

}  // namespace PerformanceModel
}  // namespace orvane
