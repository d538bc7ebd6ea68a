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
            usageTint(1.0 - b.healthPercent / 100)};
}

PageText::Badge conditionBadge(const BatteryInfo& b) {
    return {b.condition, tintNamed(b.conditionColorName()).value_or(Tint::secondary)};
}

Tint chargeColor(const BatteryInfo& b) {
    return b.isCharging ? Tint::green : usageTint(1.0 - b.chargePercent / 100);
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
        s.icon = Symbol::battery100Bolt;
    else if (b.onAC)
        s.icon = Symbol::powerPlugFill;
    else
        s.icon = Symbol::battery50;
    return s;
}

CyclesText cycles(const BatteryInfo& b) {
    CyclesText c;
    c.count = integer(b.cycleCount);
    c.showRated = b.designCycleCount >= 1;
    if (c.showRated) {
        c.ratedBar = {"", integer(b.cycleCount) + " / " + integer(b.designCycleCount) + " rated",
                      static_cast<double>(b.cycleCount) / static_cast<double>(b.designCycleCount),
                      Tint::accent};
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
        {"Full Charge Capacity", integer(b.maxCapacity) + " mAh", Symbol::boltFill},
        {"Design Capacity", integer(b.designCapacity) + " mAh", Symbol::boltBadgeCheckmark},
        {"Current Capacity", integer(b.currentCapacity) + " mAh", Symbol::boltCircle},
        {"Time Remaining", timeRemaining(b), Symbol::clock},
    };
}

std::vector<PageText::Row> electricalRows(const BatteryInfo& b) {
    return {
        {"Temperature", Fmt::format("%.1f \u00b0C", b.temperature), Symbol::thermometerMedium,
         b.temperature > 35.0 ? Tint::yellow : Tint::primary},
        {"Voltage", Fmt::format("%.2f V", b.voltage), Symbol::waveform},
        {"Amperage", Fmt::format("%.0f mA", b.amperage * 1000), Symbol::boltHorizontal},
        {"Power Source", b.onAC ? "Power Adapter" : "Battery",
         b.onAC ? Symbol::powerPlugFill : Symbol::battery75},
        {"Battery Serial", b.serial.empty() ? "-" : b.serial, Symbol::barcode},
    };
}

std::string noBatteryText(const HardwareInfo& hw) {
    return std::string(PageText::isMac(hw.macOSName) ? "This Mac" : "This computer") +
           " runs on AC power - no battery to report.";
}

}  // namespace orvane::BatteryModel
