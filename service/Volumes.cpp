// Storage volumes from the storage report: volumes without a size are dropped, the boot
// volume comes first, then the larger before the smaller.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "service/Collectors.h"
#include "service/Values.h"

namespace orvane {

namespace {

bool equalsIgnoringCase(const std::string& text, std::string_view word) {
    return std::equal(
        text.begin(), text.end(), word.begin(), word.end(),
        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

// The drive description decides internal or external; without one the volume stays
// internal. Reports name it "spstorage_physical_drive" or "physical_drive".
void readDrive(const Value& item, VolumeInfo& volume) {
    const Value* drive = item.getObject("spstorage_physical_drive");
    if (!drive) drive = item.getObject("physical_drive");
    if (!drive) return;
    const std::string* internal = drive->getString("is_internal_disk");
    volume.isInternal = internal && equalsIgnoringCase(*internal, "yes");
}

std::string stringOr(const Value& item, std::string_view key, const char* fallback) {
    const std::string* s = item.getString(key);
    return s ? *s : std::string(fallback);
}

}  // namespace

std::vector<VolumeInfo> collectVolumes(const Platform& platform) {
    std::vector<VolumeInfo> volumes;
    const std::optional<Value> root =
        decodeJsonObject(platform.runData(kSystemProfiler, {"SPStorageDataType", "-json"}));
    const Value::Array* items = arrayOfObjects(root, "SPStorageDataType");
    if (!items) return volumes;

    for (const Value& item : *items) {
        VolumeInfo volume;
        volume.name = stringOr(item, "_name", "Volume");
        volume.mountPoint = stringOr(item, "mount_point", "");
        volume.fileSystem = stringOr(item, "file_system", "");
        volume.totalBytes = int64Of(item.get("size_in_bytes"));
        volume.freeBytes = int64Of(item.get("free_space_in_bytes"));
        volume.isBoot = volume.mountPoint == "/";
        readDrive(item, volume);
        if (volume.totalBytes >= 1) volumes.push_back(std::move(volume));
    }

    std::stable_sort(volumes.begin(), volumes.end(), [](const VolumeInfo& a, const VolumeInfo& b) {
        if (a.isBoot != b.isBoot) return a.isBoot;
        return a.totalBytes > b.totalBytes;
    });
    return volumes;
}

}  // namespace orvane
