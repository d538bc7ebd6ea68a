// What the Overview page shows, as plain values computed from the records.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "service/Records.h"
#include "ui/model/PageText.h"

namespace orvane {

// The banner: machine icon, model name, chip and the capsule labels under them.
struct HeroText {
    Symbol symbol = Symbol::none;
    std::string modelName;
    std::string chip;
    std::vector<std::string> pills;
    bool operator==(const HeroText&) const = default;
};

namespace OverviewModel {

HeroText hero(const HardwareInfo& hw);

// The processor chip: total cores, or "-" when unknown.
std::string coreValue(const HardwareInfo& hw);
// "10P + 4E" when the performance cores are known, else "CPU Cores".
std::string coreCaption(const HardwareInfo& hw);
// Capacity of the boot volume (else the first volume) in whole GB or TB; "-" for no volume.
std::string bootCapacity(const std::vector<VolumeInfo>& volumes);

// The four summary chips: memory, processor, storage, battery or power.
std::array<PageText::Chip, 4> chips(const HardwareInfo& hw, const BatteryInfo& battery,
                                    const std::vector<VolumeInfo>& volumes);

// The rows of the "System" card: six on a Mac; elsewhere the system's own name, with a
// Kernel row where the kernel release is known.
std::vector<PageText::Row> systemRows(const HardwareInfo& hw);

// The six rows of the "At a Glance" card: four fixed rows, then two that depend on whether
// a battery is present.
std::vector<PageText::Row> glanceRows(const HardwareInfo& hw, const LiveMetrics& live,
                                      const BatteryInfo& battery, std::size_t displayCount);

}  // namespace OverviewModel
}  // namespace orvane
