// Graphics processors and displays from the platform's facts, each display in the order of
// its graphics processor.
#include <string>
#include <utility>
#include <vector>

#include "service/Collectors.h"

namespace orvane {

std::pair<std::vector<DisplayInfo>, std::vector<GraphicsInfo>> collectDisplays(
    const std::vector<GpuFacts>& facts) {
    std::vector<DisplayInfo> displays;
    std::vector<GraphicsInfo> graphics;
    for (const GpuFacts& gpu : facts) {
        graphics.emplace_back(gpu.name.value_or("GPU"), gpu.vendor, gpu.cores, gpu.apiSupport,
                              gpu.driver);
        for (const DisplayFacts& d : gpu.displays) {
            displays.emplace_back(d.name.value_or("Display"), d.resolution, d.uiResolution, d.main,
                                  d.builtIn, d.connection, d.refreshRate);
        }
    }
    return {std::move(displays), std::move(graphics)};
}

}  // namespace orvane
