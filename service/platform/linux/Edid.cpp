#include "service/platform/linux/Edid.h"

#include <algorithm>
#include <array>

#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

constexpr std::size_t kBlockSize = 128;
constexpr std::size_t kFirstDescriptor = 54;
constexpr std::size_t kDescriptorSize = 18;
constexpr std::size_t kDescriptors = 4;
constexpr std::size_t kNameBytes = 13;
constexpr std::array<std::uint8_t, 8> kHeader = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::uint8_t kMonitorNameTag = 0xFC;
constexpr std::uint8_t kCtaExtension = 0x02;
constexpr std::uint8_t kDisplayIdExtension = 0x70;
constexpr std::uint8_t kDisplayIdTypeI = 0x03;    // DisplayID 1.x, pixel clock in 10 kHz
constexpr std::uint8_t kDisplayIdTypeVII = 0x22;  // DisplayID 2.x, pixel clock in 1 kHz
constexpr std::size_t kDisplayIdTimingSize = 20;

struct Timing {
    int width = 0;
    int height = 0;
    double refreshHz = 0;
};

// A timing worth showing: a real picture at a rate some display runs at. Panels whose mode
// lives in an extension block may leave a zeroed or token timing in the base block.
bool usable(const Timing& t) {
    return t.width >= 64 && t.height >= 64 && t.refreshHz >= 1 && t.refreshHz <= 1000;
}

// An 18-byte detailed timing descriptor (base block or CTA-861 extension).
Timing detailedTiming(const std::uint8_t* d) {
    const unsigned pixelClock = d[0] | (d[1] << 8);  // in units of 10 kHz
    const int hActive = d[2] | ((d[4] & 0xF0) << 4);
    const int hBlank = d[3] | ((d[4] & 0x0F) << 8);
    const int vActive = d[5] | ((d[7] & 0xF0) << 4);
    const int vBlank = d[6] | ((d[7] & 0x0F) << 8);
    const bool interlaced = (d[17] & 0x80) != 0;
    Timing t;
    t.width = hActive;
    // An interlaced timing describes one field. The frame has both fields' lines and a half
    // line between them (1080i: 2 x (540 + 22) + 1 = 1125), and the rate is that of the fields.
    t.height = interlaced ? vActive * 2 : vActive;
    const double frameLines =
        interlaced ? (2.0 * (vActive + vBlank) + 1.0) / 2.0 : static_cast<double>(vActive + vBlank);
    const double total = static_cast<double>(hActive + hBlank) * frameLines;
    t.refreshHz = total > 0 ? pixelClock * 10000.0 / total : 0;
    return t;
}

unsigned le16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

// A DisplayID type I or VII timing: every field is stored as its value minus one.
Timing displayIdTiming(const std::uint8_t* d, double clockUnitHz) {
    const double pixelClock = ((d[0] | (d[1] << 8) | (d[2] << 16)) + 1.0) * clockUnitHz;
    Timing t;
    t.width = static_cast<int>(le16(d + 4) + 1);
    t.height = static_cast<int>(le16(d + 12) + 1);
    const double total = static_cast<double>(t.width + le16(d + 6) + 1) *
                         static_cast<double>(t.height + le16(d + 14) + 1);
    t.refreshHz = pixelClock / total;
    return t;
}

// The first usable detailed timing of a CTA-861 extension: descriptors from the offset in
// byte 2 up to the checksum, ending at the first one without a pixel clock.
std::optional<Timing> ctaTiming(const std::uint8_t* block) {
    const std::size_t start = block[2];
    if (start < 4) return std::nullopt;
    for (std::size_t at = start; at + kDescriptorSize < kBlockSize; at += kDescriptorSize) {
        if (block[at] == 0 && block[at + 1] == 0) break;
        if (const Timing t = detailedTiming(block + at); usable(t)) return t;
    }
    return std::nullopt;
}

// The preferred timing of a DisplayID section in an extension block (the one flagged
// preferred, else the first usable one): byte 1 the version, byte 2 the length of the data
// blocks that start at byte 5, each a tag, a revision, a length and its payload.
std::optional<Timing> displayIdPreferred(const std::uint8_t* block) {
    const std::size_t end = std::min<std::size_t>(5 + block[2], kBlockSize - 1);
    std::optional<Timing> first;
    for (std::size_t at = 5; at + 3 <= end;) {
        const std::uint8_t tag = block[at];
        const std::size_t length = block[at + 2];
        if (length == 0 || at + 3 + length > end) break;
        if (tag == kDisplayIdTypeI || tag == kDisplayIdTypeVII) {
            const double unit = tag == kDisplayIdTypeI ? 10000.0 : 1000.0;
            for (std::size_t k = 0; (k + 1) * kDisplayIdTimingSize <= length; ++k) {
                const std::uint8_t* d = block + at + 3 + k * kDisplayIdTimingSize;
                const Timing t = displayIdTiming(d, unit);
                if (!usable(t)) continue;
                if (d[3] & 0x80) return t;
                if (!first) first = t;
            }
        }
        at += 3 + length;
    }
    return first;
}

bool checksumOk(std::span<const std::uint8_t> block) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < kBlockSize; ++i)
        sum += block[i];
    return sum % 256 == 0;
}

}  // namespace

std::optional<Edid> Edid::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kBlockSize) return std::nullopt;
    for (std::size_t i = 0; i < kHeader.size(); ++i)
        if (bytes[i] != kHeader[i]) return std::nullopt;
    if (!checksumOk(bytes)) return std::nullopt;

    Edid edid;
    std::optional<Timing> preferred;
    std::string name;
    bool nameEnded = true;  // the last name part ended before its 13 bytes were full
    for (std::size_t k = 0; k < kDescriptors; ++k) {
        const std::uint8_t* d = bytes.data() + kFirstDescriptor + k * kDescriptorSize;
        if (d[0] != 0 || d[1] != 0) {
            // The first detailed timing is the preferred mode (a zeroed or token one is not).
            if (const Timing t = detailedTiming(d); !preferred && usable(t)) preferred = t;
            continue;
        }
        if (d[2] != 0 || d[3] != kMonitorNameTag) continue;
        // A name too long for one descriptor goes on in the next one: a part that fills all
        // 13 bytes continues the word, one that ends early is followed by a space.
        std::string part;
        std::size_t i = 5;
        for (; i < 5 + kNameBytes && d[i] != 0x0A; ++i)
            part += static_cast<char>(d[i]);
        part = SysText::clean(part);
        if (part.empty()) continue;
        if (!name.empty() && nameEnded) name += ' ';
        name += part;
        nameEnded = i < 5 + kNameBytes || d[5 + kNameBytes - 1] == ' ';
    }
    edid.monitorName = std::move(name);

    // Extension blocks follow the base block; byte 126 counts them.
    const std::size_t extensions = std::min<std::size_t>(bytes[126], bytes.size() / kBlockSize - 1);
    for (std::size_t e = 1; e <= extensions && !preferred; ++e) {
        const std::span<const std::uint8_t> block = bytes.subspan(e * kBlockSize, kBlockSize);
        if (!checksumOk(block)) continue;
        if (block[0] == kCtaExtension) preferred = ctaTiming(block.data());
        if (block[0] == kDisplayIdExtension) preferred = displayIdPreferred(block.data());
    }
    if (preferred) {
        edid.width = preferred->width;
        edid.height = preferred->height;
        edid.refreshHz = preferred->refreshHz;
    }
    return edid;
}

}  // namespace orvane
