// The icons the interface draws, by what they show. Qt-free, so the pages' display values can
// name them; ui/paint/Icon.cpp maps each to a drawing of the bundled set.
#pragma once

#include <array>
#include <cstddef>

namespace orvane {

enum class Symbol {
    none,  // no icon: the row or tile leaves its icon space empty
    // Machines
    laptop,
    desktop,
    macMini,
    macStudio,
    macPro,
    display,
    appleLogo,
    // Components
    cpu,
    cpuFill,
    memoryChip,
    internalDrive,
    internalDriveFill,
    externalDrive,
    externalDriveFill,
    cableConnector,
    stack,
    rectangleDashed,
    // Power
    battery100,
    battery100Bolt,
    battery75,
    battery50,
    boltFill,
    boltHorizontal,
    boltCircle,
    boltBadgeCheckmark,
    powerPlug,
    powerPlugFill,
    thermometer,
    thermometerMedium,
    // Activity
    speedometer,
    gauge,
    waveformEcg,
    waveform,
    arrowLeftRight,
    arrowCirclePath,
    clock,
    timer,
    // Identity
    person,
    number,
    barcode,
    building,
    // Shell
    sparkleMagnifyingGlass,
    arrowClockwise,
    share,
    circleHalfFilled,
    sunFill,
    moonFill,
};

inline constexpr std::size_t kSymbolCount = static_cast<std::size_t>(Symbol::moonFill) + 1;

// Every symbol but `none`, in declaration order.
constexpr std::array<Symbol, kSymbolCount - 1> allSymbols() {
    std::array<Symbol, kSymbolCount - 1> all{};
    for (std::size_t i = 1; i < kSymbolCount; ++i)
        all[i - 1] = static_cast<Symbol>(i);
    return all;
}

}  // namespace orvane
