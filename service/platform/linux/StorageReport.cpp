#include "service/platform/linux/StorageReport.h"

#include <algorithm>
#include <array>
#include <climits>
#include <filesystem>
#include <map>
#include <optional>
#include <unordered_map>

#include "service/Utf8.h"
#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

// More volumes than this are not shown (each costs a size query).
constexpr std::size_t kMaxVolumes = 256;

// Filesystems that are not storage even when their source looks like a device.
bool isPseudo(std::string_view type) {
    static constexpr std::array<std::string_view, 25> kPseudo = {
        "proc",     "sysfs",    "devpts",     "devtmpfs", "tmpfs",   "ramfs",      "cgroup",
        "cgroup2",  "overlay",  "squashfs",   "autofs",   "fusectl", "securityfs", "debugfs",
        "tracefs",  "configfs", "pstore",     "bpf",      "mqueue",  "hugetlbfs",  "binfmt_misc",
        "efivarfs", "nsfs",     "rpc_pipefs", "selinuxfs"};
    for (std::string_view p : kPseudo)
        if (type == p) return true;
    return false;
}

// The kernel's own views, which are never where the system starts from.
bool isKernelView(std::string_view type) {
    for (std::string_view t : {"proc", "sysfs", "devpts", "devtmpfs", "cgroup", "cgroup2", "autofs",
                               "debugfs", "tracefs", "securityfs"})
        if (type == t) return true;
    return false;
}

// A container runtime's, snap's or flatpak's own storage: the layers and volumes of
// containers, not disks of the machine.
bool isRuntimeInternal(const MountInfo& m) {
    for (std::string_view dir :
         {"/var/lib/docker/", "/var/lib/containers/", "/var/lib/containerd/", "/run/containerd/",
          "/run/docker/", "/var/lib/kubelet/pods/", "/var/lib/snapd/", "/run/snapd/",
          "/var/lib/flatpak/", "/run/flatpak/"}) {
        if (m.mountPoint.rfind(dir, 0) == 0) return true;
    }
    return m.source.rfind("/dev/mapper/docker-", 0) == 0;
}

bool isOverlay(std::string_view type) {
    return type == "overlay" || type == "aufs" || type == "fuse-overlayfs" ||
           type == "fuse.fuse-overlayfs";
}

// Whether `path` lies below the directory `dir` ("/a/b" below "/a", not "/ab").
bool isBelow(std::string_view path, std::string_view dir) {
    return path.size() > dir.size() && path.substr(0, dir.size()) == dir &&
           (dir.back() == '/' || path[dir.size()] == '/');
}

std::string lastComponent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string StorageReport::unescapeLabel(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const int hi = hexValue(name[i + 2]);
            const int lo = hexValue(name[i + 3]);
            if (hi >= 0 && lo >= 0 && (hi || lo)) {
                out += static_cast<char>(hi * 16 + lo);
                i += 3;
                continue;
            }
        }
        out += name[i];
    }
    return out;
}

std::vector<MountInfo> StorageReport::volumes(const std::vector<MountInfo>& mounts) {
    std::vector<MountInfo> kept;
    // Where each device went in `kept`, by source path and by device number.
    std::unordered_map<std::string, std::size_t> bySource;
    std::unordered_map<std::uint64_t, std::size_t> byNumber;
    const MountInfo* root = nullptr;  // the topmost mount at "/"
    // Mount points of overlays other than the root: what is mounted inside them belongs to a
    // container.
    std::vector<std::string_view> overlays;
    for (const MountInfo& m : mounts)
        if (isOverlay(m.fsType) && m.mountPoint != "/") overlays.push_back(m.mountPoint);
    for (const MountInfo& m : mounts) {
        if (m.mountPoint == "/") root = &m;
        if (m.source.rfind("/dev/", 0) != 0 || isPseudo(m.fsType)) continue;
        if (m.source.rfind("/dev/loop", 0) == 0 && m.mountPoint.rfind("/snap/", 0) == 0) continue;
        if (isRuntimeInternal(m) || std::any_of(overlays.begin(), overlays.end(), [&](auto dir) {
                return isBelow(m.mountPoint, dir);
            }))
            continue;

        // The same device mounted again (bind mounts, btrfs subvolumes, a second name for it)
        // shows once, under its shortest mount point. Major 0 numbers are anonymous.
        const std::uint64_t number = (std::uint64_t{m.major} << 32) | m.minor;
        std::optional<std::size_t> at;
        if (auto it = bySource.find(m.source); it != bySource.end()) at = it->second;
        if (!at && m.major != 0) {
            if (auto it = byNumber.find(number); it != byNumber.end()) at = it->second;
        }
        if (!at) {
            if (kept.size() >= kMaxVolumes) continue;
            at = kept.size();
            kept.push_back(m);
        } else if (m.mountPoint.size() < kept[*at].mountPoint.size()) {
            kept[*at] = m;
        }
        bySource.emplace(m.source, *at);
        if (m.major != 0) byNumber.emplace(number, *at);
    }
    // The startup volume is shown whatever it is: an overlay in a container or a live
    // session, a ZFS dataset, a network root.
    const bool haveRoot = std::any_of(kept.begin(), kept.end(),
                                      [](const MountInfo& m) { return m.mountPoint == "/"; });
    if (!haveRoot && root && !isKernelView(root->fsType)) kept.insert(kept.begin(), *root);
    return kept;
}

std::string StorageReport::deviceName(const std::string& source) const {
    // Resolve links such as /dev/mapper/name or /dev/disk/by-uuid/… to the kernel's name.
    if (std::optional<std::string> resolved = fs_.resolve(source)) return lastComponent(*resolved);
    return lastComponent(source);
}

std::string StorageReport::diskOf(const std::string& device) const {
    std::string name = device;
    for (int depth = 0; depth < 8 && !name.empty(); ++depth) {
        const std::string cls = "sys/class/block/" + name;
        if (fs_.exists(cls + "/partition")) {
            const std::optional<std::string> path = fs_.resolve(cls);
            if (!path) break;
            const std::filesystem::path parent = std::filesystem::path(*path).parent_path();
            name = parent.filename().string();
            continue;
        }
        // Device-mapper and RAID devices sit on top of other block devices.
        const std::vector<std::string> slaves = fs_.list("sys/block/" + name + "/slaves");
        if (slaves.empty()) break;
        name = slaves.front();
    }
    return name;
}

bool StorageReport::isInternalDisk(const std::string& disk) const {
    if (disk.rfind("loop", 0) == 0 || disk.rfind("nbd", 0) == 0) return false;  // images
    const std::string base = "sys/block/" + disk;
    if (fs_.integer(base + "/removable") == 1) return false;
    const std::optional<std::string> path = fs_.resolve(base);
    if (!path) return true;
    for (const char* bus : {"/usb", "/firewire", "/ieee1394", "/memstick"})
        if (path->find(bus) != std::string::npos) return false;
    if (path->find("/mmc") != std::string::npos) {
        // Built-in eMMC storage says "MMC"; a memory card says "SD".
        return fs_.text(base + "/device/type") == "MMC";
    }
    return true;
}

std::vector<VolumeFacts> StorageReport::facts() const {
    std::vector<VolumeFacts> out;
    const std::optional<std::string> table = fs_.read("proc/self/mountinfo", 4 << 20);
    if (!table) return out;
    const std::vector<MountInfo> mounts = volumes(MountInfo::parse(*table));

    // Labels: /dev/disk/by-label/<label> links to the device.
    std::map<std::string, std::string> labels;
    for (const std::string& link : fs_.list("dev/disk/by-label")) {
        if (std::optional<std::string> target = fs_.linkTarget("dev/disk/by-label/" + link))
            labels.emplace(lastComponent(*target), SysText::clean(unescapeLabel(link)));
    }

    std::vector<std::string> paths;
    paths.reserve(mounts.size());
    for (const MountInfo& m : mounts)
        paths.push_back(m.mountPoint);
    const std::vector<std::optional<FsSpace>> spaces = probe_.query(paths);

    const auto clamp = [](std::uint64_t v) {
        return static_cast<std::int64_t>(std::min<std::uint64_t>(v, INT64_MAX));
    };
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        const MountInfo& m = mounts[i];
        if (!spaces[i] || spaces[i]->totalBytes == 0) continue;
        const std::string device = deviceName(m.source);
        std::string name;
        if (auto it = labels.find(device); it != labels.end()) name = it->second;
        if (name.empty()) name = m.mountPoint == "/" ? "/" : lastComponent(m.mountPoint);

        VolumeFacts v;
        v.name = SysText::clean(name);
        // Paths are bytes; what is shown and written out must be text.
        v.mountPoint = Utf8::replaceInvalid(m.mountPoint);
        v.fileSystem = Utf8::replaceInvalid(m.fsType);
        v.totalBytes = clamp(spaces[i]->totalBytes);
        v.freeBytes = clamp(spaces[i]->freeBytes);
        v.internal = isInternalDisk(diskOf(device));
        out.push_back(std::move(v));
    }
    return out;
}

}  // namespace orvane
