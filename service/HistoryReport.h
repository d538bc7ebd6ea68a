// The journal's points as orvane-report prints them (`--history`): text, JSON (the capture's
// journal.json with the projections added) or CSV; and the projections as Prometheus gauges,
// appended to the metrics of the report.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/Journal.h"

namespace orvane {

enum class HistoryFormat { text, json, csv };

// "text", "json", "csv"; nothing for any other name.
std::optional<HistoryFormat> historyFormatNamed(std::string_view name);

std::string formatHistory(const History& history, HistoryFormat format);

// The projections of the newest curves, as gauges of the time they reach their mark; empty
// where nothing is projected.
std::string historyMetrics(const History& history);

}  // namespace orvane
