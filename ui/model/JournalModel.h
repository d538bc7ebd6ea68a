// What the health history shows: the Battery page's "Health History" card (health and
// full-charge capacity over time, a marker per month, the projection or why there is none) and
// each volume's sparkline of used space on the Storage page. Qt-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "service/JournalKeeper.h"
#include "ui/model/Tint.h"

namespace orvane {

// A point of a chart; x from the oldest time shown (0) to the newest (1), y from the bottom (0)
// to the top (1). A projection may lie beyond 1.
struct ChartPoint {
    double x = 0;
    double y = 0;
    bool operator==(const ChartPoint&) const = default;
};

// A label along an axis, at a position from 0 to 1.
struct AxisMark {
    double at = 0;
    std::string label;
    bool operator==(const AxisMark&) const = default;
};

struct BatteryHistoryView {
    bool show = false;                     // a chart; else `emptyText`
    std::vector<ChartPoint> curve;         // health of the current battery, oldest first
    std::vector<ChartPoint> months;        // a marker on the curve at the first point of each month
    std::vector<AxisMark> times;           // under the chart: years, or months over a short span
    std::vector<AxisMark> levels;          // left: health ("100%", "90%", "80%")
    std::vector<AxisMark> capacities;      // right: the full-charge capacity at those levels
    double threshold = 0;                  // the height of 80 %
    std::optional<ChartPoint> projection;  // where the fitted line meets 80 %
    Tint tint = Tint::green;
    std::string summary;         // "91% · 5400 mAh · 212 cycles"
    std::string projectionText;  // "Health reaches 80% around March 2029", or why not
    std::string emptyText;
    bool operator==(const BatteryHistoryView&) const = default;
};

struct VolumeHistoryView {
    bool show = false;             // at least two points in the last 90 days
    std::vector<ChartPoint> used;  // scaled between the least and the most used
    std::string trend;             // "Full in about 7 months", where supported
    std::string summary;           // for the tooltip and assistive technology
    bool operator==(const VolumeHistoryView&) const = default;
};

namespace JournalModel {

BatteryHistoryView battery(const JournalState& state);
// The volume mounted at `mountPoint`.
VolumeHistoryView volume(const JournalState& state, const std::string& mountPoint);

// "March 2029" and "Mar" for a time (UTC), translated.
std::string monthYear(std::int64_t time);
std::string shortMonth(int month);  // 1 to 12

}  // namespace JournalModel
}  // namespace orvane
