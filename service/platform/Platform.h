// Everything the service reads from the machine. Implementations answer "nothing" (empty
// bytes or text, 0, an empty optional) when a read fails; they never throw. Every method
// may be called from any thread, concurrently.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "service/Records.h"

namespace orvane {

// The reporting tools, as absolute paths.
inline constexpr const char* kSystemProfiler = "/usr/sbin/system_profiler";
inline constexpr const char* kIoreg = "/usr/sbin/ioreg";
inline constexpr const char* kSwVers = "/usr/bin/sw_vers";

struct OsVersion {
    std::int64_t major = 0;
    std::int64_t minor = 0;
    std::int64_t patch = 0;
    bool operator==(const OsVersion&) const = default;
};

// Virtual-memory page counts and the size of one page in bytes.
struct VmStats {
    std::uint64_t pageSize = 0;
    std::uint64_t active = 0;
    std::uint64_t inactive = 0;
    std::uint64_t wire = 0;
    std::uint64_t purgeable = 0;
    std::uint64_t compressor = 0;
    std::uint64_t external = 0;
    bool operator==(const VmStats&) const = default;
};

// The inputs of one live sample. Each optional is empty when that read failed.
struct LiveInputs {
    double uptime = 0;
    std::optional<VmStats> vm;
    std::optional<std::uint64_t> swapUsed;
    std::optional<std::vector<CpuTicks>> cpuTicks;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // Standard output of one of the tool command lines, byte for byte; empty when the tool
    // cannot be started.
    virtual std::vector<std::uint8_t> runData(const std::string& path,
                                              const std::vector<std::string>& args) const = 0;
    // The same output as UTF-8 text trimmed at both ends; empty when not valid UTF-8.
    virtual std::string run(const std::string& path, const std::vector<std::string>& args) const;

    // Kernel values by name: "hw.model", "hw.ncpu", "hw.memsize", "machdep.cpu.brand_string".
    virtual std::string sysctlString(const std::string& name) const = 0;
    virtual std::int64_t sysctlInt(const std::string& name) const = 0;

    virtual OsVersion osVersion() const = 0;
    // A non-Mac system's own name ("Debian GNU/Linux") and version text ("12"); nothing
    // on a Mac, where the name comes from the marketing-name table.
    virtual std::optional<std::string> osName() const { return std::nullopt; }
    virtual std::optional<std::string> osVersionText() const { return std::nullopt; }
    // Seconds the system has been awake since it was last restarted.
    virtual double uptime() const = 0;
    virtual std::string hostName() const = 0;
    // Whether the computer is a portable, where the system says so by its form factor (a PC's
    // chassis type); nothing on a Mac, whose model identifier tells.
    virtual std::optional<bool> isPortable() const { return std::nullopt; }

    // One live sample's counters. Each call is one sample (a replayed machine advances).
    virtual LiveInputs sampleLive() const = 0;
};

}  // namespace orvane
