// The parts of a display's EDID that name it and give its preferred mode.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvane {

struct Edid {
    // Text of the monitor-name descriptors (tag 0xFC), joined in order; empty when there is
    // none.
    std::string monitorName;
    // Preferred timing: the base block's first detailed timing, else the first one of a
    // CTA-861 or DisplayID extension block; 0 when there is none.
    int width = 0;
    int height = 0;
    double refreshHz = 0;  // the field rate of an interlaced timing

    // Decodes the base block and the extension blocks that follow it: nothing unless the
    // base block has the fixed header and a valid checksum. An extension block with a wrong
    // checksum is skipped.
    static std::optional<Edid> parse(std::span<const std::uint8_t> bytes);
};

}  // namespace orvane
