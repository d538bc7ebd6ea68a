// The service's facts on Linux, read from the machine's own files: /proc, /sys, /dev and /etc
// under a root directory ("/" for the running machine, a fake tree in tests).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "service/platform/Platform.h"
#include "service/platform/linux/DisplayReport.h"
#include "service/platform/linux/FsSpaceProbe.h"
#include "service/platform/linux/ProcFile.h"
#include "service/platform/linux/Sensors.h"
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

    HardwareFacts hardware() const override;
    PowerFacts power() const override;
    std::vector<VolumeFacts> volumes() const override;
    std::vector<GpuFacts> graphics() const override;
    // Counted once, on the first call: it reads one file per memory block.
    std::int64_t installedMemory() const override;
    LiveInputs sampleLive() const override;
    SensorInputs sampleSensors() const override;

    const SysFs& sysFs() const { return fs_; }

  private:
    // CLOCK_MONOTONIC, which stops during suspend; under a fake root the first number of
    // proc/uptime, so tests are repeatable.
    double uptime() const;

    SysFs fs_;
    mutable ProcFile stat_;
    mutable ProcFile meminfo_;
    std::uint64_t pageSize_ = 0;
    FsSpaceProbe probe_;
    PciNameCache pciNames_;
    mutable std::once_flag memoryOnce_;
    mutable std::int64_t memory_ = 0;
    std::unique_ptr<LinuxSensors> sensors_;
};

}  // namespace orvane
