// Lines of /proc/<pid>/mountinfo:
//   36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw,errors=continue
// id, parent, major:minor, root of the mount within its filesystem, mount point, options,
// optional fields up to "-", then filesystem type, source and superblock options.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct MountInfo {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::string root;  // "/" when the whole filesystem is mounted
    std::string mountPoint;
    std::string fsType;
    std::string source;

    // Every well-formed line, in order; malformed lines are skipped. Paths are unescaped.
    static std::vector<MountInfo> parse(std::string_view text);
    // Undoes the kernel's octal escapes ("\040" is a space, "\134" a backslash).
    static std::string unescape(std::string_view field);
};

}  // namespace orvane
