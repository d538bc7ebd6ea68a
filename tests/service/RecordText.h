// One line of text per record, so a test compares a whole record in one expectation and a
// failure shows every field side by side. Flags print as letters, or "-" when unset.
#pragma once

#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "service/Records.h"

namespace orvane::record_text {

inline std::string flags(std::initializer_list<std::pair<bool, char>> bits) {
    std::string out;
    for (const auto& [on, letter] : bits)
        out += on ? letter : '-';
    return out;
}

// A value not read prints as "-".
template <typename T>
std::string opt(const std::optional<T>& v) {
    if (!v) return "-";
    std::ostringstream out;
    out << std::setprecision(10) << *v;
    return out.str();
}

template <typename... Fields>
std::string joined(const Fields&... fields) {
    std::ostringstream out;
    out << std::setprecision(10);
    const char* sep = "";
    ((out << sep << fields, sep = " | "), ...);
    return out.str();
}

// name | identifier | chip | cores total:performance:efficiency (" tN": N threads) | memory |
// serial | OS | host | laptop flag (L)
inline std::string describe(const HardwareInfo& h) {
    return joined(h.modelName, h.modelIdentifier, h.chip,
                  std::to_string(h.totalCores) + ":" + std::to_string(h.performanceCores) + ":" +
                      std::to_string(h.efficiencyCores) +
                      (h.threads ? " t" + std::to_string(h.threads) : ""),
                  h.memoryGB + " " + h.memoryType, h.serialNumber,
                  h.macOSName + " " + h.macOSVersion + " " + h.macOSBuild, h.hostname,
                  flags({{h.isLaptop, 'L'}}));
}

// present, charging, on AC, fully charged (PCAF) | cycles/design cycles | health | charge |
// condition | temperature V A | design/max/current capacity | minutes left | serial
inline std::string describe(const BatteryInfo& b) {
    return joined(flags({{b.present, 'P'},
                         {b.isCharging, 'C'},
                         {b.onAC.value_or(false), 'A'},
                         {b.fullyCharged, 'F'}}),
                  opt(b.cycleCount) + "/" + opt(b.designCycleCount), opt(b.healthPercent),
                  opt(b.chargePercent), b.condition,
                  joined(opt(b.temperature), opt(b.voltage), opt(b.amperage)),
                  opt(b.designCapacity) + "/" + opt(b.maxCapacity) + "/" + opt(b.currentCapacity),
                  opt(b.timeRemaining), b.serial);
}

// name | mount point | file system | total/free | boot, internal (BI)
inline std::string describe(const VolumeInfo& v) {
    return joined(v.name, v.mountPoint, v.fileSystem,
                  std::to_string(v.totalBytes) + "/" + std::to_string(v.freeBytes),
                  flags({{v.isBoot, 'B'}, {v.isInternal, 'I'}}));
}

// name | vendor | cores | metal support
inline std::string describe(const GraphicsInfo& g) {
    return joined(g.name, g.vendor, g.cores, g.metalSupport);
}

// name | resolution | UI resolution | refresh rate | connection | main, built-in (MB)
inline std::string describe(const DisplayInfo& d) {
    return joined(d.name, d.resolution, d.uiResolution, d.refreshRate, d.connectionType,
                  flags({{d.isMain, 'M'}, {d.isBuiltIn, 'B'}}));
}

// cpu user/system/idle % | per-core busy fractions, runs of equal values as "value*count" |
// app/used/cached/wired/compressed/swap bytes | installed bytes | pressure | uptime
inline std::string describe(const LiveMetrics& m) {
    std::ostringstream cores;
    cores << std::setprecision(10);
    for (std::size_t i = 0; i < m.perCore.size();) {
        std::size_t end = i;
        while (end < m.perCore.size() && m.perCore[end] == m.perCore[i])
            ++end;
        cores << (i ? " " : "") << m.perCore[i] << "*" << end - i;
        i = end;
    }
    std::ostringstream cpu;
    cpu << std::setprecision(10) << m.cpuUserPct << "/" << m.cpuSystemPct << "/" << m.cpuIdlePct;
    std::ostringstream memory;
    memory << m.memAppBytes << "/" << m.memUsedBytes << "/" << m.memCachedBytes << "/"
           << m.memWiredBytes << "/" << m.memCompressedBytes << "/" << m.swapUsedBytes;
    return joined(cpu.str(), cores.str(), memory.str(), m.memTotalBytes, m.memPressure, m.uptime);
}

template <typename Record>
std::vector<std::string> describe(const std::vector<Record>& records) {
    std::vector<std::string> out;
    for (const Record& r : records)
        out.push_back(describe(r));
    return out;
}

}  // namespace orvane::record_text
