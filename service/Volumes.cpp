// Storage volumes from the platform's facts: volumes without a size and the system's own
// mount points are dropped, the boot volume comes first, then the larger before the smaller.
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
        // The system's own mount points on a Mac (its Data volume, VM, Preboot) are parts of
        // the startup disk, not disks of their own: not listed, as the Finder does not list them.
        if (f.mountPoint.starts_with("/System/Volumes/")) continue;
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
