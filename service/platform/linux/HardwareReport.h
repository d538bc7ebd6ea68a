// What the machine is: DMI identity, processor, installed memory and memory type, chassis,
// operating system and host name, read from /proc, /sys and /etc.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "service/platform/Facts.h"
#include "service/platform/linux/SysFs.h"

namespace orvane {

class HardwareReport {
  public:
    explicit HardwareReport(const SysFs& fs) : fs_(fs) {}

    // Everything but the uptime, with the installed memory the caller has counted.
    HardwareFacts facts(std::int64_t installedMemory) const;

    // The processor's model name, else the device-tree model.
    std::string cpuBrand() const;
    // Logical processors that are online ("cpuN" lines of /proc/stat).
    std::int64_t onlineProcessors() const;
    // The online processors: sys/devices/system/cpu/online, else the "cpuN" lines of
    // /proc/stat.
    std::vector<std::uint32_t> onlineCpus() const;
    // The core of each of these processors, as a key the threads of one core share.
    using CoreKeys = std::map<std::uint32_t, std::pair<std::int64_t, std::int64_t>>;
    CoreKeys coresOf(const std::vector<std::uint32_t>& cpus) const;
    // Physical cores among these processors: the threads of one core count once.
    std::int64_t physicalCores(const std::vector<std::uint32_t>& cpus, const CoreKeys& keys) const;
    // Performance and efficiency cores of a hybrid processor among the online ones, as
    // physical cores. Nothing when the processor is not hybrid.
    std::optional<std::pair<std::int64_t, std::int64_t>> hybridCores(
        const std::vector<std::uint32_t>& online, const CoreKeys& keys) const;
    // Installed memory in bytes: the online memory blocks, at least MemTotal; without them
    // MemTotal rounded up to a size memory is sold in. Reads one file per memory block:
    // callers keep the answer.
    std::int64_t installedMemory() const;
    // The smallest size memory is sold in that holds `bytes`: a power of two below 2 GiB,
    // then 2, 3, 4, 6, 8, 12, … 192, 256 GiB, then multiples of 64 GiB.
    static std::int64_t soldMemorySize(std::int64_t bytes);
    // From the firmware's chassis type: laptop, notebook, convertible and the like.
    std::optional<bool> isPortable() const;
    // The kernel release ("6.1.0-18-amd64"): uname, or proc/sys/kernel/osrelease under a
    // fake root.
    std::string kernelRelease() const;
    std::string hostName() const;

    // Installed memory as text: "16 GB" (binary gigabytes, rounded), "512 MB" below 1 GB.
    static std::string memoryText(std::int64_t bytes);
    // SMBIOS memory device type code -> name ("DDR4"); empty when not a memory type.
    static std::string memoryTypeName(unsigned code);

  private:
    std::string dmi(const char* field) const;  // empty when absent or a placeholder
    std::string deviceTreeModel() const;
    std::string cpuInfoField(std::string_view key) const;
    bool runsInVirtualMachine() const;
    std::string memoryType() const;
    void readOperatingSystem(HardwareFacts& hw) const;

    const SysFs& fs_;
};

}  // namespace orvane
