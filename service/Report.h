// The whole report of one machine, in each format Orvane writes it: plain text (what
// orvane-report prints and "Copy All" copies), Markdown, JSON, and the Prometheus text
// exposition format for the node_exporter textfile collector. One formatter serves the app and
// the command-line tool.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/Records.h"
#include "service/Sensors.h"

namespace orvane {

class SystemService;

enum class ReportFormat { text, markdown, json, openmetrics };

// The records a report is made of, copied from the service at one moment.
struct Report {
    HardwareInfo hardware;
    BatteryInfo battery;
    std::vector<VolumeInfo> volumes;
    std::vector<DisplayInfo> displays;
    std::vector<GraphicsInfo> graphics;
    LiveMetrics live;
    bool loaded = false;
    SensorReadings sensors;

    // The service's published records (main thread).
    static Report of(const SystemService& svc);
};

// "text", "markdown", "json", "openmetrics"; nothing for any other name.
std::optional<ReportFormat> reportFormatNamed(std::string_view name);

// The report in `format`, ending with a newline.
std::string formatReport(const Report& report, ReportFormat format);

}  // namespace orvane
