#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ServiceFakes.h"
#include "service/LiveHistory.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

// A sample at `time` whose processor busy share is `cpu` (negative: not measured).
HistoryPoint at(double time, double cpu) {
    HistoryPoint p;
    p.time = time;
    p.cpuKnown = cpu >= 0;
    p.cpuUser = static_cast<float>(cpu >= 0 ? cpu : 0);
    p.memKnown = true;
    p.memUsed = 0.5f;
    return p;
}

// The held slots, oldest first: the busy share in percent, or -1 for a second without one.
std::vector<int> busyOf(const LiveHistory& h) {
    std::vector<int> out;
    for (std::uint64_t i = h.begin(); i < h.end(); ++i)
        out.push_back(h.at(i).cpuKnown ? static_cast<int>(std::lround(h.at(i).cpuBusy() * 100))
                                       : -1);
    return out;
}

std::vector<int> upTo(int first, int last) {
    std::vector<int> v;
    for (int i = first; i <= last; ++i)
        v.push_back(i % 100);
    return v;
}

}  // namespace

TEST(LiveHistory, SlotsFollowTheClock) {
    struct Case {
        std::string name;
        std::vector<std::pair<double, double>> samples;  // time, busy share
        std::vector<int> busy;                           // what is held afterwards
        std::uint64_t begin;
        double average, peak;
    };
    std::vector<std::pair<double, double>> longRun;
    for (int t = 0; t < 130; ++t)
        longRun.push_back({t, (t % 100) / 100.0});
    const std::vector<Case> cases = {
        {"steady with timer jitter", {{0, .1}, {1.4, .2}, {2.1, .3}}, {10, 20, 30}, 0, .2, .3},
        {"a missed second leaves a gap",
         {{0, .1}, {1, .2}, {4, .4}},
         {10, 20, -1, -1, 40},
         0,
         7 / 30.0,
         .4},
        {"a sample within half a second replaces the newest, keeping what it did not measure",
         {{0, .1}, {1, .2}, {1.3, -1}},
         {10, 20},
         0,
         .15,
         .2},
        {"a clock going backwards starts afresh",
         {{0, .1}, {1, .2}, {2, .3}, {1, .5}},
         {50},
         3,
         .5,
         .5},
        {"a pause longer than the ring starts afresh",
         {{0, .1}, {1, .2}, {200, .6}},
         {60},
         2,
         .6,
         .6},
        {"wrap-around keeps the newest 120", longRun, upTo(10, 129), 10, .445, .99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LiveHistory h;
        for (const auto& [time, cpu] : c.samples)
            h.append(at(time, cpu));
        EXPECT_EQ(busyOf(h), c.busy);
        EXPECT_EQ(h.begin(), c.begin);
        EXPECT_NEAR(h.cpuStats().average, c.average, 1e-6);
        EXPECT_NEAR(h.cpuStats().peak, c.peak, 1e-6);
    }
}

// The service keeps the history from its first sample on; a second whose processor read failed
// or whose processor count changed (no comparable ticks) is a gap in the processor series.
TEST(LiveHistory, ServiceRecordsEverySampleWithItsGaps) {
    auto platform = std::make_shared<FakePlatform>();
    TestMainQueue main;
    double now = 100;
    auto svc = SystemService::create(platform, main.queue(), [&] { return now; });
    auto step = [&](double t, auto change) {
        now = t;
        change();
        svc->updateLive();
    };
    step(101, [] {});
    step(102, [&] { platform->cores = 6; });
    step(103, [] {});
    step(104, [&] { platform->failLive = true; });
    step(106, [&] { platform->failLive = false; });
    main.runPending();

    const LiveHistory& h = svc->history();
    std::string cpu, mem;
    for (std::uint64_t i = h.begin(); i < h.end(); ++i) {
        cpu += h.at(i).cpuKnown ? 'x' : '-';
        mem += h.at(i).memKnown ? 'x' : '-';
    }
    EXPECT_EQ(cpu, "-x-x--x");
    EXPECT_EQ(mem, "xxxx--x");
    EXPECT_FLOAT_EQ(h.newest().cpuUser, 0.10f);
    EXPECT_FLOAT_EQ(h.newest().cpuSystem, 0.05f);
    EXPECT_EQ(h.newest().memUsedBytes, svc->live().memUsedBytes);
}
