// Where a Mac's facts come from: its reporting tools and kernel values, on the machine itself
// or from a capture of one. The decoders (MacDecoders.h) read only through this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/platform/Facts.h"
#include "service/platform/SensorFacts.h"

namespace orvane {

// The reporting tools, as absolute paths.
inline constexpr const char* kSystemProfiler = "/usr/sbin/system_profiler";
inline constexpr const char* kIoreg = "/usr/sbin/ioreg";
inline constexpr const char* kSwVers = "/usr/bin/sw_vers";

// Answers "nothing" (empty bytes or text, 0, 0.0.0) when a read fails; never throws. Every
// method may be called from any thread, concurrently.
class MacSource {
  public:
    virtual ~MacSource() = default;

    // Standard output of one of the tool command lines, byte for byte; empty when the tool
    // cannot be started.
    virtual std::vector<std::uint8_t> runData(const std::string& path,
                                              const std::vector<std::string>& args) const = 0;
    // The same output as UTF-8 text trimmed at both ends; empty when not valid UTF-8.
    std::string run(const std::string& path, const std::vector<std::string>& args) const;

    // Kernel values by name: "hw.model", "hw.ncpu", "hw.memsize", "machdep.cpu.brand_string",
    // "hw.perflevel0.physicalcpu", "hw.perflevel1.physicalcpu".
    virtual std::string sysctlString(const std::string& name) const = 0;
    virtual std::int64_t sysctlInt(const std::string& name) const = 0;

    virtual OsVersion osVersion() const = 0;
    // Seconds the system has been awake since it was last restarted.
    virtual double uptime() const = 0;
    virtual std::string hostName() const = 0;
    // One live sample's counters. Each call is one sample (a replayed machine advances).
    virtual LiveInputs sampleLive() const = 0;
    // Sensors and throughput; nothing where they are not read.
    virtual SensorInputs sampleSensors() const { return {}; }
};

}  // namespace orvane
