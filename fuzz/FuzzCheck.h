// What every target checks beyond "no crash": the records the collectors make are sound.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "service/Collectors.h"
#include "service/platform/Facts.h"

namespace orvane::fuzz {

// Stops the run (a finding) when a property does not hold.
inline void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline bool finite(double d) {
    return std::isfinite(d);
}

// Not read counts as finite: only a value that is there must be a number.
inline bool finite(const std::optional<double>& d) {
    return !d || std::isfinite(*d);
}

// Every collector over the facts, with the properties the pages rely on.
inline void collectAll(const HardwareFacts& hw, const PowerFacts& power,
                       const std::vector<VolumeFacts>& volumes, const std::vector<GpuFacts>& gpus) {
    const HardwareInfo h = collectHardware(hw);
    (void)h;
    const BatteryInfo b = collectBattery(power);
    require(finite(b.healthPercent) && finite(b.chargePercent) && finite(b.temperature) &&
                finite(b.voltage),
            "battery values are finite");
    for (const VolumeInfo& v : collectVolumes(volumes)) {
        const double f = v.usedFraction();
        // Above 1 is allowed: a negative free space shows as more than full.
        require(finite(f) && f >= 0, "a volume's used fraction is a number, not negative");
        require(v.usedBytes() >= 0, "a volume's used bytes are not negative");
    }
    collectDisplays(gpus);
}

}  // namespace orvane::fuzz
