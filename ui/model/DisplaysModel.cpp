#include "ui/model/DisplaysModel.h"

#include "ui/model/SensorsModel.h"

namespace orvane::DisplaysModel {

using PageText::translate;

using PageText::Line;
using PageText::Row;

std::string subtitle(std::size_t gpuCount, std::size_t displayCount) {
    // Counts as int, the plural's type (and written apart: lupdate does not read casts here).
    const int gpus = static_cast<int>(gpuCount), displays = static_cast<int>(displayCount);
    return translate("DisplaysModel", "%n GPU(s)", nullptr, gpus) + " \u00b7 " +
           translate("DisplaysModel", "%n display(s)", nullptr, displays);
}

bool showPlaceholder(const std::vector<GraphicsInfo>& graphics,
                     const std::vector<DisplayInfo>& displays) {
    return graphics.empty() && displays.empty();
}

PageText::Badge mainBadge() {
    return {translate("DisplaysModel", "Main"), Tint::blue};
}

GpuCardText gpuCard(const GraphicsInfo& g, const GpuLoadFacts* load) {
    GpuCardText c;
    c.name = g.name;
    if (!g.cores.empty())
        c.coresText = PageText::arg(translate("DisplaysModel", "%1-core GPU"), {g.cores});
    // The Vendor row always brings its divider, even when no Metal row follows it.
    if (!g.vendor.empty()) {
        c.lines.push_back(
            Line{false, Row{translate("DisplaysModel", "Vendor"), g.vendor, Symbol::building}});
        c.lines.push_back(Line{true, {}});
    }
    // Where the platform has no Metal, the kernel driver in use takes its place.
    if (!g.metalSupport.empty())
        c.lines.push_back(Line{false, Row{"Metal", g.metalSupport, Symbol::stack}});
    else if (!g.driver.empty())
        c.lines.push_back(
            Line{false, Row{translate("DisplaysModel", "Driver"), g.driver, Symbol::stack}});
    if (const auto row = SensorsModel::loadRow(load)) {
        if (!c.lines.empty() && !c.lines.back().divider) c.lines.push_back(Line{true, {}});
        c.lines.push_back(Line{false, *row});
    }
    return c;
}

DisplayCardText displayCard(const DisplayInfo& d) {
    DisplayCardText c;
    c.icon = d.isBuiltIn ? Symbol::laptop : Symbol::display;
    c.name = d.name;
    c.mainBadge = d.isMain;
    c.lines.push_back(
        Line{false, Row{translate("DisplaysModel", "Resolution"),
                        d.resolution.empty() ? "-" : d.resolution, Symbol::rectangleDashed}});
    if (!d.refreshRate.empty()) {
        c.lines.push_back(Line{true, {}});
        c.lines.push_back(Line{
            false, Row{translate("DisplaysModel", "Refresh Rate"), d.refreshRate, Symbol::timer}});
    }
    if (!d.connectionType.empty()) {
        c.lines.push_back(Line{true, {}});
        c.lines.push_back(Line{false, Row{translate("DisplaysModel", "Type"), d.connectionType,
                                          Symbol::cableConnector}});
    }
    return c;
}

}  // namespace orvane::DisplaysModel
