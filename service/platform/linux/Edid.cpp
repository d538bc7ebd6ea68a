#include "service/platform/linux/Edid.h"

#include <array>

#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

constexpr std::size_t kBlockSize = 128;
constexpr std::size_t kFirstDescriptor = 54;
constexpr std::size_t kDescriptorSize = 18;
constexpr std::size_t kDescriptors = 4;
constexpr std::array<std::uint8_t, 8> kHeader = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::uint8_t kMonitorNameTag = 0xFC;

}  // namespace

std::optional<Edid> Edid::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kBlockSize) return std::nullopt;
    for (std::size_t i = 0; i < kHeader.size(); ++i)
        if (bytes[i] != kHeader[i]) return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 0; i < kBlockSize; ++i)
        sum += bytes[i];
    if (sum % 256 != 0) return std::nullopt;

    Edid edid;
    bool haveTiming = false;
    for (std::size_t k = 0; k < kDescriptors; ++k) {
        const std::uint8_t* d = bytes.data() + kFirstDescriptor + k * kDescriptorSize;
        const unsigned pixelClock = d[0] | (d[1] << 8);  // in units of 10 kHz
        if (pixelClock != 0) {
            // The first detailed timing is the preferred mode.
            if (haveTiming) continue;
            haveTiming = true;
            const int hActive = d[2] | ((d[4] & 0xF0) << 4);
            const int hBlank = d[3] | ((d[4] & 0x0F) << 8);
            const int vActive = d[5] | ((d[7] & 0xF0) << 4);
            const int vBlank = d[6] | ((d[7] & 0x0F) << 8);
            const bool interlaced = (d[17] & 0x80) != 0;
            if (hActive == 0 || vActive == 0) continue;
            edid.width = hActive;
            // An interlaced timing describes one field: the frame has twice the lines.
            edid.height = interlaced ? vActive * 2 : vActive;
            const double total = static_cast<double>(hActive + hBlank) * (vActive + vBlank);
            edid.refreshHz = total > 0 ? pixelClock * 10000.0 / total : 0;
            continue;
        }
        if (d[2] != 0 || d[3] != kMonitorNameTag || !edid.monitorName.empty()) continue;
        std::string name;
        for (std::size_t i = 5; i < kDescriptorSize && d[i] != 0x0A; ++i)
            name += static_cast<char>(d[i]);
        edid.monitorName = SysText::clean(name);
    }
    return edid;
}

}  // namespace orvane
