// The computer's batteries and external power from /sys/class/power_supply.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "service/platform/Facts.h"
#include "service/platform/linux/SysFs.h"

namespace orvane {

class PowerSupplies {
  public:
    // One battery's readings in the kernel's units (µV, µA, µW, µAh, µWh, tenths of °C,
    // seconds); each empty when the driver does not give it.
    struct Battery {
        std::string name;
        std::string status;  // "Charging", "Discharging", "Full", "Not charging", "Unknown"
        std::optional<std::int64_t> capacityPercent;
        std::optional<std::int64_t> cycleCount;
        std::optional<std::int64_t> voltageNow, voltageMinDesign;
        std::optional<std::int64_t> currentNow, powerNow;
        std::optional<std::int64_t> chargeFullDesign, chargeFull, chargeNow;
        std::optional<std::int64_t> energyFullDesign, energyFull, energyNow;
        std::optional<std::int64_t> temp;
        std::optional<std::int64_t> timeToEmpty, timeToFull;
        std::string serial;
        std::string health;

        // Capacities in mAh: charge values as they are, energy values through the design
        // minimum voltage (else the present voltage).
        std::optional<std::int64_t> designMah() const;
        std::optional<std::int64_t> fullMah() const;
        std::optional<std::int64_t> nowMah() const;
        // Full over design capacity in percent, from the driver's own values in one unit
        // (divided before any rounding: a driver may give small numbers or other units).
        std::optional<double> healthPercent() const;
        // Current in mA, negative while discharging; from power / voltage without a current.
        std::optional<std::int64_t> amperageMa() const;
        // Power drawn or taken in µW: power_now, else current times voltage.
        std::optional<std::int64_t> powerMicrowatts() const;
        // The same in amperes, unrounded.
        std::optional<double> amperes() const;

        BatteryFacts facts() const;

      private:
        std::optional<std::int64_t> mah(const std::optional<std::int64_t>& charge,
                                        const std::optional<std::int64_t>& energy) const;
    };

    static PowerSupplies read(const SysFs& fs);

    // One battery fact per battery; the power source and the time remaining of them all.
    PowerFacts facts() const;

    // Minutes until empty or full from the batteries' readings, where the driver gives no
    // estimate: energy over power for energy-reporting batteries, else charge over current.
    std::optional<std::int64_t> estimatedMinutes(bool discharging, bool charging) const;

    std::vector<Battery> batteries;  // the computer's own, in name order
    // Whether an external supply (mains or USB) is online; empty when the machine reports
    // no such supply.
    std::optional<bool> externalOnline;
};

}  // namespace orvane
