// Mounted volumes from the mount table: filesystems backed by a block device, one entry per
// device (the shortest mount point), with size, free space, label and whether the disk is
// internal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/platform/Facts.h"
#include "service/platform/linux/FsSpaceProbe.h"
#include "service/platform/linux/MountInfo.h"
#include "service/platform/linux/SysFs.h"

namespace orvane {

class StorageReport {
  public:
    StorageReport(const SysFs& fs, const FsSpaceProbe& probe) : fs_(fs), probe_(probe) {}

    // The volumes whose size could be asked, in mount-table order.
    std::vector<VolumeFacts> facts() const;

    // The mounts worth showing, in mount-table order: block-backed, not pseudo filesystems,
    // one per device.
    static std::vector<MountInfo> volumes(const std::vector<MountInfo>& mounts);
    // "My\x20Disk" -> "My Disk" (the escapes of /dev/disk/by-label names).
    static std::string unescapeLabel(std::string_view name);

    // The whole disk under a block device name ("sda1" -> "sda", LVM or encryption down to
    // the disk beneath); the name itself when sysfs does not say.
    std::string diskOf(const std::string& device) const;
    // Whether the disk sits inside the computer: not removable, not on USB, FireWire or a
    // memory card (built-in eMMC counts as internal), not a disk image.
    bool isInternalDisk(const std::string& disk) const;

  private:
    // Kernel name of the block device behind a mount source ("/dev/mapper/root" -> "dm-0").
    std::string deviceName(const std::string& source) const;

    const SysFs& fs_;
    const FsSpaceProbe& probe_;
};

}  // namespace orvane
