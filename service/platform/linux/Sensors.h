// Temperatures, fans, throughput counters and graphics load on Linux: hwmon chips
// (/sys/class/hwmon), thermal zones without a hwmon of their own, /proc/net/dev for the
// physical and wireless interfaces, /proc/diskstats for whole disks, and amdgpu's
// gpu_busy_percent or, for a card without it, its clients' engine time (DrmClients).
//
// Never wakes what sleeps: before any file of a device on PCI is read (a hwmon chip, a DRM
// card), the PCI function's power/runtime_status is read, and a function that is "suspended"
// or "suspending" is reported sleeping with none of its files opened.
//
// Cheap to call every second: the chips, zones and cards are found once (and looked for again
// every twentieth sample, for devices that come and go); their files stay open and are re-read
// with pread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/platform/SensorFacts.h"
#include "service/platform/linux/DrmClients.h"
#include "service/platform/linux/ProcFile.h"
#include "service/platform/linux/SysFs.h"

namespace orvane {

class LinuxSensors {
  public:
    explicit LinuxSensors(const SysFs& fs);
    ~LinuxSensors();
    LinuxSensors(const LinuxSensors&) = delete;
    LinuxSensors& operator=(const LinuxSensors&) = delete;

    // One sample; `time` is left 0 for the caller. Safe to call from several threads.
    SensorInputs sample();

    // The device group and the sensor's name as people know them, from the hwmon chip's name,
    // the sensor's label (empty when it has none) and its number: ("coretemp", "Package id
    // 0", 1) -> ("CPU", "CPU Package"); an unknown chip keeps its name and the label.
    struct Naming {
        std::string device;
        std::string sensor;
    };
    static Naming temperatureName(std::string_view chip, std::string_view label, int index);
    static Naming fanName(std::string_view chip, std::string_view label, int index);

    // A file kept open and re-read from its start (defined in Sensors.cpp).
    class KeptFile;

  private:
    struct Input;
    struct Chip;
    struct Card;

    void rescan();
    void listChip(Chip& chip);
    bool asleep(KeptFile* power);
    void readInterfaces(SensorInputs& out);
    void readDisks(SensorInputs& out);

    const SysFs& fs_;
    std::mutex mutex_;
    int samplesSinceScan_ = 0;
    std::optional<std::vector<std::string>> scanned_;  // what the last scan listed
    std::vector<std::unique_ptr<Chip>> chips_;
    std::vector<std::unique_ptr<Chip>> zones_;
    std::vector<std::unique_ptr<Card>> cards_;
    ProcFile netDev_;
    ProcFile diskStats_;
    std::string buffer_;
    std::map<std::string, std::optional<bool>, std::less<>> interfaceKinds_;  // wireless, or out
    std::map<std::string, bool, std::less<>> wholeDisks_;
    DrmClients drm_;
};

}  // namespace orvane
