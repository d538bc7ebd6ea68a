// Storage volumes from the platform's facts: volumes without a size are dropped, the boot
// volume comes first, then the larger before the smaller.
#include <algorithm>
#include <string>
#include <vector>

#include "service/Collectors.h"

namespace orvane {

std::vector<VolumeInfo> collectVolumes(const std::vector<VolumeFacts>& facts) {
    std::vector<VolumeInfo> volumes;
    for (const VolumeFacts& f : facts) {
        const std::int64_t total = f.totalBytes.value_or(0);
        if (total < 1) continue;
        volumes.emplace_back(f.name.value_or("Volume"), f.mountPoint, f.fileSystem, total,
                             f.freeBytes.value_or(0), f.internal, f.mountPoint == "/");
    }
    std::stable_sort(volumes.begin(), volumes.end(), [](const VolumeInfo& a, const VolumeInfo& b) {
        if (a.isBoot != b.isBoot) return a.isBoot;
        return a.totalBytes > b.totalBytes;
    });
    return volumes;
}

}  // namespace orvane
