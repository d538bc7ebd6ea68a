#include "service/platform/linux/DisplayReport.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "service/Fmt.h"
#include "service/Utf8.h"
#include "service/platform/linux/Edid.h"
#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

constexpr std::size_t kMaxEdidBytes = 32 * 1024;
constexpr std::size_t kMaxPciIdsBytes = 16 << 20;
constexpr std::size_t kMaxCachedNames = 256;

std::string lastComponent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "card12" -> 12; nothing for anything else ("card0-DP-1", "renderD128").
std::optional<std::uint64_t> cardNumber(std::string_view entry) {
    if (entry.rfind("card", 0) != 0) return std::nullopt;
    return SysText::parseUnsigned(entry.substr(4));
}

// A PCI vendor or device file ("0x8086").
bool pciId(const std::optional<std::string>& text, std::uint16_t& id) {
    if (!text) return false;
    const std::optional<std::uint64_t> value = SysText::parseHex(*text);
    if (!value || *value > 0xFFFF) return false;
    id = static_cast<std::uint16_t>(*value);
    return true;
}

std::string hex4(std::uint16_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", v);
    return buf;
}

// "1920x1080" or "1920x1080i" (the first line of a connector's modes) -> width and height.
std::optional<std::pair<int, int>> modeSize(std::string_view modes) {
    const std::string_view line = SysText::trim(modes.substr(0, modes.find('\n')));
    const std::size_t x = line.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    std::string_view h = line.substr(x + 1);
    std::size_t digits = 0;
    while (digits < h.size() && h[digits] >= '0' && h[digits] <= '9')
        ++digits;
    const auto width = SysText::parseUnsigned(line.substr(0, x));
    const auto height = SysText::parseUnsigned(h.substr(0, digits));
    if (!width || !height || *width == 0 || *height == 0 || *width > 100000 || *height > 100000)
        return std::nullopt;
    return std::pair<int, int>(static_cast<int>(*width), static_cast<int>(*height));
}

}  // namespace

PciIds::Names PciNameCache::find(const SysFs& fs, std::uint16_t vendor,
                                 std::uint16_t device) const {
    const std::uint32_t key = (static_cast<std::uint32_t>(vendor) << 16) | device;
    std::lock_guard lock(mutex_);
    if (auto it = names_.find(key); it != names_.end()) return it->second;
    PciIds::Names names;
    for (const char* file : {"usr/share/hwdata/pci.ids", "usr/share/misc/pci.ids"}) {
        if (std::optional<std::string> db = fs.read(file, kMaxPciIdsBytes)) {
            names = PciIds::lookup(*db, vendor, device);
            break;
        }
    }
    if (names_.size() < kMaxCachedNames) names_.emplace(key, names);
    return names;
}

std::optional<DisplayReport::Connector> DisplayReport::connectorOf(std::string_view entry,
                                                                   std::string_view card) {
    if (entry.size() <= card.size() + 1 || entry.substr(0, card.size()) != card ||
        entry[card.size()] != '-')
        return std::nullopt;
    const std::string_view name = entry.substr(card.size() + 1);
    const std::size_t dash = name.rfind('-');
    if (dash == std::string_view::npos || dash == 0) return std::nullopt;
    const auto index = SysText::parseUnsigned(name.substr(dash + 1));
    if (!index || *index > 1000000) return std::nullopt;
    Connector c;
    c.name = std::string(name);
    c.type = std::string(name.substr(0, dash));
    c.index = static_cast<int>(*index);
    return c;
}

bool DisplayReport::isBuiltIn(std::string_view type) {
    return type == "eDP" || type == "LVDS" || type == "DSI";
}

std::string DisplayReport::connectionName(std::string_view type) {
    if (isBuiltIn(type)) return "Internal";
    if (type == "DP") return "DisplayPort";
    if (type.rfind("HDMI", 0) == 0) return "HDMI";
    if (type.rfind("DVI", 0) == 0) return "DVI";
    if (type == "VGA" || type == "USB" || type == "Virtual") return std::string(type);
    if (type == "Composite" || type == "SVIDEO" || type == "Component" || type == "TV")
        return "Analog";
    return {};
}

std::string DisplayReport::productName(std::string_view name) {
    name = SysText::trim(name);
    if (!name.empty() && name.back() == ']') {
        const std::size_t open = name.rfind('[');
        if (open != std::string_view::npos) {
            const std::string_view inner =
                SysText::trim(name.substr(open + 1, name.size() - open - 2));
            if (!inner.empty()) return std::string(inner);
        }
    }
    return std::string(name);
}

std::string DisplayReport::unnamedGpu(std::uint16_t vendor, std::uint16_t device,
                                      std::string_view databaseVendor) {
    std::string brand = PciIds::knownBrand(vendor);
    if (brand.empty() && !SysText::trim(databaseVendor).empty())
        brand = productName(databaseVendor);
    // Without a vendor name the vendor's id is the only clue left.
    if (brand.empty()) return "GPU " + hex4(vendor) + ":" + hex4(device);
    return brand + " GPU " + hex4(device);
}

std::string DisplayReport::vendorName(std::string_view name) {
    name = SysText::trim(name);
    if (!name.empty() && name.back() == ']') {
        const std::size_t open = name.rfind('[');
        if (open != std::string_view::npos && open > 0)
            return std::string(SysText::trim(name.substr(0, open)));
    }
    return std::string(name);
}

std::vector<GpuFacts> DisplayReport::facts() const {
    const std::vector<std::string> entries = fs_.list("sys/class/drm");
    std::vector<std::pair<std::uint64_t, std::string>> cards;
    for (const std::string& e : entries)
        if (auto n = cardNumber(e)) cards.emplace_back(*n, e);
    std::sort(cards.begin(), cards.end());

    std::vector<GpuFacts> gpus;
    for (const auto& [number, card] : cards) {
        const std::string dev = "sys/class/drm/" + card + "/device/";
        std::uint16_t vendorId = 0;
        std::uint16_t deviceId = 0;
        const bool pci =
            pciId(fs_.text(dev + "vendor"), vendorId) && pciId(fs_.text(dev + "device"), deviceId);
        const std::optional<std::string> driverLink = fs_.linkTarget(dev + "driver");

        GpuFacts gpu;
        gpu.driver = driverLink ? SysText::clean(lastComponent(*driverLink)) : "";
        if (pci) {
            const PciIds::Names names = names_.find(fs_, vendorId, deviceId);
            gpu.name = names.device.empty() ? unnamedGpu(vendorId, deviceId, names.vendor)
                                            : productName(names.device);
            gpu.vendor =
                names.vendor.empty() ? PciIds::knownVendor(vendorId) : vendorName(names.vendor);
        } else {
            gpu.name = gpu.driver.empty() ? Utf8::replaceInvalid(card) : gpu.driver;
        }

        // A graphics processor asleep in runtime power management is left asleep: its
        // connectors are not looked at (a display would keep it awake anyway).
        const bool suspended = fs_.text(dev + "power/runtime_status") == "suspended";
        std::vector<Connector> connectors;
        if (!suspended) {
            for (const std::string& e : entries) {
                std::optional<Connector> c = connectorOf(e, card);
                if (!c || c->type == "Writeback") continue;
                const std::string base = "sys/class/drm/" + e + "/";
                if (fs_.text(base + "status") != "connected") continue;
                // Connected but switched off (a closed laptop lid) is not in use.
                if (fs_.text(base + "enabled") == "disabled") continue;
                connectors.push_back(std::move(*c));
            }
        }
        std::sort(connectors.begin(), connectors.end(), [](const Connector& a, const Connector& b) {
            return std::make_tuple(!isBuiltIn(a.type), a.type, a.index) <
                   std::make_tuple(!isBuiltIn(b.type), b.type, b.index);
        });

        for (const Connector& c : connectors) {
            const std::string base = "sys/class/drm/" + card + "-" + c.name + "/";
            std::optional<Edid> edid;
            if (std::optional<std::string> raw = fs_.read(base + "edid", kMaxEdidBytes)) {
                edid = Edid::parse(
                    std::span(reinterpret_cast<const std::uint8_t*>(raw->data()), raw->size()));
            }
            DisplayFacts d;
            d.builtIn = isBuiltIn(c.type);
            d.connection = connectionName(c.type);
            std::string name = edid ? edid->monitorName : "";
            if (name.empty()) name = d.builtIn ? "Built-in Display" : Utf8::replaceInvalid(c.name);
            d.name = std::move(name);

            int width = 0;
            int height = 0;
            double hz = 0;
            if (edid && edid->width > 0) {
                width = edid->width;
                height = edid->height;
                hz = edid->refreshHz;
            } else if (std::optional<std::string> modes = fs_.read(base + "modes", 64 * 1024)) {
                if (auto size = modeSize(*modes)) std::tie(width, height) = *size;
            }
            if (width > 0) {
                d.resolution = std::to_string(width) + " x " + std::to_string(height);
                if (hz > 0) d.refreshRate = Fmt::format("%.2f", hz) + "Hz";
                d.uiResolution =
                    d.refreshRate.empty() ? d.resolution : d.resolution + " @ " + d.refreshRate;
            }
            gpu.displays.push_back(std::move(d));
        }
        gpus.push_back(std::move(gpu));
    }

    // The main display: the built-in panel, else the first display found.
    DisplayFacts* main = nullptr;
    for (GpuFacts& gpu : gpus) {
        for (DisplayFacts& d : gpu.displays) {
            if (!main || (d.builtIn && !main->builtIn)) main = &d;
        }
    }
    if (main) main->main = true;
    return gpus;
}

}  // namespace orvane
