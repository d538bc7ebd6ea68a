// The Mac's tool documents decoded into facts: every key and fallback of the reports and of
// the battery registry lives here. Plain functions of their inputs, built and tested on every
// platform.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "service/platform/Facts.h"
#include "service/platform/mac/MacSource.h"

namespace orvane {

using Bytes = std::span<const std::uint8_t>;

// The hardware and memory reports, sw_vers, kernel values and process information.
HardwareFacts decodeMacHardware(const MacSource& source);
// The battery registry (`ioreg -r -c AppleSmartBattery -a`) and the power report: one
// battery where either document tells of one, the power report overriding a few values.
PowerFacts decodeMacPower(Bytes registry, Bytes powerReport);
std::vector<VolumeFacts> decodeMacVolumes(Bytes storageReport);
std::vector<GpuFacts> decodeMacGraphics(Bytes displaysReport);

}  // namespace orvane
