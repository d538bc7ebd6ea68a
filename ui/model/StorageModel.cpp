#include "ui/model/StorageModel.h"

#include <cmath>

#include "service/Fmt.h"

namespace orvane::StorageModel {

using PageText::translate;

std::string subtitle(std::size_t volumeCount) {
    const int n = static_cast<int>(volumeCount);
    return translate("StorageModel", "%n volume(s)", nullptr, n);
}

PageText::Badge startupBadge() {
    return {translate("StorageModel", "Startup"), Tint::accent};
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
    c.summary = PageText::joined({v.fileSystem,
                                  v.isInternal ? translate("StorageModel", "Internal")
                                               : translate("StorageModel", "External"),
                                  v.mountPoint},
                                 " \u00b7 ");
    c.usedText = known ? PageText::arg(translate("StorageModel", "%1 used"),
                                       {PageText::percent(fraction * 100)})
                       : "";
    c.fraction = fraction;
    c.showFill = known;
    c.legend = {{
        {c.color, 1, translate("StorageModel", "Used"), known ? Fmt::bytes(v.usedBytes()) : "-"},
        {Tint::primary, 0.15, translate("StorageModel", "Free"), Fmt::bytes(v.freeBytes)},
        {Tint::primary, 0, translate("StorageModel", "Total"),
         known ? Fmt::bytes(v.totalBytes) : "-"},
    }};
    return c;
}

double fillWidth(double width, double fraction) {
    const double w = width * fraction;
    return std::isnan(w) || w <= 12 ? 12 : w;
}

}  // namespace orvane::StorageModel
