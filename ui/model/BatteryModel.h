// What the Battery page shows, as plain values computed from the battery record.
#pragma once

#include <string>
#include <vector>

#include "service/Records.h"
#include "ui/model/PageText.h"

namespace orvane {

// The text and icon under the charge ring; both take the charge colour.
struct ChargeState {
    std::string text;
    Symbol icon = Symbol::none;
    bool operator==(const ChargeState&) const = default;
};

// The cycles card: the big number and, when the rated count is known, the rated bar.
struct CyclesText {
    std::string count;
    bool showRated = false;
    PageText::Bar ratedBar;  // empty label, tint accent
    std::string remaining;   // "688 cycles remaining (rated)"
    bool operator==(const CyclesText&) const = default;
};

namespace BatteryModel {

std::string subtitle(const BatteryInfo& b);
// With a battery: the gauges and detail cards; without: the notice card.
inline bool showGauges(const BatteryInfo& b) {
    return b.present;
}
// The notice without a battery: "This Mac runs on …" on a Mac, "This computer …" elsewhere.
std::string noBatteryText(const HardwareInfo& hw);

PageText::Gauge healthGauge(const BatteryInfo& b);
// A condition the systems state, in the interface's language; any other as stated.
std::string conditionText(const std::string& condition);
// The condition word, translated where known, in the colour its name gives.
PageText::Badge conditionBadge(const BatteryInfo& b);

// Green while charging, else the usage colour of the missing charge.
Tint chargeColor(const BatteryInfo& b);
PageText::Gauge chargeGauge(const BatteryInfo& b);
ChargeState chargeState(const BatteryInfo& b);

CyclesText cycles(const BatteryInfo& b);

// "On AC" / "Calculating…" while unknown, else days, hours and minutes.
std::string timeRemaining(const BatteryInfo& b);
// The "Capacity" card.
std::vector<PageText::Row> capacityRows(const BatteryInfo& b);
// The "Electrical & Status" card.
std::vector<PageText::Row> electricalRows(const BatteryInfo& b);

}  // namespace BatteryModel
}  // namespace orvane
