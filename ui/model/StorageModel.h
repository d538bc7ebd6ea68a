// What the Storage page shows, as plain values computed from the volume list.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "service/Records.h"
#include "ui/model/PageText.h"

namespace orvane {

// One entry of the legend under a volume's bar. An opacity of 0 means "no dot".
struct LegendEntry {
    Tint color = Tint::primary;
    double opacity = 1;
    std::string label;
    std::string value;
    bool hasDot() const { return opacity > 0; }
    bool operator==(const LegendEntry&) const = default;
};

// Everything one volume card shows. `color` is the usage colour of the volume's fill level.
struct VolumeCardText {
    Symbol icon = Symbol::none;
    Tint color = Tint::primary;
    std::string name;
    bool startup = false;
    std::string summary;
    std::string usedText;
    double fraction = 0;
    bool showFill = true;  // false while the total is unknown: the bar stays empty
    std::array<LegendEntry, 3> legend;
    bool operator==(const VolumeCardText&) const = default;
};

namespace StorageModel {

// "0 volumes", "1 volume", "2 volumes".
std::string subtitle(std::size_t volumeCount);

PageText::Badge startupBadge();
VolumeCardText card(const VolumeInfo& v);
// Width of the fill capsule in a bar `width` wide: width × fraction, but at least 12.
double fillWidth(double width, double fraction);

}  // namespace StorageModel
}  // namespace orvane
