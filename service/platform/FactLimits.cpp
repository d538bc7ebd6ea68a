#include "service/platform/FactLimits.h"

#include <cmath>

namespace orvane {

namespace {

template <typename T>
void within(std::optional<T>& v, T low, T high) {
    if (v && !(*v >= low && *v <= high)) v.reset();
}

// Counts, sizes and capacities are never negative; the upper ends lie far beyond any machine.
constexpr std::int64_t kMaxBytes = std::int64_t{1} << 60;
constexpr std::int64_t kMaxMilliampereHours = 1'000'000;
constexpr std::int64_t kMaxCycles = 1'000'000;

template <typename T>
void cut(std::vector<T>& list, std::size_t limit, const char* what,
         std::vector<std::string>& notes) {
    if (list.size() <= limit) return;
    notes.push_back(std::to_string(list.size() - limit) + " of " + std::to_string(list.size()) +
                    " " + what + " left out: no machine has more than " + std::to_string(limit));
    list.resize(limit);
}

void checkHardware(HardwareFacts& h) {
    for (auto* count : {&h.logicalProcessors, &h.performanceCores, &h.efficiencyCores})
        within<std::int64_t>(*count, 0, kMaxCores);
    within<std::int64_t>(h.gpuCores, 0, 1 << 20);
    within<std::int64_t>(h.memoryBytes, 0, kMaxBytes);
    if (h.osVersion && (h.osVersion->major < 0 || h.osVersion->minor < 0 || h.osVersion->patch < 0))
        h.osVersion.reset();
    if (!(h.uptime >= 0 && h.uptime < 1e12)) h.uptime = 0;
}

void checkBattery(BatteryFacts& b) {
    for (auto* mAh : {&b.designCapacity, &b.fullCapacity, &b.currentCapacity})
        within<std::int64_t>(*mAh, 0, kMaxMilliampereHours);
    for (auto* cycles : {&b.cycleCount, &b.designCycleCount})
        within<std::int64_t>(*cycles, 0, kMaxCycles);
    within(b.voltage, 0.0, 1000.0);
    within(b.current, -1000.0, 1000.0);
    within(b.temperature, -273.15, 1000.0);
    within(b.healthPercent, 0.0, 1000.0);
    within(b.chargePercent, 0.0, 1000.0);
}

}  // namespace

std::vector<std::string> keepPlausible(MachineFacts& f) {
    std::vector<std::string> notes;
    checkHardware(f.hardware);
    if (!(f.installedMemory >= 0 && f.installedMemory <= kMaxBytes)) f.installedMemory = 0;

    cut(f.power.batteries, kMaxBatteries, "batteries", notes);
    for (BatteryFacts& b : f.power.batteries)
        checkBattery(b);

    cut(f.volumes, kMaxVolumes, "volumes", notes);
    for (VolumeFacts& v : f.volumes) {
        within<std::int64_t>(v.totalBytes, 0, kMaxBytes);
        within<std::int64_t>(v.freeBytes, 0, kMaxBytes);
    }

    cut(f.graphics, kMaxGpus, "graphics processors", notes);
    std::size_t displays = 0, dropped = 0;
    for (GpuFacts& g : f.graphics) {
        const std::size_t keep = std::min(g.displays.size(), kMaxDisplays - displays);
        dropped += g.displays.size() - keep;
        g.displays.resize(keep);
        displays += keep;
    }
    if (dropped > 0)
        notes.push_back(std::to_string(dropped) + " of " + std::to_string(displays + dropped) +
                        " displays left out: no machine has more than " +
                        std::to_string(kMaxDisplays));
    return notes;
}

}  // namespace orvane
