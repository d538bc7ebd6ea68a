#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/CollectorsFakePlatform.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;

constexpr std::int64_t kGiB16 = std::int64_t{1} << 34;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

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

// The page counts of the worked example: 16 KiB pages.
VmStats exampleVm() {
    VmStats vm;
    vm.pageSize = 16384;
    vm.active = 1000;
    vm.inactive = 500;
    vm.external = 600;
    vm.wire = 400;
    vm.compressor = 100;
    vm.purgeable = 50;
    return vm;
}

TEST(LiveSample, FirstSampleHasNoPreviousTicks) {
    LiveMetrics previous;
    const std::vector<CpuTicks> cur = {{10, 20, 30, 40}, {1, 2, 3, 4}, {0, 0, 0, 0}};
    const LiveSample s = computeLive(previous, {}, 0, ticksOnly(cur));
    EXPECT_EQ(s.metrics.perCore, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(s.metrics.cpuUserPct, 0);
    EXPECT_EQ(s.metrics.cpuSystemPct, 0);
    EXPECT_EQ(s.metrics.cpuIdlePct, 100);
    ASSERT_TRUE(s.ticks.has_value());
    EXPECT_EQ(*s.ticks, cur);
}

TEST(LiveSample, ProcessorCountChangeStartsOver) {
    LiveMetrics previous;
    previous.cpuUserPct = 12;
    previous.cpuSystemPct = 8;
    previous.cpuIdlePct = 80;
    previous.perCore = {0.5, 0.5};
    const std::vector<CpuTicks> prev = {{0, 0, 0, 0}, {0, 0, 0, 0}};
    const std::vector<CpuTicks> cur = {{5, 5, 5, 5}, {5, 5, 5, 5}, {5, 5, 5, 5}};
    const LiveSample s = computeLive(previous, prev, 0, ticksOnly(cur));
    EXPECT_EQ(s.metrics.perCore, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(s.metrics.cpuUserPct, 12);
    EXPECT_EQ(s.metrics.cpuIdlePct, 80);
    EXPECT_EQ(s.ticks, cur);
}

TEST(LiveSample, UnchangedCountersKeepOverallPercentages) {
    LiveMetrics previous;
    previous.cpuUserPct = 30;
    previous.cpuSystemPct = 20;
    previous.cpuIdlePct = 50;
    const std::vector<CpuTicks> ticks = {{100, 50, 900, 5}, {7, 7, 7, 7}};
    const LiveSample s = computeLive(previous, ticks, 0, ticksOnly(ticks));
    EXPECT_EQ(s.metrics.perCore, (std::vector<double>{0, 0}));
    EXPECT_EQ(s.metrics.cpuUserPct, 30);
    EXPECT_EQ(s.metrics.cpuSystemPct, 20);
    EXPECT_EQ(s.metrics.cpuIdlePct, 50);
}

struct CoreCase {
    CpuTicks prev, cur;
    double busy, user, system, idle;
};

class OneCore : public ::testing::TestWithParam<CoreCase> {};

TEST_P(OneCore, BusyAndOverall) {
    const CoreCase& c = GetParam();
    const LiveSample s = computeLive(LiveMetrics(), {c.prev}, 0, ticksOnly({c.cur}));
    ASSERT_EQ(s.metrics.perCore.size(), 1u);
    EXPECT_DOUBLE_EQ(s.metrics.perCore[0], c.busy);
    EXPECT_NEAR(s.metrics.cpuUserPct, c.user, 1e-9);
    EXPECT_NEAR(s.metrics.cpuSystemPct, c.system, 1e-9);
    EXPECT_NEAR(s.metrics.cpuIdlePct, c.idle, 1e-9);
}

constexpr std::uint32_t kTop = std::numeric_limits<std::uint32_t>::max();

INSTANTIATE_TEST_SUITE_P(LiveSample, OneCore,
                         ::testing::Values(
                             // Nice counts as busy per core and as user time overall.
                             CoreCase{{0, 0, 0, 0}, {30, 10, 50, 10}, 0.5, 40, 10, 50},
                             // A user counter that wrapped: 4294967290 -> 4 is an increase of 10.
                             CoreCase{{4294967290u, 0, 0, 0}, {4, 0, 10, 0}, 0.5, 50, 0, 50},
                             CoreCase{{kTop, kTop, kTop, kTop}, {0, 0, 0, 0}, 0.75, 50, 25, 25},
                             CoreCase{{0, 0, 0, 0}, {0, 0, 100, 0}, 0.0, 0, 0, 100},
                             CoreCase{{5, 5, 5, 5}, {105, 5, 5, 5}, 1.0, 100, 0, 0},
                             // The largest possible deltas stay exact in double precision.
                             CoreCase{{1, 1, 1, 1}, {0, 0, 0, 0}, 0.75, 50, 25, 25}));

TEST(LiveSample, ManyCoresSumToHundred) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::uint32_t> any;
    std::uniform_int_distribution<std::uint32_t> step(0, 2000);
    std::vector<CpuTicks> prev(16);
    for (auto& t : prev)
        t = {any(rng), any(rng), any(rng), any(rng)};
    for (int round = 0; round < 50; ++round) {
        std::vector<CpuTicks> cur = prev;
        for (auto& t : cur) {
            t.user += step(rng);  // wraps modulo 2^32 like the kernel's counters
            t.system += step(rng);
            t.idle += step(rng);
            t.nice += step(rng) / 10;
        }
        const LiveSample s = computeLive(LiveMetrics(), prev, 0, ticksOnly(cur));
        const LiveMetrics& m = s.metrics;
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
    LiveInputs in;  // no counters
    const LiveSample s = computeLive(previous, {{1, 1, 1, 1}, {2, 2, 2, 2}}, 0, in);
    EXPECT_FALSE(s.ticks.has_value());
    EXPECT_EQ(s.metrics.perCore, previous.perCore);
    EXPECT_EQ(s.metrics.cpuUserPct, 10);

    // Zero processors is a successful read with nothing in it.
    const LiveSample none = computeLive(previous, {}, 0, ticksOnly({}));
    ASSERT_TRUE(none.ticks.has_value());
    EXPECT_TRUE(none.ticks->empty());
    EXPECT_EQ(none.metrics.perCore, previous.perCore);
}

TEST(LiveSample, MemoryExample) {
    const LiveSample s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(exampleVm(), 1234));
    const LiveMetrics& m = s.metrics;
    EXPECT_EQ(m.memTotalBytes, kGiB16);
    EXPECT_EQ(m.memAppBytes, 900 * 16384);
    EXPECT_EQ(m.memUsedBytes, 1400 * 16384);
    EXPECT_EQ(m.memCachedBytes, 650 * 16384);
    EXPECT_EQ(m.memWiredBytes, 400 * 16384);
    EXPECT_EQ(m.memCompressedBytes, 100 * 16384);
    EXPECT_EQ(m.swapUsedBytes, 1234);
    const double total = static_cast<double>(kGiB16);
    EXPECT_DOUBLE_EQ(m.memPressure, (500.0 * 16384) / total + 0.5 * (900.0 * 16384) / total);
    EXPECT_FALSE(s.ticks.has_value());
}

TEST(LiveSample, AppMemoryNeverNegativeAndPressureCapped) {
    VmStats vm = exampleVm();
    vm.active = 100;
    vm.inactive = 100;
    vm.external = 600;
    LiveSample s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm));
    EXPECT_EQ(s.metrics.memAppBytes, 0);
    EXPECT_EQ(s.metrics.memUsedBytes, 500 * 16384);

    vm = exampleVm();
    vm.wire = 2'000'000;  // alone more than the 16 GiB installed
    s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm));
    EXPECT_EQ(s.metrics.memPressure, 1.0);
}

TEST(LiveSample, AbsurdCountersSaturate) {
    VmStats vm;
    vm.pageSize = 16384;
    vm.active = std::numeric_limits<std::uint64_t>::max();
    vm.inactive = std::numeric_limits<std::uint64_t>::max();
    vm.wire = std::uint64_t{1} << 60;
    vm.compressor = 1;
    vm.purgeable = std::uint64_t{1} << 50;
    vm.external = std::uint64_t{1} << 50;
    LiveSample s = computeLive(LiveMetrics(), {}, kGiB16,
                               vmOnly(vm, std::numeric_limits<std::uint64_t>::max()));
    const LiveMetrics& m = s.metrics;
    EXPECT_EQ(m.memWiredBytes, kMax);
    EXPECT_EQ(m.memCachedBytes, kMax);
    EXPECT_EQ(m.memCompressedBytes, 16384);
    EXPECT_EQ(m.memAppBytes, kMax);
    EXPECT_EQ(m.memUsedBytes, kMax);
    EXPECT_EQ(m.swapUsedBytes, kMax);
    EXPECT_EQ(m.memPressure, 1.0);

    // A sum beyond 64 bits whose difference fits: the true difference.
    vm = VmStats{};
    vm.pageSize = 4096;
    vm.active = std::uint64_t{1} << 50;  // 2^62 bytes
    vm.inactive = std::uint64_t{1} << 50;
    vm.external = std::uint64_t{1} << 40;
    s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm));
    EXPECT_EQ(s.metrics.memAppBytes, kMax - (std::int64_t{1} << 52) + 1);
    EXPECT_EQ(s.metrics.memUsedBytes, s.metrics.memAppBytes);
}

TEST(LiveSample, PageSizeExtremes) {
    VmStats vm = exampleVm();
    vm.pageSize = 0;
    LiveSample s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm, 0));
    EXPECT_EQ(s.metrics.memUsedBytes, 0);
    EXPECT_EQ(s.metrics.memPressure, 0);

    vm.pageSize = std::numeric_limits<std::uint64_t>::max();
    vm.compressor = 0;
    s = computeLive(LiveMetrics(), {}, kGiB16, vmOnly(vm, 0));
    EXPECT_EQ(s.metrics.memWiredBytes, kMax);
    EXPECT_EQ(s.metrics.memCompressedBytes, 0);
    EXPECT_EQ(s.metrics.memAppBytes, kMax);
    EXPECT_EQ(s.metrics.memPressure, 1.0);
}

TEST(LiveSample, FailedReadsKeepPreviousValues) {
    LiveMetrics previous;
    previous.memAppBytes = 11;
    previous.memUsedBytes = 22;
    previous.memWiredBytes = 33;
    previous.memCachedBytes = 44;
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
    EXPECT_EQ(s.metrics.memAppBytes, 11);
    EXPECT_EQ(s.metrics.memUsedBytes, 22);
    EXPECT_EQ(s.metrics.memCachedBytes, 44);
    EXPECT_EQ(s.metrics.swapUsedBytes, 66);
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

TEST(LiveSample, CollectReadsInstalledMemoryThenSample) {
    FakePlatform p;
    p.ints["hw.memsize"] = kGiB16;
    LiveInputs in = vmOnly(exampleVm(), 0);
    in.uptime = 5;
    in.cpuTicks = std::vector<CpuTicks>{{1, 2, 3, 4}};
    p.samples = {in};
    const LiveSample s = collectLive(LiveMetrics(), {}, p);
    EXPECT_EQ(s.metrics.memTotalBytes, kGiB16);
    EXPECT_EQ(s.metrics.uptime, 5);
    EXPECT_GT(s.metrics.memPressure, 0);
    EXPECT_EQ(s.ticks, (std::vector<CpuTicks>{{1, 2, 3, 4}}));
}

// Samples a replayed machine the way the service does: each result feeds the next.
std::vector<LiveSample> replayLive(const char* machine, int count) {
    ReplayPlatform platform(std::string(ORVANE_FIXTURES) + "/" + machine);
    std::vector<LiveSample> out;
    LiveMetrics live;
    std::vector<CpuTicks> ticks;
    for (int i = 0; i < count; ++i) {
        LiveSample s = collectLive(live, ticks, platform);
        live = s.metrics;
        if (s.ticks) ticks = *s.ticks;
        out.push_back(std::move(s));
    }
    return out;
}

TEST(LiveSampleReplay, Portable) {
    const auto samples = replayLive("mac-portable", 3);
    const LiveMetrics& first = samples[0].metrics;
    EXPECT_EQ(first.perCore, std::vector<double>(12, 0.0));
    EXPECT_EQ(first.cpuIdlePct, 100);
    EXPECT_EQ(first.memTotalBytes, 34359738368);
    EXPECT_EQ(first.memAppBytes, 780000LL * 16384);
    EXPECT_EQ(first.memUsedBytes, 1030000LL * 16384);
    EXPECT_EQ(first.memCachedBytes, 410000LL * 16384);
    EXPECT_DOUBLE_EQ(first.memPressure, 250000.0 / 2097152 + 0.5 * 780000.0 / 2097152);
    EXPECT_EQ(first.uptime, 93785.5);

    // Every core +30 user, +10 system, +50 idle, +10 nice (core 0's user counter wraps).
    const LiveMetrics& second = samples[1].metrics;
    EXPECT_EQ(second.perCore, std::vector<double>(12, 0.5));
    EXPECT_NEAR(second.cpuUserPct, 40, 1e-9);
    EXPECT_NEAR(second.cpuSystemPct, 10, 1e-9);
    EXPECT_NEAR(second.cpuIdlePct, 50, 1e-9);

    // Performance cores 80 % busy, efficiency cores 10 %; 1 GiB swapped.
    const LiveMetrics& third = samples[2].metrics;
    ASSERT_EQ(third.perCore.size(), 12u);
    EXPECT_DOUBLE_EQ(third.perCore[0], 0.8);
    EXPECT_DOUBLE_EQ(third.perCore[11], 0.1);
    EXPECT_NEAR(third.cpuUserPct, 500.0 / 12, 1e-9);
    EXPECT_NEAR(third.cpuSystemPct, 15, 1e-9);
    EXPECT_NEAR(third.cpuIdlePct, 520.0 / 12, 1e-9);
    EXPECT_EQ(third.swapUsedBytes, 1073741824);
    EXPECT_EQ(third.memAppBytes, 880000LL * 16384);
}

TEST(LiveSampleReplay, DesktopAndOlder) {
    auto samples = replayLive("mac-desktop", 4);  // the last sample repeats
    EXPECT_EQ(samples[1].metrics.perCore, std::vector<double>(10, 0.25));
    EXPECT_EQ(samples[2].metrics.perCore, std::vector<double>(10, 0.75));
    EXPECT_EQ(samples[3].metrics.perCore, std::vector<double>(10, 0.0));
    EXPECT_NEAR(samples[3].metrics.cpuUserPct, 50, 1e-9);  // unchanged counters: kept
    EXPECT_EQ(samples[0].metrics.memAppBytes, 700000LL * 16384);

    samples = replayLive("mac-older", 3);
    EXPECT_EQ(samples[1].metrics.perCore, std::vector<double>(6, 0.6));
    EXPECT_EQ(samples[2].metrics.perCore, std::vector<double>(6, 0.3));
    EXPECT_NEAR(samples[2].metrics.cpuUserPct, 20, 1e-9);
    EXPECT_EQ(samples[0].metrics.swapUsedBytes, 536870912);
    EXPECT_EQ(samples[0].metrics.memAppBytes, 2500000LL * 4096);
}

TEST(LiveSampleReplay, BrokenAndFailed) {
    auto samples = replayLive("mac-broken", 3);
    EXPECT_FALSE(samples[0].ticks.has_value());
    EXPECT_TRUE(samples[0].metrics.perCore.empty());
    EXPECT_EQ(samples[0].metrics.memUsedBytes, 0);
    EXPECT_EQ(samples[0].metrics.memTotalBytes, 0);  // no "hw.memsize"
    EXPECT_EQ(samples[0].metrics.uptime, 43);
    // Page counts in the second sample: categories, but no pressure without a total.
    EXPECT_EQ(samples[1].metrics.memUsedBytes, 1400 * 16384);
    EXPECT_EQ(samples[1].metrics.memPressure, 0);
    EXPECT_EQ(samples[2].metrics.memUsedBytes, 1400 * 16384);  // kept

    samples = replayLive("mac-failed", 2);
    for (const auto& s : samples) {
        EXPECT_FALSE(s.ticks.has_value());
        EXPECT_TRUE(s.metrics.perCore.empty());
        EXPECT_EQ(s.metrics.memTotalBytes, 17179869184);
        EXPECT_EQ(s.metrics.memUsedBytes, 0);
        EXPECT_EQ(s.metrics.cpuIdlePct, 100);
    }
}

}  // namespace
}  // namespace orvane
