// A Mac, read through its tools and kernel values (a MacSource: the machine itself, or a
// capture of one) and decoded into facts.
#pragma once

#include <memory>

#include "service/platform/Platform.h"
#include "service/platform/mac/MacSource.h"

namespace orvane {

class MacPlatform final : public Platform {
  public:
    explicit MacPlatform(std::shared_ptr<const MacSource> source) : source_(std::move(source)) {}

    HardwareFacts hardware() const override;
    PowerFacts power() const override;
    std::vector<VolumeFacts> volumes() const override;
    std::vector<GpuFacts> graphics() const override;
    std::int64_t installedMemory() const override { return source_->sysctlInt("hw.memsize"); }
    LiveInputs sampleLive() const override { return source_->sampleLive(); }
    SensorInputs sampleSensors() const override { return source_->sampleSensors(); }
    // The tools and kernel values the facts come from.
    const MacSource& source() const { return *source_; }

  private:
    std::shared_ptr<const MacSource> source_;
};

// The Mac this program runs on (Apple platforms only).
std::shared_ptr<const MacSource> makeMacSystemSource();

}  // namespace orvane
