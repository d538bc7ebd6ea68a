// The plain value records the service publishes, with their derived values.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/Sensors.h"

namespace orvane {

// What kind of machine this is; the interface draws its icon from it.
enum class MachineKind { laptop, desktop, macMini, macStudio, macPro };
// The system symbol name of a kind, as reports and captures write it ("laptopcomputer").
std::string_view symbolName(MachineKind kind);

// The colour a battery's condition is shown in.
enum class ConditionTint { green, yellow, red, secondary };
// Its name, as reports write it ("green").
std::string_view tintName(ConditionTint tint);

// A random (version 4) UUID; the row identity of the list records.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};
    static Uuid random();
    std::string toString() const;  // 8-4-4-4-12 lower-case hex
    bool operator==(const Uuid&) const = default;
};

struct HardwareInfo {
    std::string modelName = "Mac";
    std::string modelIdentifier;
    std::string chip;
    std::int64_t totalCores = 0;
    std::int64_t performanceCores = 0;
    std::int64_t efficiencyCores = 0;
    std::int64_t threads = 0;  // logical processors where they differ from the cores, else 0
    std::int64_t gpuCores = 0;
    std::string memoryGB;
    std::string memoryType;
    std::string serialNumber;
    std::string macOSName;
    std::string macOSVersion;
    std::string macOSBuild;
    double uptime = 0;
    std::string hostname;
    bool isLaptop = true;

    // The kind of machine, from the model identifier.
    MachineKind symbol() const;
};

struct LiveMetrics {
    double cpuUserPct = 0;
    double cpuSystemPct = 0;
    double cpuIdlePct = 100;
    std::vector<double> perCore;
    std::int64_t memUsedBytes = 0;
    std::int64_t memTotalBytes = 0;
    std::int64_t memAppBytes = 0;
    std::int64_t memWiredBytes = 0;
    std::int64_t memCompressedBytes = 0;
    std::int64_t memCachedBytes = 0;
    std::int64_t swapUsedBytes = 0;
    double memPressure = 0;
    double uptime = 0;
    // Whether the processor shares and the memory categories were ever measured; until then
    // their values are not readings (not 0 % busy, not 0 bytes used).
    bool cpuMeasured = false;
    bool memMeasured = false;

    double cpuBusyPct() const { return cpuUserPct + cpuSystemPct; }
    double memUsedFraction() const;
};

// A value the system did not state (or stated out of any real range) is empty: the pages show
// it as not known, never as 0.
struct BatteryInfo {
    bool present = false;
    std::optional<std::int64_t> cycleCount;
    std::optional<std::int64_t> designCycleCount;
    std::optional<double> healthPercent;
    std::string condition = "-";
    std::optional<double> chargePercent;
    bool isCharging = false;
    std::optional<bool> onAC;  // whether the power source was read at all
    bool fullyCharged = false;
    std::optional<double> temperature;  // degrees Celsius, within -40...100
    std::optional<double> voltage;
    std::optional<double> amperage;
    std::optional<std::int64_t> designCapacity;
    std::optional<std::int64_t> maxCapacity;
    std::optional<std::int64_t> currentCapacity;
    // Minutes until empty, or until full while charging; -1 while the system is still
    // estimating; empty when not stated or beyond any real estimate (over 100 hours).
    std::optional<std::int64_t> timeRemaining;
    std::string serial;

    // From the condition text.
    ConditionTint conditionTint() const;
};

class VolumeInfo {
  public:
    VolumeInfo() = default;
    VolumeInfo(std::string name, std::string mountPoint, std::string fileSystem,
               std::int64_t totalBytes, std::int64_t freeBytes, bool isInternal, bool isBoot);

    const Uuid& id() const { return id_; }

    std::string name;
    std::string mountPoint;
    std::string fileSystem;
    std::int64_t totalBytes = 0;
    std::int64_t freeBytes = 0;
    bool isInternal = true;
    bool isBoot = false;

    std::int64_t usedBytes() const;
    double usedFraction() const;

  private:
    Uuid id_ = Uuid::random();
};

class GraphicsInfo {
  public:
    GraphicsInfo() = default;
    GraphicsInfo(std::string name, std::string vendor, std::string cores, std::string metalSupport,
                 std::string driver = {});

    const Uuid& id() const { return id_; }

    std::string name;
    std::string vendor;
    std::string cores;
    std::string metalSupport;
    std::string driver;  // the kernel driver in use, where the platform has one ("amdgpu")

  private:
    Uuid id_ = Uuid::random();
};

class DisplayInfo {
  public:
    DisplayInfo() = default;
    DisplayInfo(std::string name, std::string resolution, std::string uiResolution, bool isMain,
                bool isBuiltIn, std::string connectionType, std::string refreshRate);

    const Uuid& id() const { return id_; }

    std::string name;
    std::string resolution;
    std::string uiResolution;
    bool isMain = false;
    bool isBuiltIn = false;
    std::string connectionType;
    std::string refreshRate;

  private:
    Uuid id_ = Uuid::random();
};

// Every record the service publishes, at one moment: what the pages show and a report prints.
struct Snapshot {
    HardwareInfo hardware;
    BatteryInfo battery;
    std::vector<VolumeInfo> volumes;
    std::vector<DisplayInfo> displays;
    std::vector<GraphicsInfo> graphics;
    LiveMetrics live;
    bool loaded = false;
    SensorReadings sensors;
};

}  // namespace orvane
