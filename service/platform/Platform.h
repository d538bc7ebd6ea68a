// Everything the service reads from the machine, as typed facts (Facts.h). Implementations
// answer "nothing" (an empty optional, an empty list, 0) for what they cannot read; they
// never throw. Every method may be called from any thread, concurrently.
#pragma once

#include <cstdint>
#include <vector>

#include "service/platform/Facts.h"
#include "service/platform/SensorFacts.h"

namespace orvane {

class Platform {
  public:
    virtual ~Platform() = default;

    virtual HardwareFacts hardware() const = 0;
    virtual PowerFacts power() const = 0;
    virtual std::vector<VolumeFacts> volumes() const = 0;
    virtual std::vector<GpuFacts> graphics() const = 0;

    // Installed memory in bytes, read for every live sample; 0 when unknown.
    virtual std::int64_t installedMemory() const = 0;
    // One live sample's counters. Each call is one sample (a replayed machine advances).
    virtual LiveInputs sampleLive() const = 0;
    // Temperatures, fans, throughput counters and graphics load, read now; nothing where the
    // platform has no such sources. Devices that sleep are not woken to answer.
    virtual SensorInputs sampleSensors() const { return {}; }
};

}  // namespace orvane
