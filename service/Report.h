// The whole report of one machine, in each format Orvane writes it: plain text (what
// orvane-report prints and "Copy All" copies), Markdown, JSON, and the Prometheus text
// exposition format for the node_exporter textfile collector. One formatter serves the app and
// the command-line tool.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/Records.h"

namespace orvane {

enum class ReportFormat { text, markdown, json, openmetrics };

// "text", "markdown", "json", "openmetrics"; nothing for any other name.
std::optional<ReportFormat> reportFormatNamed(std::string_view name);

// The report of `records` (the service's snapshot()) in `format`, ending with a newline.
std::string formatReport(const Snapshot& records, ReportFormat format);

}  // namespace orvane
