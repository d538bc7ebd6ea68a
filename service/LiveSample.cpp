// One live sample: processor load from the tick differences since the previous sample and
// the memory categories from the virtual-memory page counts.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "service/Collectors.h"

namespace orvane {

namespace {

constexpr std::int64_t kMaxBytes = std::numeric_limits<std::int64_t>::max();

// The categories are worked out exactly in page counts (128 bits hold any sum of a few
// 64-bit counts) and turned into bytes only at the end, saturated at the largest signed
// 64-bit value rather than wrapped, and never below 0.
using Wide = __int128;

std::int64_t bytesOf(Wide pages, std::uint64_t pageSize) {
    if (pages <= 0 || pageSize == 0) return 0;
    if (pages > kMaxBytes / static_cast<Wide>(pageSize)) return kMaxBytes;
    return static_cast<std::int64_t>(pages * static_cast<Wide>(pageSize));
}

void applyMemory(LiveMetrics& m, const VmStats& vm) {
    const std::uint64_t page = vm.pageSize;
    const Wide appPages = std::max<Wide>(0, Wide{vm.active} + vm.inactive - vm.external);

    m.memWiredBytes = bytesOf(vm.wire, page);
    m.memCompressedBytes = bytesOf(vm.compressor, page);
    m.memCachedBytes = bytesOf(Wide{vm.external} + vm.purgeable, page);
    m.memAppBytes = bytesOf(appPages, page);
    m.memUsedBytes = bytesOf(appPages + vm.wire + vm.compressor, page);

    if (m.memTotalBytes >= 1) {
        const double total = static_cast<double>(m.memTotalBytes);
        const double pressure =
            (static_cast<double>(m.memWiredBytes) + static_cast<double>(m.memCompressedBytes)) /
                total +
            0.5 * static_cast<double>(m.memAppBytes) / total;
        m.memPressure = std::min(1.0, pressure);
    }
}

// Busy share of one processor over the interval; nice time counts as busy.
double busyFraction(double dUser, double dSys, double dIdle, double dNice) {
    const double total = dUser + dSys + dIdle + dNice;
    double busy = total > 0 ? (dUser + dSys + dNice) / total : 0;
    if (std::isnan(busy) || busy < 0) busy = 0;
    return std::min(busy, 1.0);
}

}  // namespace

LiveSample computeLive(const LiveMetrics& previous, const std::vector<CpuTicks>& prevTicks,
                       std::int64_t memTotalBytes, const LiveInputs& inputs) {
    LiveSample sample;
    LiveMetrics& m = sample.metrics;
    m = previous;
    m.memTotalBytes = memTotalBytes;
    m.uptime = inputs.uptime;

    // Counters that did not move at all since the previous sample (a replay past its last
    // captured sample) measure nothing new: the previous sample stands whole, so the ring, the
    // per-core bars and the memory keep showing one and the same moment.
    if (inputs.cpuTicks && !prevTicks.empty() && *inputs.cpuTicks == prevTicks) {
        sample.ticks = prevTicks;
        return sample;
    }

    if (inputs.vm) {
        applyMemory(m, *inputs.vm);
        sample.memMeasured = m.memMeasured = true;
        if (inputs.swapUsed) {
            m.swapUsedBytes = static_cast<std::int64_t>(
                std::min<std::uint64_t>(*inputs.swapUsed, static_cast<std::uint64_t>(kMaxBytes)));
        }
    }

    if (!inputs.cpuTicks) return sample;

    const std::vector<CpuTicks>& current = *inputs.cpuTicks;
    const bool comparable = prevTicks.size() == current.size();
    std::vector<double> perCore;
    perCore.reserve(current.size());
    double userSum = 0;
    double systemSum = 0;
    double idleSum = 0;
    for (std::size_t i = 0; i < current.size(); ++i) {
        if (!comparable) {
            perCore.push_back(0);
            continue;
        }
        const CpuTicks& cur = current[i];
        const CpuTicks& prev = prevTicks[i];
        // Unsigned 32-bit differences: a counter that wrapped still gives its true increase.
        const double dUser = static_cast<std::uint32_t>(cur.user - prev.user);
        const double dSys = static_cast<std::uint32_t>(cur.system - prev.system);
        const double dIdle = static_cast<std::uint32_t>(cur.idle - prev.idle);
        const double dNice = static_cast<std::uint32_t>(cur.nice - prev.nice);
        perCore.push_back(busyFraction(dUser, dSys, dIdle, dNice));
        userSum += dUser + dNice;
        systemSum += dSys;
        idleSum += dIdle;
    }

    sample.ticks = current;
    const double all = userSum + systemSum + idleSum;
    sample.cpuMeasured = all > 0;
    if (all > 0) {
        m.cpuMeasured = true;
        m.cpuUserPct = userSum / all * 100;
        m.cpuSystemPct = systemSum / all * 100;
        m.cpuIdlePct = idleSum / all * 100;
    }
    // Per-core shares only from a measured interval: the first sample has nothing to compare.
    if (all > 0 && !perCore.empty()) m.perCore = std::move(perCore);
    return sample;
}

LiveSample collectLive(const LiveMetrics& previous, const std::vector<CpuTicks>& prevTicks,
                       const Platform& platform) {
    const std::int64_t memTotalBytes = platform.installedMemory();
    const LiveInputs inputs = platform.sampleLive();
    return computeLive(previous, prevTicks, memTotalBytes, inputs);
}

}  // namespace orvane
