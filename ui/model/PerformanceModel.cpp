#include "ui/model/PerformanceModel.h"

#include <algorithm>
#include <cmath>

#include "service/Fmt.h"

namespace orvane::PerformanceModel {

using PageText::translate;

using PageText::percent;

PageText::Gauge cpuGauge(const LiveMetrics& live) {
    const double busy = live.cpuBusyPct();
    return {busy / 100, percent(busy), translate("PerformanceModel", "CPU Load"),
            usageTint(busy / 100)};
}

std::array<MiniStat, 3> cpuStats(const LiveMetrics& live) {
    return {{
        {percent(live.cpuUserPct), translate("PerformanceModel", "User"), Tint::blue},
        {percent(live.cpuSystemPct), translate("PerformanceModel", "System"), Tint::orange},
        {percent(live.cpuIdlePct), translate("PerformanceModel", "Idle"), Tint::secondary},
    }};
}

PageText::Gauge memGauge(const LiveMetrics& live) {
    const double f = live.memUsedFraction();
    return {f, percent(f * 100), translate("PerformanceModel", "Memory Used"), usageTint(f)};
}

std::string memCaption(const LiveMetrics& live) {
    return PageText::arg(translate("PerformanceModel", "%1 of %2"),
                         {Fmt::bytes(live.memUsedBytes), Fmt::bytes(live.memTotalBytes)});
}

std::string coreCountText(const LiveMetrics& live) {
    const int n = static_cast<int>(live.perCore.size());
    return translate("PerformanceModel", "%n logical core(s)", nullptr, n);
}

CoreCell coreCell(std::size_t index, double fraction) {
    return {PageText::arg(translate("PerformanceModel", "Core %1"),
                          {PageText::integer(static_cast<std::int64_t>(index) + 1)}),
            percent(fraction * 100), usageTint(fraction), fraction};
}

std::vector<CoreCell> coreCells(const LiveMetrics& live) {
    std::vector<CoreCell> cells;
    cells.reserve(live.perCore.size());
    for (std::size_t i = 0; i < live.perCore.size(); ++i)
        cells.push_back(coreCell(i, live.perCore[i]));
    return cells;
}

double coreLevelWidth(double cellWidth, double fraction) {
    const double w = cellWidth * fraction;
    return std::isnan(w) || w <= 0 ? 0 : std::max(w, 4.0);
}

GridColumns gridColumns(double width, double minColumn, double spacing, std::size_t cells) {
    int count = 1;
    if (width > minColumn && minColumn + spacing > 0)
        count =
            std::max(1, static_cast<int>(std::floor((width + spacing) / (minColumn + spacing))));
    if (cells > 0 && cells <= static_cast<std::size_t>(count)) {
        count = static_cast<int>(cells);
    } else if (cells > 0) {
        // The fullest last row (a full one best), the more columns on a tie.
        const auto fill = [cells](int c) {
            const std::size_t rest = cells % static_cast<std::size_t>(c);
            return rest == 0 ? 1.0 : static_cast<double>(rest) / c;
        };
        int best = count;
        for (int c = count - 1; c >= std::max(1, (count + 1) / 2); --c)
            if (fill(c) > fill(best)) best = c;
        count = best;
    }
    const double w = std::max(0.0, (width - spacing * (count - 1)) / count);
    return {count, w};
}

std::array<PageText::Bar, 4> breakdown(const LiveMetrics& live) {
    const double t = std::max(static_cast<double>(live.memTotalBytes), 1.0);
    auto bar = [t](const std::string& label, std::int64_t bytes, Tint tint) {
        return PageText::Bar{label, Fmt::bytes(bytes), static_cast<double>(bytes) / t, tint};
    };
    return {{
        bar(translate("PerformanceModel", "App Memory"), live.memAppBytes, Tint::blue),
        bar(translate("PerformanceModel", "Wired"), live.memWiredBytes, Tint::red),
        bar(translate("PerformanceModel", "Compressed"), live.memCompressedBytes, Tint::accent),
        bar(translate("PerformanceModel", "Cached Files"), live.memCachedBytes, Tint::green),
    }};
}

PageText::Row swapRow(const LiveMetrics& live) {
    return {translate("PerformanceModel", "Swap Used"), Fmt::bytes(live.swapUsedBytes),
            Symbol::arrowLeftRight, live.swapUsedBytes >= 1 ? Tint::yellow : Tint::primary};
}

}  // namespace orvane::PerformanceModel
