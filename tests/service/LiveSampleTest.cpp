#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/Captures.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

constexpr std::int64_t kGiB16 = std::int64_t{1} << 34;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::uint64_t kMaxU = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint32_t kTop = std::numeric_limits<std::uint32_t>::max();

LiveInputs ticksOnly(std::vector<CpuTicks> ticks) {
    LiveInputs in;
    in.cpuTicks = std::move(ticks);
    return in;
}

LiveInputs vmOnly(VmStats vm, std::optional<std::uint64_t> swap = std::nullopt) {
    LiveInputs in;
    in.vm = vm;
    in.swapUsed = swap;
    return in;
}

// 16 KiB pages: page size, active, inactive, wire, purgeable, compressor, external.
VmStats exampleVm() {
    return {16384, 1000, 500, 400, 50, 100, 600};
}

// Memory categories in bytes: app, used, cached, wired, compressed, swap.
auto memory(const LiveMetrics& m) {
    return std::make_tuple(m.memAppBytes, m.memUsedBytes, m.memCachedBytes, m.memWiredBytes,
                           m.memCompressedBytes, m.swapUsedBytes);
}

TEST(LiveSample, TicksThatCannotBeComparedKeepTheOverallPercentages) {
    LiveMetrics previous;
    previous.cpuUserPct = 12;
    previous.cpuSystemPct = 8;
    previous.cpuIdlePct = 80;
    previous.perCore = {0.5, 0.5};
    const std::vector<CpuTicks> two = {{100, 50, 900, 5}, {7, 7, 7, 7}};
    const std::vector<CpuTicks> three = {{5, 5, 5, 5}, {5, 5, 5, 5}, {5, 5, 5, 5}};
    // No previous ticks (the first sample), a changed processor count, unchanged counters.
    const std::pair<std::vector<CpuTicks>, std::vector<CpuTicks>> table[] = {
        {std::vector<CpuTicks>(), three}, {two, three}, {two, two}};
    for (const auto& [prev, cur] : table) {
        const LiveSample s = computeLive(previous, prev, 0, ticksOnly(cur));
        EXPECT_EQ(s.metrics.perCore, std::vector<double>(cur.size(), 0.0));
        EXPECT_EQ(std::tie(s.metrics.cpuUserPct, s.metrics.cpuSystemPct, s.metrics.cpuIdlePct),
                  std::make_tuple(12.0, 8.0, 80.0));
        EXPECT_EQ(s.ticks, cur);
    }
    // A first sample from the defaults: all idle.
    EXPECT_EQ(computeLive(LiveMetrics(), {}, 0, ticksOnly(three)).metrics.cpuIdlePct, 100);
}

TEST(LiveSample, OneCoreBusyAndOverall) {
    struct Case {
        CpuTicks prev, cur;
        double busy, user, system, idle;
    };
    const Case table[] = {// Nice counts as busy per core and as user time overall.
                          {{0, 0, 0, 0}, {30, 10, 50, 10}, 0.5, 40, 10, 50},
                          // A user counter that wrapped: 4294967290 -> 4 is an increase of 10.
                          {{4294967290u, 0, 0, 0}, {4, 0, 10, 0}, 0.5, 50, 0, 50},
                          // The largest possible deltas stay exact in double precision.
                          {{kTop, kTop, kTop, kTop}, {0, 0, 0, 0}, 0.75, 50, 25, 25},
                          {{1, 1, 1, 1}, {0, 0, 0, 0}, 0.75, 50, 25, 25},
                          {{0, 0, 0, 0}, {0, 0, 100, 0}, 0.0, 0, 0, 100},
                          {{5, 5, 5, 5}, {105, 5, 5, 5}, 1.0, 100, 0, 0}};
    for (const auto& c : table) {
        const LiveMetrics m = computeLive(LiveMetrics(), {c.prev}, 0, ticksOnly({c.cur})).metrics;
        ASSERT_EQ(m.perCore.size(), 1u);
        EXPECT_DOUBLE_EQ(m.perCore[0], c.busy) << c.prev.user;
        EXPECT_NEAR(m.cpuUserPct, c.user, 1e-9) << c.prev.user;
        EXPECT_NEAR(m.cpuSystemPct, c.system, 1e-9) << c.prev.user;
        EXPECT_NEAR(m.cpuIdlePct, c.idle, 1e-9) << c.prev.user;
    }
}

TEST(LiveSample, ManyCoresSumToHundred) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::uint32_t> any;
    std::uniform_int_distribution<std::uint32_t> step(0, 2000);
    std::vector<CpuTicks> prev(16);
    for (auto& t : prev)
        t = {any(rng), any(rng), any(rng), any(rng)};
    for (int round = 0; round < 50; ++round) {
        std::vector<CpuTicks> cur = prev;
        for (auto& t : cur)  // wraps modulo 2^32 like the kernel's counters
            t = {t.user + step(rng), t.system + step(rng), t.idle + step(rng),
                 t.nice + step(rng) / 10};
        const LiveMetrics m = computeLive(LiveMetrics(), prev, 0, ticksOnly(cur)).metrics;
        ASSERT_EQ(m.perCore.size(), 16u);
        for (double busy : m.perCore) {
            EXPECT_GE(busy, 0);
            EXPECT_LE(busy, 1);
        }
        EXPECT_NEAR(m.cpuUserPct + m.cpuSystemPct + m.cpuIdlePct, 100, 1e-9);
        prev = cur;
    }
}

TEST(LiveSample, FailedProcessorReadChangesNothing) {
    LiveMetrics previous;
    previous.perCore = {0.25, 0.75};
    previous.cpuUserPct = 10;
    const LiveSample s = computeLive(previous, {{1, 1, 1, 1}, {2, 2, 2, 2}}, 0, LiveInputs());
    EXPECT_FALSE(s.ticks.has_value());
    EXPECT_EQ(s.metrics.perCore, previous.perCore);
    EXPECT_EQ(s.metrics.cpuUserPct, 10);

    // Zero processors is a successful read with nothing in it.
    const LiveSample none = computeLive(previous, {}, 0, ticksOnly({}));
    EXPECT_EQ(none.ticks, std::vector<CpuTicks>{});
    EXPECT_EQ(none.metrics.perCore, previous.perCore);
}

TEST(LiveSample, AppMemoryNeverNegativeAndPressureCapped) {
    // The worked categories and pressure are pinned by the captures below. More file-backed
    // than active and inactive pages: no negative app memory.
    VmStats vm = exampleVm();
    vm.active = 100;
    vm.inactive = 100;
    const LiveSample s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm));
    EXPECT_EQ(s.metrics.memAppBytes, 0);
    EXPECT_EQ(s.metrics.memUsedBytes, 500 * 16384);

    vm = exampleVm();
    vm.wire = 2'000'000;  // alone more than the 16 GiB installed
    EXPECT_EQ(computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm)).metrics.memPressure, 1.0);
}

TEST(LiveSample, AbsurdCountersSaturate) {
    const VmStats huge{16384,
                       kMaxU,
                       kMaxU,
                       std::uint64_t{1} << 60,
                       std::uint64_t{1} << 50,
                       1,
                       std::uint64_t{1} << 50};
    LiveSample s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(huge, kMaxU));
    EXPECT_EQ(memory(s.metrics), std::make_tuple(kMax, kMax, kMax, kMax, 16384, kMax));
    EXPECT_EQ(s.metrics.memPressure, 1.0);

    // A sum beyond 64 bits whose difference fits: the true difference.
    const VmStats wide{4096, std::uint64_t{1} << 50, std::uint64_t{1} << 50, 0, 0,
                       0,    std::uint64_t{1} << 40};
    s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(wide));
    EXPECT_EQ(s.metrics.memAppBytes, kMax - (std::int64_t{1} << 52) + 1);
    EXPECT_EQ(s.metrics.memUsedBytes, s.metrics.memAppBytes);

    // Page sizes of 0 and of the largest 64-bit value.
    VmStats vm = exampleVm();
    vm.pageSize = 0;
    s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm, 0));
    EXPECT_EQ(s.metrics.memUsedBytes, 0);
    EXPECT_EQ(s.metrics.memPressure, 0);
    vm.pageSize = kMaxU;
    vm.compressor = 0;
    s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm, 0));
    EXPECT_EQ(memory(s.metrics), std::make_tuple(kMax, kMax, kMax, kMax, 0, 0));
    EXPECT_EQ(s.metrics.memPressure, 1.0);
}

TEST(LiveSample, FailedReadsKeepPreviousValues) {
    LiveMetrics previous;
    previous.memAppBytes = 11;
    previous.memUsedBytes = 22;
    previous.memCachedBytes = 33;
    previous.memWiredBytes = 44;
    previous.memCompressedBytes = 55;
    previous.swapUsedBytes = 66;
    previous.memPressure = 0.4;
    previous.memTotalBytes = kGiB16;
    previous.uptime = 10;

    // No page counts: memory and swap stay (even with a swap figure); total and uptime not.
    LiveInputs in;
    in.uptime = 11.5;
    in.swapUsed = 999;
    LiveSample s = computeLive(previous, {}, 8 * kGiB16, in);
    EXPECT_EQ(memory(s.metrics), memory(previous));
    EXPECT_EQ(s.metrics.memPressure, 0.4);
    EXPECT_EQ(s.metrics.memTotalBytes, 8 * kGiB16);
    EXPECT_EQ(s.metrics.uptime, 11.5);

    // Page counts but no swap figure: swap stays.
    s = computeLive(previous, {}, kGiB16, vmOnly(exampleVm()));
    EXPECT_EQ(s.metrics.swapUsedBytes, 66);
    EXPECT_EQ(s.metrics.memAppBytes, 900 * 16384);

    // Installed memory unknown: the categories update, pressure does not.
    for (std::int64_t total : {std::int64_t{0}, std::int64_t{-1}}) {
        s = computeLive(previous, {}, total, vmOnly(exampleVm(), 0));
        EXPECT_EQ(s.metrics.memTotalBytes, total);
        EXPECT_EQ(s.metrics.memUsedBytes, 1400 * 16384);
        EXPECT_EQ(s.metrics.memPressure, 0.4);
        EXPECT_EQ(s.metrics.swapUsedBytes, 0);
    }
}

// Each sample of a capture, worked out by hand from its live and kernel files (the records
// after the last sample of every capture are pinned whole by the report test).
TEST(LiveSampleReplay, Machines) {
    const std::pair<const char*, std::vector<std::string>> table[] = {
        // Core 0's user counter wraps in the second sample; the third has performance cores
        // 80 % busy, efficiency cores 10 %, and 1 GiB swapped.
        {"mac-portable",
         {"0/0/100 | 0*12 | 12779520000/16875520000/6717440000/3276800000/819200000/0 | "
          "34359738368 | 0.3051757812 | 93785.5",
          "40/10/50 | 0.5*12 | 12779520000/16875520000/6717440000/3276800000/819200000/0 | "
          "34359738368 | 0.3051757812 | 93786.5",
          "41.66666667/15/43.33333333 | 0.8*8 0.1*4 | "
          "14417920000/18513920000/6717440000/3276800000/819200000/1073741824 | 34359738368 | "
          "0.3290176392 | 93787.5"}},
        // No "hw.memsize" and no processor counters; page counts only in the second sample
        // (categories but no pressure), kept in the third.
        {"mac-broken",
         {"0/0/100 |  | 0/0/0/0/0/0 | 0 | 0 | 43",
          "0/0/100 |  | 14745600/22937600/10649600/6553600/1638400/0 | 0 | 0 | 44",
          "0/0/100 |  | 14745600/22937600/10649600/6553600/1638400/0 | 0 | 0 | 45"}}};
    for (const auto& [machine, expected] : table) {
        ReplayPlatform platform = capture(machine);
        // Sampled the way the service does: each result feeds the next.
        LiveMetrics live;
        std::vector<CpuTicks> ticks;
        std::vector<std::string> seen;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const LiveSample s = collectLive(live, ticks, platform);
            live = s.metrics;
            if (s.ticks) ticks = *s.ticks;
            EXPECT_EQ(s.ticks.has_value(), !live.perCore.empty()) << machine << " " << i;
            seen.push_back(record_text::describe(live));
        }
        EXPECT_EQ(seen, expected) << machine;
    }
}

}  // namespace
}  // namespace orvane
