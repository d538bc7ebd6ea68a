#include "ui/model/BatteryModel.h"

#include <algorithm>
#include <cmath>
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

namespace {

// A ring of a percentage; one that was not read draws no arc and reads "-".
PageText::Gauge ring(const std::optional<double>& pct, std::string subtitle, Tint tint) {
    if (!pct) return {0, PageText::kNotRead, std::move(subtitle), Tint::secondary};
    return {*pct / 100, percent(*pct), std::move(subtitle), tint};
}

// The row's value, or "-" in the secondary style when it was not read.
template <typename T, typename F>
PageText::Row rowOf(std::string label, const std::optional<T>& v, F text, Symbol icon,
                    Tint color = Tint::primary) {
    return PageText::notRead({std::move(label), v ? text(*v) : std::string(), icon, color});
}

std::string mah(std::int64_t v) {
    return integer(v) + " mAh";
}

}  // namespace

PageText::Gauge healthGauge(const BatteryInfo& b) {
    return ring(b.healthPercent, translate("BatteryModel", "Maximum\nCapacity"),
                usageTint(1.0 - b.healthPercent.value_or(0) / 100));
}

std::string conditionText(const std::string& c) {
    // The conditions systems state, translated; any other word as it was stated.
    if (c == "Good") return translate("BatteryModel", "Good");
    if (c == "Normal") return translate("BatteryModel", "Normal");
    if (c == "Fair") return translate("BatteryModel", "Fair");
    if (c == "Poor") return translate("BatteryModel", "Poor");
    if (c == "Service Recommended") return translate("BatteryModel", "Service Recommended");
    if (c == "Check Battery") return translate("BatteryModel", "Check Battery");
    if (c == "Replace Soon") return translate("BatteryModel", "Replace Soon");
    if (c == "Replace Now") return translate("BatteryModel", "Replace Now");
    return c;
}

PageText::Badge conditionBadge(const BatteryInfo& b) {
    const std::string text = conditionText(b.condition);
    switch (b.conditionTint()) {
        case ConditionTint::green:
            return {text, Tint::green};
        case ConditionTint::yellow:
            return {text, Tint::yellow};
        case ConditionTint::red:
            return {text, Tint::red};
        case ConditionTint::secondary:
            break;
    }
    return {text, Tint::secondary};
}

Tint chargeColor(const BatteryInfo& b) {
    if (b.isCharging) return Tint::green;
    return b.chargePercent ? usageTint(1.0 - *b.chargePercent / 100) : Tint::secondary;
}

PageText::Gauge chargeGauge(const BatteryInfo& b) {
    return ring(b.chargePercent, translate("BatteryModel", "Current\nCharge"), chargeColor(b));
}

ChargeState chargeState(const BatteryInfo& b) {
    // Text and icon follow different rules: the text knows "Fully Charged", the icon does not.
    ChargeState s;
    if (b.isCharging)
        s.text = translate("BatteryModel", "Charging");
    else if (b.fullyCharged)
        s.text = translate("BatteryModel", "Fully Charged");
    else if (b.onAC.value_or(false))
        s.text = translate("BatteryModel", "On AC \u00b7 Not Charging");
    else if (b.onAC)
        s.text = translate("BatteryModel", "On Battery");
    else
        s.text = PageText::kNotRead;
    if (b.isCharging)
        s.icon = Symbol::battery100Bolt;
    else if (b.onAC.value_or(false))
        s.icon = Symbol::powerPlugFill;
    else
        s.icon = Symbol::battery50;
    return s;
}

CyclesText cycles(const BatteryInfo& b) {
    CyclesText c;
    c.count = b.cycleCount ? integer(*b.cycleCount) : PageText::kNotRead;
    const std::int64_t count = b.cycleCount.value_or(0);
    const std::int64_t rated = b.designCycleCount.value_or(0);
    c.showRated = b.cycleCount && rated >= 1;
    if (c.showRated) {
        c.ratedBar = {"",
                      PageText::arg(translate("BatteryModel", "%1 / %2 rated"),
                                    {integer(count), integer(rated)}),
                      static_cast<double>(count) / static_cast<double>(rated), Tint::accent};
        // Saturating: a nonsensical negative cycle count must not overflow the difference.
        std::int64_t left = 0;
        if (__builtin_sub_overflow(rated, count, &left))
            left = std::numeric_limits<std::int64_t>::max();
        left = std::max<std::int64_t>(left, 0);
        c.remaining = PageText::arg(translate("BatteryModel", "%1 cycles remaining (rated)"),
                                    {integer(left)});
    }
    return c;
}

std::string timeRemaining(const BatteryInfo& b) {
    if (!b.timeRemaining) return PageText::kNotRead;
    if (*b.timeRemaining <= 0)
        return b.onAC.value_or(false) && !b.isCharging
                   ? translate("BatteryModel", "On AC")
                   : translate("BatteryModel", "Calculating\u2026");
    return PageText::duration(static_cast<double>(*b.timeRemaining) * 60.0);
}

std::vector<PageText::Row> capacityRows(const BatteryInfo& b) {
    return {
        rowOf(translate("BatteryModel", "Full Charge Capacity"), b.maxCapacity, mah,
              Symbol::boltFill),
        rowOf(translate("BatteryModel", "Design Capacity"), b.designCapacity, mah,
              Symbol::boltBadgeCheckmark),
        rowOf(translate("BatteryModel", "Current Capacity"), b.currentCapacity, mah,
              Symbol::boltCircle),
        // While charging the system estimates the time until full.
        PageText::notRead({b.isCharging ? translate("BatteryModel", "Time to Full")
                                        : translate("BatteryModel", "Time Remaining"),
                           timeRemaining(b), Symbol::clock}),
    };
}

std::vector<PageText::Row> electricalRows(const BatteryInfo& b) {
    std::vector<PageText::Row> rows = {
        rowOf(
            translate("BatteryModel", "Temperature"), b.temperature,
            [](double t) {
                return Fmt::withMinusSign(Fmt::withDecimalPoint(Fmt::format("%.1f \u00b0C", t)));
            },
            Symbol::thermometerMedium,
            b.temperature.value_or(0) > 35.0 ? Tint::yellow : Tint::primary),
        rowOf(
            translate("BatteryModel", "Voltage"), b.voltage,
            [](double v) { return Fmt::withDecimalPoint(Fmt::format("%.2f V", v)); },
            Symbol::waveform),
        rowOf(
            translate("BatteryModel", "Amperage"), b.amperage,
            [](double a) {
                return integer(static_cast<std::int64_t>(std::nearbyint(a * 1000))) + " mA";
            },
            Symbol::boltHorizontal),
    };
    // The power source only where it was read.
    if (b.onAC)
        rows.push_back({translate("BatteryModel", "Power Source"),
                        *b.onAC ? translate("BatteryModel", "Power Adapter")
                                : translate("BatteryModel", "Battery"),
                        *b.onAC ? Symbol::powerPlugFill : Symbol::battery75});
    rows.push_back(PageText::notRead(
        {translate("BatteryModel", "Battery Serial"), b.serial, Symbol::barcode}));
    return rows;
}

std::string noBatteryText(const HardwareInfo& hw) {
    return PageText::isMac(hw.macOSName)
               ? translate("BatteryModel", "This Mac runs on AC power \u2013 no battery to report.")
               : translate("BatteryModel",
                           "This computer runs on AC power \u2013 no battery to report.");
}

}  // namespace orvane::BatteryModel
