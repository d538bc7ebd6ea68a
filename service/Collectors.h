// The collectors: free functions that read only through a Platform and return fresh
// records. They hold no state and may run on any thread.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "service/Records.h"
#include "service/platform/Platform.h"

namespace orvane {

HardwareInfo collectHardware(const Platform& platform);
BatteryInfo collectBattery(const Platform& platform);
std::vector<VolumeInfo> collectVolumes(const Platform& platform);
std::pair<std::vector<DisplayInfo>, std::vector<GraphicsInfo>> collectDisplays(
    const Platform& platform);

// Marketing name of macOS for a major version ("macOS Sonoma" for 14, "macOS" if unknown).
std::string macOSName(std::int64_t major);

// One live sample: the new record and, when the processor read succeeded, the new ticks.
struct LiveSample {
    LiveMetrics metrics;
    std::optional<std::vector<CpuTicks>> ticks;  // empty: keep the previous ticks
};
// Computes a sample from the previous record, the previous ticks and freshly read inputs.
LiveSample computeLive(const LiveMetrics& previous, const std::vector<CpuTicks>& prevTicks,
                       std::int64_t memTotalBytes, const LiveInputs& inputs);
// Reads the inputs from the platform ("hw.memsize", then the sample) and computes.
LiveSample collectLive(const LiveMetrics& previous, const std::vector<CpuTicks>& prevTicks,
                       const Platform& platform);

}  // namespace orvane
