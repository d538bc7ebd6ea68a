#include "service/platform/linux/PciIds.h"

#include <array>
#include <cstdio>
#include <utility>

#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "1234  Name" -> Name when the four hex digits are `id`; empty otherwise.
std::string_view entryName(std::string_view line, std::uint16_t id) {
    if (line.size() < 6 || line[4] != ' ') return {};
    for (int i = 0; i < 4; ++i)
        if (!isHexDigit(line[i])) return {};
    const auto value = SysText::parseHex(line.substr(0, 4));
    if (!value || *value != id) return {};
    return SysText::trim(line.substr(5));
}

}  // namespace

PciIds::Names PciIds::lookup(std::string_view db, std::uint16_t vendor, std::uint16_t device) {
    Names names;
    bool inVendor = false;
    std::size_t pos = 0;
    while (pos < db.size()) {
        std::size_t end = db.find('\n', pos);
        if (end == std::string_view::npos) end = db.size();
        std::string_view line = db.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        if (!inVendor) {
            // The class list at the end of the file is not about vendors.
            if (line.size() > 1 && line[0] == 'C' && line[1] == ' ') break;
            if (line.front() == '\t') continue;
            const std::string_view name = entryName(line, vendor);
            if (!name.empty()) {
                names.vendor = SysText::clean(name);
                inVendor = true;
            }
            continue;
        }
        if (line.front() != '\t') break;                   // the next vendor
        if (line.size() > 1 && line[1] == '\t') continue;  // a subsystem
        const std::string_view name = entryName(line.substr(1), device);
        if (!name.empty()) {
            names.device = SysText::clean(name);
            break;
        }
    }
    return names;
}

namespace {

// Vendors of graphics processors: the database's name and the brand people use.
struct KnownVendor {
    std::uint16_t id;
    const char* name;
    const char* brand;
};
constexpr std::array<KnownVendor, 12> kVendors = {{
    {0x8086, "Intel Corporation", "Intel"},
    {0x10de, "NVIDIA Corporation", "NVIDIA"},
    {0x1002, "Advanced Micro Devices, Inc.", "AMD"},
    {0x1022, "Advanced Micro Devices, Inc.", "AMD"},
    {0x106b, "Apple Inc.", "Apple"},
    {0x5143, "Qualcomm Technologies, Inc", "Qualcomm"},
    {0x1af4, "Red Hat, Inc.", "Virtio"},
    {0x1234, "QEMU", "QEMU"},
    {0x15ad, "VMware", "VMware"},
    {0x80ee, "InnoTek Systemberatung GmbH", "VirtualBox"},
    {0x1414, "Microsoft Corporation", "Microsoft"},
    {0x1a03, "ASPEED Technology, Inc.", "ASPEED"},
}};

const KnownVendor* known(std::uint16_t vendor) {
    for (const KnownVendor& v : kVendors)
        if (v.id == vendor) return &v;
    return nullptr;
}

}  // namespace

std::string PciIds::knownVendor(std::uint16_t vendor) {
    const KnownVendor* v = known(vendor);
    return v ? v->name : std::string();
}

std::string PciIds::knownBrand(std::uint16_t vendor) {
    const KnownVendor* v = known(vendor);
    return v ? v->brand : std::string();
}

}  // namespace orvane
