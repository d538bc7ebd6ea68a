#include "ui/model/PerformanceModel.h"

#include <algorithm>
#include <cmath>

#include "service/Fmt.h"

namespace orvane::PerformanceModel {

using PageText::translate;

using PageText::percent;

PageText::Gauge cpuGauge(const LiveMetrics& live) {
    const std::string title = translate("PerformanceModel", "CPU Load");
    if (!live.cpuMeasured) return {0, PageText::kNotRead, title, Tint::secondary};
    const double busy = live.cpuBusyPct();
    return {busy / 100, percent(busy), title, usageTint(busy / 100)};
}

std::array<MiniStat, 3> cpuStats(const LiveMetrics& live) {
    const auto stat = [&](double pct, std::string label, Tint tint) -> MiniStat {
        if (!live.cpuMeasured) return {PageText::kNotRead, label, Tint::secondary};
        return {percent(pct), label, tint};
    };
    return {{
        stat(live.cpuUserPct, translate("PerformanceModel", "User"), Tint::blue),
        stat(live.cpuSystemPct, translate("PerformanceModel", "System"), Tint::orange),
        stat(live.cpuIdlePct, translate("PerformanceModel", "Idle"), Tint::secondary),
    }};
}

namespace {
bool memoryKnown(const LiveMetrics& live) {
    return live.memMeasured && live.memTotalBytes > 0;
}
}  // namespace

PageText::Gauge memGauge(const LiveMetrics& live) {
    const std::string title = translate("PerformanceModel", "Memory Used");
    if (!memoryKnown(live)) return {0, PageText::kNotRead, title, Tint::secondary};
    const double f = live.memUsedFraction();
    return {f, percent(f * 100), title, usageTint(f)};
}

std::string memCaption(const LiveMetrics& live) {
    if (!memoryKnown(live)) return PageText::kNotRead;
    return PageText::arg(translate("PerformanceModel", "%1 of %2"),
                         {Fmt::memory(live.memUsedBytes), Fmt::memory(live.memTotalBytes)});
}

std::string coreCountText(const LiveMetrics& live) {
    if (live.perCore.empty()) return {};
    const int n = static_cast<int>(live.perCore.size());
    return translate("PerformanceModel", "%n logical core(s)", nullptr, n);
}

CoreState coreState(const LiveMetrics& live, std::uint64_t liveSamples) {
    if (!live.perCore.empty()) return CoreState::cells;
    return liveSamples < 2 ? CoreState::sampling : CoreState::unavailable;
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
    const bool known = live.memMeasured;
    auto bar = [t, known](const std::string& label, std::int64_t bytes, Tint tint) {
        if (!known) return PageText::Bar{label, PageText::kNotRead, 0, tint};
        return PageText::Bar{label, Fmt::memory(bytes), static_cast<double>(bytes) / t, tint};
    };
    return {{
        bar(translate("PerformanceModel", "App Memory"), live.memAppBytes, Tint::blue),
        bar(translate("PerformanceModel", "Wired"), live.memWiredBytes, Tint::red),
        bar(translate("PerformanceModel", "Compressed"), live.memCompressedBytes, Tint::accent),
        bar(translate("PerformanceModel", "Cached Files"), live.memCachedBytes, Tint::green),
    }};
}

PageText::Row swapRow(const LiveMetrics& live) {
    return PageText::notRead({translate("PerformanceModel", "Swap Used"),
                              live.memMeasured ? Fmt::memory(live.swapUsedBytes) : "",
                              Symbol::arrowLeftRight,
                              live.swapUsedBytes >= 1 ? Tint::yellow : Tint::primary});
}

}  // namespace orvane::PerformanceModel
