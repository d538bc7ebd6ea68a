#include "ui/pages/BatteryModel.h"

#include <algorithm>
#include <limits>

#include "service/Fmt.h"

namespace orvane::BatteryModel {

using PageText::integer;
using PageText::percent;

std::string subtitle(const BatteryInfo& b) {
    return b.present ? "Health, cycles & charge" : "No internal battery detected";
}

PageText::Gauge healthGauge(const BatteryInfo& b) {
    return {b.healthPercent / 100, percent(b.healthPercent), "Maximum\nCapacity",
            PageText::usageColorName(1.0 - b.healthPercent / 100)};
}

PageText::Badge conditionBadge(const BatteryInfo& b) {
    return {b.condition, b.conditionColorName()};
}

std::string chargeColor(const BatteryInfo& b) {
    return b.isCharging ? "green" : PageText::usageColorName(1.0 - b.chargePercent / 100);
}

PageText::Gauge chargeGauge(const BatteryInfo& b) {
    return {b.chargePercent / 100, percent(b.chargePercent), "Current\nCharge", chargeColor(b)};
}

ChargeState chargeState(const BatteryInfo& b) {
    // Text and icon follow different rules: the text knows "Fully Charged", the icon does not.
    ChargeState s;
    if (b.isCharging)
        s.text = "Charging";
    else if (b.fullyCharged)
        s.text = "Fully Charged";
    else if (b.onAC)
        s.text = "On AC \u00b7 Not Charging";
    else
        s.text = "On Battery";
    if (b.isCharging)
        s.icon = "battery.100.bolt";
    else if (b.onAC)
        s.icon = "powerplug.fill";
    else
        s.icon = "battery.50";
    return s;
}

CyclesText cycles(const BatteryInfo& b) {
    CyclesText c;
    c.count = integer(b.cycleCount);
    c.showRated = b.designCycleCount >= 1;
    if (c.showRated) {
        c.ratedBar = {"", integer(b.cycleCount) + " / " + integer(b.designCycleCount) + " rated",
                      static_cast<double>(b.cycleCount) / static_cast<double>(b.designCycleCount),
                      "accent"};
        // Saturating: a nonsensical negative cycle count must not overflow the difference.
        std::int64_t left = 0;
        if (__builtin_sub_overflow(b.designCycleCount, b.cycleCount, &left))
            left = std::numeric_limits<std::int64_t>::max();
        left = std::max<std::int64_t>(left, 0);
        c.remaining = integer(left) + " cycles remaining (rated)";
    }
    return c;
}

std::string timeRemaining(const BatteryInfo& b) {
    if (b.timeRemaining <= 0) return b.onAC ? "On AC" : "Calculating\u2026";
    return Fmt::duration(static_cast<double>(b.timeRemaining) * 60.0);
}

std::vector<PageText::Row> capacityRows(const BatteryInfo& b) {
    return {
        {"Full Charge Capacity", integer(b.maxCapacity) + " mAh", "bolt.fill"},
        {"Design Capacity", integer(b.designCapacity) + " mAh", "bolt.badge.checkmark"},
        {"Current Capacity", integer(b.currentCapacity) + " mAh", "bolt.circle"},
        {"Time Remaining", timeRemaining(b), "clock"},
    };
}

std::vector<PageText::Row> electricalRows(const BatteryInfo& b) {
    return {
        {"Temperature", Fmt::format("%.1f \u00b0C", b.temperature), "thermometer.medium",
         b.temperature > 35.0 ? "yellow" : "primary"},
        {"Voltage", Fmt::format("%.2f V", b.voltage), "waveform.path"},
        {"Amperage", Fmt::format("%.0f mA", b.amperage * 1000), "bolt.horizontal"},
        {"Power Source", b.onAC ? "Power Adapter" : "Battery",
         b.onAC ? "powerplug.fill" : "battery.75"},
        {"Battery Serial", b.serial.empty() ? "-" : b.serial, "barcode"},
    };
}

std::string noBatteryText(const HardwareInfo& hw) {
    return std::string(PageText::isMac(hw.macOSName) ? "This Mac" : "This computer") +
           " runs on AC power - no battery to report.";
}

}  // namespace orvane::BatteryModel
