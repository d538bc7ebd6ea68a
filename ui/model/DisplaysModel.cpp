#include "ui/model/DisplaysModel.h"

#include <algorithm>
#include <cctype>

#include "service/Fmt.h"
#include "ui/model/SensorsModel.h"

namespace orvane::DisplaysModel {

using PageText::translate;

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::string vendorName(const std::string& raw) {
    // Vendors as they write themselves; anything else as the system said it.
    static const std::pair<const char*, const char*> kVendors[] = {
        {"amd", "AMD"},     {"ati", "ATI"},       {"nvidia", "NVIDIA"},
        {"intel", "Intel"}, {"apple", "Apple"},   {"qualcomm", "Qualcomm"},
        {"arm", "Arm"},     {"vmware", "VMware"}, {"parallels", "Parallels"}};
    const std::string key = lower(raw);
    for (const auto& [seen, spelt] : kVendors)
        if (key == seen) return spelt;
    return raw;
}

std::string connectionName(const std::string& raw) {
    const std::string key = lower(raw);
    if (key == "internal") return translate("DisplaysModel", "Internal");
    static const std::pair<const char*, const char*> kTypes[] = {
        {"displayport", "DisplayPort"},
        {"dp", "DisplayPort"},
        {"thunderbolt dp", "Thunderbolt"},
        {"thunderbolt", "Thunderbolt"},
        {"thunderbolt displayport", "Thunderbolt"},
        {"hdmi", "HDMI"},
        {"dvi", "DVI"},
        {"vga", "VGA"},
        {"usb-c", "USB-C"},
        {"usb c", "USB-C"},
        {"airplay", "AirPlay"},
        {"edp", "eDP"},
        {"lvds", "LVDS"}};
    for (const auto& [seen, spelt] : kTypes)
        if (key == seen) return spelt;
    return raw;
}

std::string apiName(const std::string& raw) {
    // "metal3", "Metal3" -> "Metal 3".
    const std::string key = lower(raw);
    if (key.size() > 5 && key.rfind("metal", 0) == 0 &&
        std::all_of(key.begin() + 5, key.end(), [](unsigned char c) { return std::isdigit(c); }))
        return "Metal " + raw.substr(5);
    return raw;
}

std::string displayName(const std::string& raw) {
    if (raw == "Built-in Display") return translate("DisplaysModel", "Built-in Display");
    if (raw == "Display") return translate("DisplaysModel", "Display");
    return raw;
}

std::string refreshRate(const std::string& raw) {
    // "120.00Hz" -> "120.00 Hz", with the language's decimal separator.
    std::string text = raw;
    if (text.size() > 2 && text.ends_with("Hz") &&
        std::isdigit(static_cast<unsigned char>(text[text.size() - 3])))
        text.insert(text.size() - 2, " ");
    return Fmt::withDecimalPoint(text);
}

using PageText::Line;
using PageText::Row;

std::string subtitle(std::size_t gpuCount, std::size_t displayCount) {
    // Counts as int, the plural's type (and written apart: lupdate does not read casts here).
    const int gpus = static_cast<int>(gpuCount), displays = static_cast<int>(displayCount);
    return translate("DisplaysModel", "%n GPU(s)", nullptr, gpus) + " \u00b7 " +
           translate("DisplaysModel", "%n display(s)", nullptr, displays);
}

PageText::Badge mainBadge() {
    return {translate("DisplaysModel", "Main"), Tint::blue};
}

GpuCardText gpuCard(const GraphicsInfo& g, const GpuLoadFacts* load) {
    GpuCardText c;
    c.name = g.name;
    if (!g.cores.empty())
        c.coresText = PageText::arg(translate("DisplaysModel", "%1-core GPU"), {g.cores});
    // A divider only between rows: none under a Vendor row alone.
    if (!g.vendor.empty()) {
        c.lines.push_back(Line{false, Row{translate("DisplaysModel", "Vendor"),
                                          vendorName(g.vendor), Symbol::building}});
        c.lines.push_back(Line{true, {}});
    }
    // Where the platform has no Metal, the kernel driver in use takes its place.
    if (!g.metalSupport.empty())
        c.lines.push_back(Line{false, Row{"Metal", apiName(g.metalSupport), Symbol::stack}});
    else if (!g.driver.empty())
        c.lines.push_back(
            Line{false, Row{translate("DisplaysModel", "Driver"), g.driver, Symbol::stack}});
    if (const auto row = SensorsModel::loadRow(load)) {
        if (!c.lines.empty() && !c.lines.back().divider) c.lines.push_back(Line{true, {}});
        c.lines.push_back(Line{false, *row});
    }
    if (!c.lines.empty() && c.lines.back().divider) c.lines.pop_back();
    return c;
}

DisplayCardText displayCard(const DisplayInfo& d) {
    DisplayCardText c;
    c.icon = d.isBuiltIn ? Symbol::laptop : Symbol::display;
    c.name = displayName(d.name);
    c.mainBadge = d.isMain;
    c.lines.push_back(
        Line{false, Row{translate("DisplaysModel", "Resolution"),
                        d.resolution.empty() ? "-" : d.resolution, Symbol::rectangleDashed}});
    if (!d.refreshRate.empty()) {
        c.lines.push_back(Line{true, {}});
        c.lines.push_back(Line{false, Row{translate("DisplaysModel", "Refresh Rate"),
                                          refreshRate(d.refreshRate), Symbol::timer}});
    }
    if (!d.connectionType.empty()) {
        c.lines.push_back(Line{true, {}});
        c.lines.push_back(
            Line{false, Row{translate("DisplaysModel", "Type"), connectionName(d.connectionType),
                            Symbol::cableConnector}});
    }
    return c;
}

}  // namespace orvane::DisplaysModel
