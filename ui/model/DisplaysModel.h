// What the Graphics & Displays page shows, as plain values computed from the two lists.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "service/Records.h"
#include "ui/model/PageText.h"

namespace orvane {

// One graphics-processor card: header, then optional Vendor and Metal (or Driver) rows.
struct GpuCardText {
    std::string name;
    std::string coresText;  // "10-core GPU"; empty hides it
    std::vector<PageText::Line> lines;
    bool operator==(const GpuCardText&) const = default;
};

// One display card: header with an optional "Main" badge, then its rows.
struct DisplayCardText {
    Symbol icon = Symbol::none;
    std::string name;
    bool mainBadge = false;
    std::vector<PageText::Line> lines;
    bool operator==(const DisplayCardText&) const = default;
};

namespace DisplaysModel {

// "1 GPU · 2 displays": the word GPU never takes a plural.
std::string subtitle(std::size_t gpuCount, std::size_t displayCount);

// System words as people read them; a value not known here passes unchanged.
std::string vendorName(const std::string& raw);      // "amd" -> "AMD"
std::string connectionName(const std::string& raw);  // "Displayport" -> "DisplayPort"
std::string apiName(const std::string& raw);         // "metal3" -> "Metal 3"
std::string displayName(const std::string& raw);     // "Built-in Display", translated
std::string refreshRate(const std::string& raw);     // "120.00Hz" -> "120.00 Hz"

PageText::Badge mainBadge();
// With `load`, a "GPU Load" row ends the card where the load can be read.
GpuCardText gpuCard(const GraphicsInfo& g, const GpuLoadFacts* load = nullptr);
DisplayCardText displayCard(const DisplayInfo& d);

}  // namespace DisplaysModel
}  // namespace orvane
