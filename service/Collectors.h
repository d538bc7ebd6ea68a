// The collectors: free functions that turn a platform's facts into fresh records, applying
// every default, fallback and derived value in one place for every platform. They hold no
// state and may run on any thread.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "service/Records.h"
#include "service/platform/Platform.h"

namespace orvane {

HardwareInfo collectHardware(const HardwareFacts& facts);
BatteryInfo collectBattery(const PowerFacts& facts);
std::vector<VolumeInfo> collectVolumes(const std::vector<VolumeFacts>& facts);
std::pair<std::vector<DisplayInfo>, std::vector<GraphicsInfo>> collectDisplays(
    const std::vector<GpuFacts>& facts);

// Marketing name of macOS for a major version ("macOS Sonoma" for 14, "macOS" if unknown).
std::string macOSName(std::int64_t major);

// One live sample: the new record and, when the processor read succeeded, the new ticks.
struct LiveSample {
    LiveMetrics metrics;
    std::optional<std::vector<CpuTicks>> ticks;  // empty: keep the previous ticks
    bool cpuMeasured = false;                    // the processor shares are this sample's own
    bool memMeasured = false;                    // the memory categories are this sample's own
};
// Computes a sample from the previous record, the previous ticks and freshly read inputs.
LiveSample computeLive(const LiveMetrics& previous, const std::vector<CpuTicks>& prevTicks,
                       std::int64_t memTotalBytes, const LiveInputs& inputs);
// Reads the inputs from the platform (installed memory, then the sample) and computes.
LiveSample collectLive(const LiveMetrics& previous, const std::vector<CpuTicks>& prevTicks,
                       const Platform& platform);

}  // namespace orvane
