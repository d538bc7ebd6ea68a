#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "service/Collectors.h"

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
    // No previous ticks (the first sample), a changed processor count, unchanged counters (a
    // replay past its last sample): nothing measured, the previous sample stands whole.
    const std::pair<std::vector<CpuTicks>, std::vector<CpuTicks>> table[] = {
        {std::vector<CpuTicks>(), three}, {two, three}, {two, two}};
    for (const auto& [prev, cur] : table) {
        const LiveSample s = computeLive(previous, prev, 0, ticksOnly(cur));
        EXPECT_EQ(s.metrics.perCore, previous.perCore);
        EXPECT_FALSE(s.cpuMeasured);
        EXPECT_EQ(std::tie(s.metrics.cpuUserPct, s.metrics.cpuSystemPct, s.metrics.cpuIdlePct),
                  std::make_tuple(12.0, 8.0, 80.0));
        EXPECT_EQ(s.ticks, cur);
    }
    // A first sample from the defaults: all idle.
    EXPECT_EQ(computeLive(LiveMetrics(), {}, 0, ticksOnly(three)).metrics.cpuIdlePct, 100);
    // A failed processor read keeps the previous shares (the service test shows it); zero
    // processors is a successful read with nothing in it.
    const LiveSample none = computeLive(previous, {}, 0, ticksOnly({}));
    EXPECT_EQ(none.ticks, std::vector<CpuTicks>{});
    EXPECT_EQ(none.metrics.perCore, previous.perCore);
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

// The memory categories from page counts, over a previous record whose values show what stays.
TEST(LiveSample, MemoryCategories) {
    LiveMetrics previous;
    previous.memAppBytes = 11, previous.memUsedBytes = 22, previous.memCachedBytes = 33;
    previous.memWiredBytes = 44, previous.memCompressedBytes = 55, previous.swapUsedBytes = 66;
    previous.memPressure = 0.4;
    constexpr std::int64_t p = 16384;  // bytes per page of exampleVm()
    constexpr std::int64_t k2p52 = std::int64_t{1} << 52;
    const std::optional<VmStats> ex = exampleVm();
    const auto exMemory = [&](std::int64_t swap) {
        return std::make_tuple(900 * p, 1400 * p, 650 * p, 400 * p, 100 * p, swap);
    };
    VmStats fileBacked = *ex, wired = *ex, noPage = *ex, hugePage = *ex;
    fileBacked.active = fileBacked.inactive = 100;
    wired.wire = 2'000'000;
    noPage.pageSize = 0;
    hugePage.pageSize = kMaxU, hugePage.compressor = 0;
    const VmStats absurd{16384, kMaxU, kMaxU, 1ull << 60, 1ull << 50, 1, 1ull << 50};
    const VmStats wide{4096, 1ull << 50, 1ull << 50, 0, 0, 0, 1ull << 40};
    struct Case {
        const char* name;
        std::optional<VmStats> vm;
        std::optional<std::uint64_t> swap;
        std::int64_t total;
        decltype(memory(previous)) bytes;  // app, used, cached, wired, compressed, swap
        double pressure;
    };
    const Case table[] = {
        {"no page counts: memory and swap stay", std::nullopt, 999, kGiB16, memory(previous), 0.4},
        {"no swap figure: swap stays", ex, std::nullopt, kGiB16, exMemory(66), 15564800.0 / kGiB16},
        {"installed memory unknown: no pressure", ex, 0, 0, exMemory(0), 0.4},
        {"installed memory negative", ex, 0, -1, exMemory(0), 0.4},
        {"more file-backed than in use: no negative app memory",
         fileBacked,
         0,
         kGiB16,
         {0, 500 * p, 650 * p, 400 * p, 100 * p, 0},
         8192000.0 / kGiB16},
        {"wired beyond installed: pressure capped",
         wired,
         0,
         kGiB16,
         {900 * p, 2'001'000 * p, 650 * p, 2'000'000 * p, 100 * p, 0},
         1.0},
        {"absurd counters saturate", absurd, kMaxU, kGiB16, {kMax, kMax, kMax, kMax, p, kMax}, 1.0},
        {"a sum beyond 64 bits whose difference fits",
         wide,
         0,
         kGiB16,
         {kMax - k2p52 + 1, kMax - k2p52 + 1, k2p52, 0, 0, 0},
         1.0},
        {"page size 0", noPage, 0, kGiB16, {0, 0, 0, 0, 0, 0}, 0},
        {"largest page size", hugePage, 0, kGiB16, {kMax, kMax, kMax, kMax, 0, 0}, 1.0},
    };
    for (const Case& c : table) {
        LiveInputs in;
        in.uptime = 11.5;
        in.vm = c.vm;
        in.swapUsed = c.swap;
        const LiveMetrics m = computeLive(previous, {}, c.total, in).metrics;
        EXPECT_EQ(memory(m), c.bytes) << c.name;
        EXPECT_DOUBLE_EQ(m.memPressure, c.pressure) << c.name;
        EXPECT_EQ(std::tie(m.memTotalBytes, m.uptime), std::make_tuple(c.total, 11.5)) << c.name;
    }
}

}  // namespace
}  // namespace orvane
