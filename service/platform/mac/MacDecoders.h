// The Mac's tool documents decoded into facts: every key and fallback of the reports and of
// the battery registry lives here. Plain functions of their inputs, built and tested on every
// platform.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "service/Values.h"
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

// One disk's byte counters from the I/O registry: its block-storage driver's "Statistics",
// the "BSD Name" and "Whole" of the media the driver presents, and the "Protocol
// Characteristics" of the device below the driver. Nothing unless the media is a whole disk
// with a name, it is not a disk image, and both counters are read.
std::optional<DiskCounters> decodeMacDisk(const Value& statistics, const Value& bsdName,
                                          const Value& whole, const Value& protocol);
// How busy a graphics processor is: "Device Utilization %" of its accelerator's
// "PerformanceStatistics", within 0 to 100; nothing when that is not a number.
std::optional<double> decodeMacGpuLoad(const Value& performanceStatistics);

}  // namespace orvane
