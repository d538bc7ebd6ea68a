// What a platform reports about the machine, as typed facts: what the system states, in base
// units, before any of the service's rules (defaults, fallbacks, derived values) are applied.
// An empty optional means the system did not say; the collectors decide what that shows as.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

struct OsVersion {
    std::int64_t major = 0;
    std::int64_t minor = 0;
    std::int64_t patch = 0;
    bool operator==(const OsVersion&) const = default;
};

struct HardwareFacts {
    std::optional<std::string> modelName;        // "MacBook Pro", "ThinkPad X1 Carbon Gen 9"
    std::optional<std::string> modelIdentifier;  // "MacBookPro18,3", "20XW0055GE"
    std::optional<std::string> chip;             // processor or system-on-chip name
    std::optional<std::int64_t> logicalProcessors;
    std::optional<std::int64_t> physicalCores;  // where the system counts them apart
    std::optional<std::int64_t> performanceCores;
    std::optional<std::int64_t> efficiencyCores;
    std::optional<std::int64_t> memoryBytes;  // installed memory
    std::optional<std::string> memoryText;    // installed memory as the system words it
    std::optional<std::string> memoryType;    // "LPDDR5", "DDR4"
    std::optional<std::string> serial;
    std::optional<std::int64_t> gpuCores;
    std::optional<bool> portable;       // where the system states its form factor
    std::optional<std::string> osName;  // a non-Mac system's own name
    std::optional<OsVersion> osVersion;
    std::optional<std::string> osVersionText;  // a non-Mac system's own version text
    std::optional<std::string> osBuild;        // build number, or the kernel release
    double uptime = 0;                         // seconds awake since the last restart
    std::string hostName;

    bool operator==(const HardwareFacts&) const = default;
};

// One battery. Capacities in mAh; the rest in volts, amperes (negative while discharging)
// and degrees Celsius.
struct BatteryFacts {
    bool installed = true;
    std::optional<std::int64_t> designCapacity;
    std::optional<std::int64_t> fullCapacity;
    std::optional<std::int64_t> currentCapacity;
    std::optional<std::int64_t> cycleCount;
    std::optional<std::int64_t> designCycleCount;
    std::optional<double> voltage;
    std::optional<double> current;
    std::optional<double> temperature;
    bool charging = false;
    bool discharging = false;
    bool fullyCharged = false;
    std::optional<std::string> serial;
    std::optional<std::string> condition;  // "Normal", "Service Recommended", "Good"
    std::optional<double> healthPercent;   // maximum capacity, where the system states it
    std::optional<double> chargePercent;   // state of charge, where the system states it

    bool operator==(const BatteryFacts&) const = default;
};

struct PowerFacts {
    std::vector<BatteryFacts> batteries;  // the computer's own, zero or more
    std::optional<bool> externalPower;
    // Minutes until empty (discharging) or full (charging), as the system estimates them;
    // 65535 or less than 1 while it is still estimating.
    std::optional<std::int64_t> timeRemaining;

    bool operator==(const PowerFacts&) const = default;
};

struct VolumeFacts {
    std::optional<std::string> name;
    std::string mountPoint;
    std::string fileSystem;
    std::optional<std::int64_t> totalBytes;
    std::optional<std::int64_t> freeBytes;
    bool internal = true;

    bool operator==(const VolumeFacts&) const = default;
};

struct DisplayFacts {
    std::optional<std::string> name;
    std::string resolution;    // pixels, "2560 x 1440"
    std::string uiResolution;  // what the desktop looks like, as the system words it
    std::string refreshRate;   // "60.00Hz"
    bool main = false;
    bool builtIn = false;
    std::string connection;  // in readable words: "HDMI", "DisplayPort", "Internal"

    bool operator==(const DisplayFacts&) const = default;
};

struct GpuFacts {
    std::optional<std::string> name;
    std::string vendor;
    std::string cores;       // as the system words it ("10")
    std::string apiSupport;  // "Metal 3"; empty where the platform has no such notion
    std::string driver;      // the kernel driver in use, where there is one ("amdgpu")
    std::vector<DisplayFacts> displays;

    bool operator==(const GpuFacts&) const = default;
};

// Everything a platform reports outside the live samples: what a capture of a non-Mac machine
// stores.
struct MachineFacts {
    HardwareFacts hardware;
    PowerFacts power;
    std::vector<VolumeFacts> volumes;
    std::vector<GpuFacts> graphics;
    std::int64_t installedMemory = 0;
    bool operator==(const MachineFacts&) const = default;
};

// Per-processor tick counters of one sample, in the platform's order.
struct CpuTicks {
    std::uint32_t user = 0;
    std::uint32_t system = 0;
    std::uint32_t idle = 0;
    std::uint32_t nice = 0;
    bool operator==(const CpuTicks&) const = default;
};

// Virtual-memory page counts and the size of one page in bytes.
struct VmStats {
    std::uint64_t pageSize = 0;
    std::uint64_t active = 0;
    std::uint64_t inactive = 0;
    std::uint64_t wire = 0;
    std::uint64_t purgeable = 0;
    std::uint64_t compressor = 0;
    std::uint64_t external = 0;
    bool operator==(const VmStats&) const = default;
};

// The inputs of one live sample. Each optional is empty when that read failed.
struct LiveInputs {
    double uptime = 0;
    std::optional<VmStats> vm;
    std::optional<std::uint64_t> swapUsed;
    std::optional<std::vector<CpuTicks>> cpuTicks;
    bool operator==(const LiveInputs&) const = default;
};

}  // namespace orvane
