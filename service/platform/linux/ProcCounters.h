// The live counters of /proc/stat and /proc/meminfo, parsed without allocating beyond the
// result. Both run every second, for each live sample.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "service/platform/Facts.h"

namespace orvane::ProcCounters {

// Per-processor ticks of the "cpuN" lines, in file order: user = user; system = system + irq
// + softirq + steal; idle = idle + iowait; nice = nice (guest time is already inside user and
// nice). Each is taken modulo 2^32, so a wrapped counter still gives the right delta. False
// when there is no "cpuN" line or one is malformed.
bool parseCpuTicks(std::string_view stat, std::vector<CpuTicks>& out);

struct MemInfo {
    std::optional<VmStats> vm;              // nothing without "Active" and "Inactive"
    std::optional<std::uint64_t> swapUsed;  // bytes; nothing without both swap lines
    std::uint64_t memTotalBytes = 0;        // 0 when absent
};

// Page counts (kB values divided by the page size): active = Active; inactive = Inactive;
// external = Active(file) + Inactive(file); wire = Unevictable + SUnreclaim + KernelStack +
// PageTables; purgeable = SReclaimable; compressor = Zswap (0 before the kernel had it).
MemInfo parseMemInfo(std::string_view meminfo, std::uint64_t pageSize);

}  // namespace orvane::ProcCounters
