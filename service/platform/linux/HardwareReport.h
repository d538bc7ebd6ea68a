// What the machine is: DMI identity, processor, installed memory and memory type, as the
// kernel values and the hardware and memory reports carry them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/platform/linux/SysFs.h"

namespace orvane {

class HardwareReport {
  public:
    explicit HardwareReport(const SysFs& fs) : fs_(fs) {}

    // "hw.model": DMI vendor and product name, else the device-tree model.
    std::string model() const;
    // "machdep.cpu.brand_string": the processor's model name, else the device-tree model.
    std::string cpuBrand() const;
    // Logical processors that are online ("cpuN" lines of /proc/stat).
    std::int64_t onlineProcessors() const;
    // Installed memory in bytes: the online memory blocks, at least MemTotal. Reads one file
    // per memory block: callers keep the answer.
    std::int64_t installedMemory() const;

    // The hardware report document ({"SPHardwareDataType": [ {…} ]}).
    std::vector<std::uint8_t> hardwareJson(std::int64_t installedMemory) const;
    // The memory report document, or nothing when the memory type is not known (the
    // firmware's memory tables are readable by root only).
    std::vector<std::uint8_t> memoryJson() const;

    // Installed memory as text: "16 GB" (binary gigabytes, rounded), "512 MB" below 1 GB.
    static std::string memoryText(std::int64_t bytes);
    // SMBIOS memory device type code -> name ("DDR4"); empty when not a memory type.
    static std::string memoryTypeName(unsigned code);

  private:
    std::string dmi(const char* field) const;  // empty when absent or a placeholder
    std::string deviceTreeModel() const;
    std::string cpuInfoField(std::string_view key) const;
    bool runsInVirtualMachine() const;
    std::string processorText() const;

    const SysFs& fs_;
};

}  // namespace orvane
