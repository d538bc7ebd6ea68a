#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "service/LiveHistory.h"

using namespace orvane;

namespace {

// The held slots, oldest first: '-' for a second without a processor share, else its busy
// percentage and a space.
std::string busyOf(const LiveHistory& h) {
    std::string out;
    for (std::uint64_t i = h.begin(); i < h.end(); ++i)
        out += h.at(i).cpuKnown ? std::to_string(std::lround(h.at(i).cpuBusy() * 100)) + " " : "-";
    return out;
}

}  // namespace

TEST(LiveHistory, SlotsFollowTheClock) {
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> samples;  // time, busy share (< 0: not measured)
        std::string busy;                                // what is held afterwards
        std::uint64_t begin;
        double average, peak;
    };
    std::vector<std::pair<double, double>> longRun;
    std::string lastHundredTwenty;
    for (int t = 0; t < 130; ++t) {
        longRun.push_back({t, (t % 100) / 100.0});
        if (t >= 10) lastHundredTwenty += std::to_string(t % 100) + " ";
    }
    const Case cases[] = {
        {"timer jitter", {{0, .1}, {1.4, .2}, {2.1, .3}}, "10 20 30 ", 0, .2, .3},
        {"a missed second", {{0, .1}, {1, .2}, {4, .4}}, "10 20 --40 ", 0, 7 / 30.0, .4},
        {"a second sample in one second keeps what it did not measure",
         {{0, .1}, {1, .2}, {1.3, -1}},
         "10 20 ",
         0,
         .15,
         .2},
        {"the clock going backwards", {{0, .1}, {1, .2}, {2, .3}, {1, .5}}, "50 ", 3, .5, .5},
        {"a pause longer than the ring", {{0, .1}, {1, .2}, {200, .6}}, "60 ", 2, .6, .6},
        {"wrap-around", longRun, lastHundredTwenty, 10, .445, .99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LiveHistory h;
        for (const auto& [time, cpu] : c.samples) {
            HistoryPoint p;
            p.time = time;
            p.cpuKnown = cpu >= 0;
            p.cpuUser = static_cast<float>(std::max(cpu, 0.0));
            h.append(p);
        }
        EXPECT_EQ(busyOf(h), c.busy);
        EXPECT_EQ(h.begin(), c.begin);
        EXPECT_NEAR(h.cpuStats().average, c.average, 1e-6);
        EXPECT_NEAR(h.cpuStats().peak, c.peak, 1e-6);
    }
}
