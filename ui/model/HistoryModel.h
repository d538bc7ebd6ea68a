// What the Performance page's history card says: its title, the time axis, the current values
// beside the title, the hover text and the summary read to assistive technology. Qt-free;
// every text is made here and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "service/LiveHistory.h"
#include "ui/model/PerformanceModel.h"

namespace orvane::HistoryModel {

// The current values beside the title: user and system processor share, memory used,
// coloured as the graph draws them ("-" for what the newest second did not measure).
std::array<MiniStat, 3> legend(const HistoryPoint& newest);
// "35 s ago" (or "now") and the values of that second, one per line.
std::string pointText(const HistoryPoint& point, std::uint64_t secondsAgo);
// "Processor load, last 2 minutes: average 12%, peak 48%. Memory used: average 60%, peak 62%."
std::string summary(const LiveHistory& history);

}  // namespace orvane::HistoryModel
