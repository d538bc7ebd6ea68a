// Live sensor and throughput facts: temperatures and fans grouped by the device they belong
// to, byte counters per network interface and per disk, and the load of each graphics
// processor. Counters are totals since the system started; rates come from two samples.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

struct TemperatureFacts {
    std::string name;                       // "CPU Package", "NVMe", "acpitz temp1"
    std::optional<double> celsius;          // empty when this read failed
    std::optional<double> criticalCelsius;  // where the hardware states one
    bool operator==(const TemperatureFacts&) const = default;
};

struct FanFacts {
    std::string name;  // "Fan 1"
    std::optional<double> rpm;
    bool operator==(const FanFacts&) const = default;
};

// A device with sensors ("CPU", "GPU", "NVMe", "Wi-Fi", "Battery", or a chip's own name).
// A sleeping device (its power management has suspended it) is not read, so that reading does
// not wake it: it has no sensors listed.
struct SensorDeviceFacts {
    std::string name;
    bool sleeping = false;
    std::vector<TemperatureFacts> temperatures;
    std::vector<FanFacts> fans;
    bool operator==(const SensorDeviceFacts&) const = default;
};

// Bytes received and sent by one network interface since it came up.
struct NetworkCounters {
    std::string name;  // "wlp0s20f3", "en0"
    bool wireless = false;
    std::uint64_t receivedBytes = 0;
    std::uint64_t sentBytes = 0;
    bool operator==(const NetworkCounters&) const = default;
};

// Bytes read from and written to one whole disk since the system started.
struct DiskCounters {
    std::string name;  // "nvme0n1", "disk0"
    std::uint64_t readBytes = 0;
    std::uint64_t writtenBytes = 0;
    bool operator==(const DiskCounters&) const = default;
};

// How busy one graphics processor is.
struct GpuLoadFacts {
    std::string name;    // the device as the system names it ("card1")
    std::string driver;  // "amdgpu"
    bool sleeping = false;
    std::optional<double> busyPercent;  // empty when sleeping or not reported
    bool operator==(const GpuLoadFacts&) const = default;
};

// The system's own summary of how hot the machine runs (a Mac's thermal state).
enum class ThermalState { nominal, fair, serious, critical };

struct SensorInputs {
    double time = 0;  // seconds on a clock that only goes forward, for the rates
    std::vector<SensorDeviceFacts> devices;
    std::vector<NetworkCounters> network;
    std::vector<DiskCounters> disks;
    std::vector<GpuLoadFacts> gpus;
    std::optional<ThermalState> thermalState;
    bool operator==(const SensorInputs&) const = default;
};

}  // namespace orvane
