#include "ui/model/BatteryModel.h"

#include <algorithm>
#include <limits>

#include "service/Fmt.h"

namespace orvane::BatteryModel {

using PageText::translate;

using PageText::integer;
using PageText::percent;

std::string subtitle(const BatteryInfo& b) {
    return b.present ? translate("BatteryModel", "Health, cycles & charge")
                     : translate("BatteryModel", "No internal battery detected");
}

PageText::Gauge healthGauge(const BatteryInfo& b) {
    return {b.healthPercent / 100, percent(b.healthPercent),
            translate("BatteryModel", "Maximum\nCapacity"), usageTint(1.0 - b.healthPercent / 100)};
}

PageText::Badge conditionBadge(const BatteryInfo& b) {
    switch (b.conditionTint()) {
        case ConditionTint::green:
            return {b.condition, Tint::green};
        case ConditionTint::yellow:
            return {b.condition, Tint::yellow};
        case ConditionTint::red:
            return {b.condition, Tint::red};
        case ConditionTint::secondary:
            break;
    }
    return {b.condition, Tint::secondary};
}

Tint chargeColor(const BatteryInfo& b) {
    return b.isCharging ? Tint::green : usageTint(1.0 - b.chargePercent / 100);
}

PageText::Gauge chargeGauge(const BatteryInfo& b) {
    return {b.chargePercent / 100, percent(b.chargePercent),
            translate("BatteryModel", "Current\nCharge"), chargeColor(b)};
}

ChargeState chargeState(const BatteryInfo& b) {
    // Text and icon follow different rules: the text knows "Fully Charged", the icon does not.
    ChargeState s;
    if (b.isCharging)
        s.text = translate("BatteryModel", "Charging");
    else if (b.fullyCharged)
        s.text = translate("BatteryModel", "Fully Charged");
    else if (b.onAC)
        s.text = translate("BatteryModel", "On AC \u00b7 Not Charging");
    else
        s.text = translate("BatteryModel", "On Battery");
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
        c.ratedBar = {"",
                      PageText::arg(translate("BatteryModel", "%1 / %2 rated"),
                                    {integer(b.cycleCount), integer(b.designCycleCount)}),
                      static_cast<double>(b.cycleCount) / static_cast<double>(b.designCycleCount),
                      Tint::accent};
        // Saturating: a nonsensical negative cycle count must not overflow the difference.
        std::int64_t left = 0;
        if (__builtin_sub_overflow(b.designCycleCount, b.cycleCount, &left))
            left = std::numeric_limits<std::int64_t>::max();
        left = std::max<std::int64_t>(left, 0);
        c.remaining = PageText::arg(translate("BatteryModel", "%1 cycles remaining (rated)"),
                                    {integer(left)});
    }
    return c;
}

std::string timeRemaining(const BatteryInfo& b) {
    if (b.timeRemaining <= 0)
        return b.onAC ? translate("BatteryModel", "On AC")
                      : translate("BatteryModel", "Calculating\u2026");
    return Fmt::duration(static_cast<double>(b.timeRemaining) * 60.0);
}

std::vector<PageText::Row> capacityRows(const BatteryInfo& b) {
    return {
        {translate("BatteryModel", "Full Charge Capacity"), integer(b.maxCapacity) + " mAh",
         Symbol::boltFill},
        {translate("BatteryModel", "Design Capacity"), integer(b.designCapacity) + " mAh",
         Symbol::boltBadgeCheckmark},
        {translate("BatteryModel", "Current Capacity"), integer(b.currentCapacity) + " mAh",
         Symbol::boltCircle},
        {translate("BatteryModel", "Time Remaining"), timeRemaining(b), Symbol::clock},
    };
}

std::vector<PageText::Row> electricalRows(const BatteryInfo& b) {
    return {
        {translate("BatteryModel", "Temperature"),
         Fmt::withDecimalPoint(Fmt::format("%.1f \u00b0C", b.temperature)),
         Symbol::thermometerMedium, b.temperature > 35.0 ? Tint::yellow : Tint::primary},
        {translate("BatteryModel", "Voltage"),
         Fmt::withDecimalPoint(Fmt::format("%.2f V", b.voltage)), Symbol::waveform},
        {translate("BatteryModel", "Amperage"), Fmt::format("%.0f mA", b.amperage * 1000),
         Symbol::boltHorizontal},
        {translate("BatteryModel", "Power Source"),
         b.onAC ? translate("BatteryModel", "Power Adapter") : translate("BatteryModel", "Battery"),
         b.onAC ? Symbol::powerPlugFill : Symbol::battery75},
        {translate("BatteryModel", "Battery Serial"), b.serial.empty() ? "-" : b.serial,
         Symbol::barcode},
    };
}

std::string noBatteryText(const HardwareInfo& hw) {
    return PageText::isMac(hw.macOSName)
               ? translate("BatteryModel", "This Mac runs on AC power - no battery to report.")
               : translate("BatteryModel",
                           "This computer runs on AC power - no battery to report.");
}

}  // namespace orvane::BatteryModel
