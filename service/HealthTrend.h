// Trends of the journal's points: the month a battery's health is projected to reach 80 %, and
// when a volume is projected to be full. Each comes from a robust line fit (Theil-Sen: the
// median of the slopes between every two points) over the last 90 days of points, or all of
// them when they span less, and only where the data supports it; else a reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "service/Journal.h"

namespace orvane {

enum class TrendReason {
    none,         // projected
    needsMonth,   // the points span less than 30 days
    needsPoints,  // fewer than 5 points
    steady,       // the fit is flat, or goes the other way
    reached,      // health is at or below 80 % already; the volume is full
};

struct Trend {
    std::optional<std::int64_t> when;  // the projected time, seconds since 1970 UTC
    double slopePerDay = 0;            // health percent, or used bytes, per day
    TrendReason reason = TrendReason::needsPoints;
};

// The level of health at which a battery is worth replacing.
inline constexpr double kReplaceHealthPercent = 80;

// Over one battery's curve (History::currentBattery).
Trend batteryTrend(const std::vector<BatteryPoint>& curve);
// Over one volume's curve (History::currentVolume).
Trend volumeTrend(const std::vector<VolumePoint>& curve);

// Whole months from `from` to `when`, rounded, at least 1.
std::int64_t monthsUntil(std::int64_t when, std::int64_t from);

// The reason in English words ("Needs a month of history"); `volume` picks the storage wording.
std::string trendReasonText(TrendReason reason, bool volume);

}  // namespace orvane
