// The parts of a display's EDID block that name it and give its preferred mode.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvane {

struct Edid {
    // Text of the monitor-name descriptor (tag 0xFC); empty when there is none.
    std::string monitorName;
    // Preferred (first detailed) timing; 0 when the block has none.
    int width = 0;
    int height = 0;
    double refreshHz = 0;

    // Decodes the base block: nothing unless it has the fixed header and a valid checksum.
    static std::optional<Edid> parse(std::span<const std::uint8_t> bytes);
};

}  // namespace orvane
