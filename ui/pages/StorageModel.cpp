#include "ui/pages/StorageModel.h"

#include <cmath>

#include "service/Fmt.h"

namespace orvane::StorageModel {

std::string subtitle(std::size_t volumeCount) {
    return PageText::counted(static_cast<std::int64_t>(volumeCount), "volume");
}

PageText::Badge startupBadge() {
    return {"Startup", Tint::accent};
}

VolumeCardText card(const VolumeInfo& v) {
    // Without a total there is no fill level: no percentage, an empty bar, no usage colour.
    const bool known = v.totalBytes >= 1;
    const double fraction = known ? v.usedFraction() : 0.0;
    VolumeCardText c;
    c.icon = v.isInternal ? Symbol::internalDriveFill : Symbol::externalDriveFill;
    c.color = known ? usageTint(fraction) : Tint::secondary;
    c.name = v.name;
    c.startup = v.isBoot;
    c.summary = PageText::joined(
        {v.fileSystem, v.isInternal ? "Internal" : "External", v.mountPoint}, " \u00b7 ");
    c.usedText = known ? Fmt::format("%.0f%% used", fraction * 100) : "";
    c.fraction = fraction;
    c.showFill = known;
    c.legend = {{
        {c.color, 1, "Used", known ? Fmt::bytes(v.usedBytes()) : "-"},
        {Tint::primary, 0.15, "Free", Fmt::bytes(v.freeBytes)},
        {Tint::primary, 0, "Total", known ? Fmt::bytes(v.totalBytes) : "-"},
    }};
    return c;
}

double fillWidth(double width, double fraction) {
    const double w = width * fraction;
    return std::isnan(w) || w <= 12 ? 12 : w;
}

}  // namespace orvane::StorageModel
