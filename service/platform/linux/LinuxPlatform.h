// The service's inputs on Linux, answered from the machine's own files: /proc, /sys, /dev
// and /etc read under a root directory ("/" for the running machine, a fake tree in tests).
// The tool command lines get in-process documents of the shape the collectors read.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "service/platform/Platform.h"
#include "service/platform/linux/DisplayReport.h"
#include "service/platform/linux/FsSpaceProbe.h"
#include "service/platform/linux/ProcFile.h"
#include "service/platform/linux/SysFs.h"

namespace orvane {

struct LinuxPlatformOptions {
    // Size of the filesystem mounted at a mount point (as the mount table names it).
    // Default: statvfs of that path under the root.
    FsSpaceFunction fsSpace;
    // Longest wait for the size queries of one storage report.
    std::chrono::milliseconds fsSpaceTimeout{1000};
};

class LinuxPlatform final : public Platform {
  public:
    explicit LinuxPlatform(std::filesystem::path root = "/", LinuxPlatformOptions options = {});

    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override;
    std::string sysctlString(const std::string& name) const override;
    std::int64_t sysctlInt(const std::string& name) const override;

    // From VERSION_ID (else the kernel release): "22.04" -> 22.4.0.
    OsVersion osVersion() const override;
    // NAME, else PRETTY_NAME, else "Linux".
    std::optional<std::string> osName() const override;
    // VERSION_ID, else what PRETTY_NAME adds to NAME ("trixie/sid"), else VERSION; nothing
    // when none says (the version numbers then come from the kernel release).
    std::optional<std::string> osVersionText() const override;
    // CLOCK_MONOTONIC, which stops during suspend; under a fake root the first number of
    // proc/uptime, so tests are repeatable.
    double uptime() const override;
    std::string hostName() const override;
    // From the firmware's chassis type: laptop, notebook, convertible and the like.
    std::optional<bool> isPortable() const override;
    LiveInputs sampleLive() const override;

    // The kernel release ("6.1.0-18-amd64"): uname, or proc/sys/kernel/osrelease under a
    // fake root.
    std::string kernelRelease() const;

    const SysFs& sysFs() const { return fs_; }

  private:
    std::int64_t installedMemory() const;

    SysFs fs_;
    mutable ProcFile stat_;
    mutable ProcFile meminfo_;
    std::uint64_t pageSize_ = 0;
    FsSpaceProbe probe_;
    PciNameCache pciNames_;
    mutable std::once_flag memoryOnce_;
    mutable std::int64_t memory_ = 0;
};

}  // namespace orvane
