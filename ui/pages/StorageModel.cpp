#include "ui/pages/StorageModel.h"

#include <cmath>

#include "service/Fmt.h"

namespace orvane::StorageModel {

std::string subtitle(std::size_t volumeCount) {
    return PageText::counted(static_cast<std::int64_t>(volumeCount), "volume");
}

PageText::Badge startupBadge() {
    return {"Startup", "accent"};
}

VolumeCardText card(const VolumeInfo& v) {
    const double fraction = v.usedFraction();
    VolumeCardText c;
    c.icon = v.isInternal ? "internaldrive.fill" : "externaldrive.fill";
    c.color = PageText::usageColorName(fraction);
    c.name = v.name;
    c.startup = v.isBoot;
    c.summary = v.fileSystem + " \u00b7 " + (v.isInternal ? "Internal" : "External") + " \u00b7 " +
                v.mountPoint;
    c.usedText = Fmt::format("%.0f%% used", fraction * 100);
    c.fraction = fraction;
    c.legend = {{
        {c.color, 1, "Used", Fmt::bytes(v.usedBytes())},
        {"primary", 0.15, "Free", Fmt::bytes(v.freeBytes)},
        {"primary", 0, "Total", Fmt::bytes(v.totalBytes)},
    }};
    return c;
}

double fillWidth(double width, double fraction) {
    const double w = width * fraction;
    return std::isnan(w) || w <= 12 ? 12 : w;
}

}  // namespace orvane::StorageModel
