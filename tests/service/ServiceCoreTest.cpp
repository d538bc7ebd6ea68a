#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "ServiceFakes.h"
#include "service/SystemService.h"
#include "service/TaskLoop.h"
#include "tests/service/RecordText.h"

using namespace orvane;
using namespace orvane::testing;
using Field = SystemService::Field;
using namespace std::chrono_literals;

namespace {

struct Rig {
    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    TaskLoop main;
    std::shared_ptr<SystemService> svc;
    std::vector<Field> told;

    double now = 100;  // the sample clock

    void start() {
        svc = SystemService::create(platform, main.queue(), [this] { return now; });
        svc->subscribe([this](Field f) { told.push_back(f); });
    }
    std::size_t count(Field f) const { return std::count(told.begin(), told.end(), f); }
    // Takes a live sample at `time` and waits until it is published.
    void sample(double time) {
        const std::size_t before = count(Field::live);
        now = time;
        svc->updateLive();
        ASSERT_TRUE(main.runUntil([&] { return count(Field::live) > before; }));
    }
};

}  // namespace

// Each sample builds on the one before: the first is idle, a failed read keeps the values, a
// changed processor count cannot be compared. The history keeps each second with its gaps.
TEST(ServiceCoreLive, SamplesBuildOnEachOtherAndTheHistoryKeepsTheirGaps) {
    Rig r;
    r.start();
    EXPECT_TRUE(r.svc->live().perCore.empty());  // published by a main-thread task
    ASSERT_TRUE(r.main.runUntil([&] { return r.count(Field::live) == 1; }));
    const LiveMetrics first = r.svc->live();
    EXPECT_TRUE(first.perCore.empty());  // nothing to compare the first ticks with
    EXPECT_EQ(std::tie(first.cpuUserPct, first.cpuSystemPct, first.cpuIdlePct),
              std::make_tuple(0.0, 0.0, 100.0));
    EXPECT_EQ(first.memTotalBytes, 16LL << 30);
    EXPECT_FALSE(r.svc->loaded());
    EXPECT_EQ(r.platform->runs, 0);  // construction runs no tool

    r.sample(101);
    const LiveMetrics second = r.svc->live();
    EXPECT_EQ(std::tie(second.cpuUserPct, second.cpuSystemPct, second.cpuIdlePct),
              std::make_tuple(10.0, 5.0, 85.0));
    EXPECT_EQ(second.perCore, std::vector<double>(4, 0.15));

    r.platform->edit([&](MachineFacts&) { r.platform->failLive = true; });
    r.sample(102);
    LiveMetrics kept = r.svc->live();  // everything but the uptime
    kept.uptime = second.uptime;
    EXPECT_EQ(record_text::describe(kept), record_text::describe(second));
    r.platform->edit([&](MachineFacts&) { r.platform->failLive = false, r.platform->cores = 6; });
    for (double t : {103, 104, 106})
        r.sample(t);

    const LiveHistory& h = r.svc->history();
    std::string cpu, mem;
    for (std::uint64_t i = h.begin(); i < h.end(); ++i) {
        cpu += h.at(i).cpuKnown ? 'x' : '-';
        mem += h.at(i).memKnown ? 'x' : '-';
    }
    EXPECT_EQ(cpu, "-x--x-x");
    EXPECT_EQ(mem, "xx-xx-x");
    EXPECT_FLOAT_EQ(h.newest().cpuSystem, 0.05f);
    EXPECT_EQ(h.newest().memUsedBytes, r.svc->live().memUsedBytes);
}

// Each assignment stores, then tells every observer once (an unsubscribed one not at all).
// Quick refreshes queue full loads that each publish, in order, with `loaded` last.
TEST(ServiceCoreLoad, QuickRefreshesStoreThenTellInOrder) {
    Rig r;
    r.start();
    std::vector<std::string> seen;
    r.svc->subscribe([&](Field f) {
        if (f == Field::hardware) seen.push_back(r.svc->hardware().hostname);
        if (f == Field::loaded) seen.push_back(r.svc->loaded() ? "loaded" : "not loaded");
        if (f == Field::live) seen.push_back(std::to_string(r.svc->live().perCore.size()));
    });
    int unsubscribedCalls = 0;
    r.svc->unsubscribe(r.svc->subscribe([&](Field) { ++unsubscribedCalls; }));
    ASSERT_TRUE(r.main.runUntil([&] { return r.count(Field::live) == 1; }));
    for (int i = 0; i < 3; ++i)
        r.svc->refresh();
    EXPECT_FALSE(r.svc->loaded());
    ASSERT_TRUE(
        r.main.runUntil([&] { return r.count(Field::loaded) == 3 && r.count(Field::live) == 4; }));
    // The live samples land between the loads.
    std::erase_if(seen, [](const std::string& s) { return s == "0" || s == "4"; });
    EXPECT_EQ(seen, (std::vector<std::string>{"host-1", "loaded", "host-2", "loaded", "host-3",
                                              "loaded"}));
    std::erase(r.told, Field::live);
    const std::vector<Field> load = {Field::hardware, Field::battery,  Field::volumes,
                                     Field::displays, Field::graphics, Field::loaded};
    std::vector<Field> three;
    for (int i = 0; i < 3; ++i)
        three.insert(three.end(), load.begin(), load.end());
    EXPECT_EQ(r.told, three);
    EXPECT_EQ(r.platform->samples, 4);  // construction + one per refresh
    EXPECT_EQ(unsubscribedCalls, 0);
}

// Collectors that throw publish their records' defaults, and the worker goes on to the next
// load. (Tools that print nothing: the mac-failed capture's record.)
TEST(ServiceCoreLoad, ThrowingCollectorsPublishDefaults) {
    Rig r;
    r.start();
    r.platform->throwInTools = true;
    r.svc->loadAll();
    ASSERT_TRUE(r.main.runUntil([&] { return r.svc->loaded(); }));
    EXPECT_EQ(record_text::describe(r.svc->hardware()), record_text::describe(HardwareInfo()));
    EXPECT_EQ(record_text::describe(r.svc->battery()), record_text::describe(BatteryInfo()));
    EXPECT_TRUE(r.svc->volumes().empty() && r.svc->displays().empty() && r.svc->graphics().empty());
    r.platform->throwInTools = false;
    r.platform->edit([](MachineFacts& f) { f.hardware.modelName = "MacBook Pro"; });
    r.svc->loadAll();
    ASSERT_TRUE(r.main.runUntil([&] { return r.svc->hardware().modelName == "MacBook Pro"; }));
}

TEST(ServiceCoreDynamic, OnlyOnePendingWhileAFullLoadRunsAndNeverTouchesTheRest) {
    Rig r;
    r.platform->delay = 20ms;
    r.start();
    ASSERT_TRUE(r.main.runUntil([&] { return r.count(Field::live) == 1; }));
    r.told.clear();
    r.platform->edit([](MachineFacts& f) {
        f.volumes.emplace_back().name = "Data";
        f.volumes.back().totalBytes = 100;
    });
    r.svc->refreshDynamic();
    r.svc->loadAll();
    r.svc->refreshDynamic();
    r.svc->refreshDynamic();
    ASSERT_TRUE(r.main.runUntil([&] { return r.svc->loaded(); }));
    // The first dynamic refresh, then the full load; the calls in between were ignored.
    EXPECT_EQ(r.told,
              (std::vector<Field>{Field::battery, Field::volumes, Field::displays, Field::graphics,
                                  Field::hardware, Field::battery, Field::volumes, Field::displays,
                                  Field::graphics, Field::loaded}));
    EXPECT_EQ(r.svc->volumes().size(), 1u);
    // The flag is clear again: the next call queues a new one.
    r.told.clear();
    r.svc->refreshDynamic();
    ASSERT_TRUE(r.main.runUntil([&] { return r.count(Field::graphics) == 1; }));
    EXPECT_EQ(r.told.size(), 4u);
}

// However much work is queued when the service goes, and whether the tasks holding it run or
// are dropped (as at application exit), the service ends and every queued item lets go of the
// platform: nothing reads on after it.
TEST(ServiceCoreLifetime, NothingOutlivesTheService) {
    for (int round = 0; round < 20; ++round) {
        auto platform = std::make_shared<FakePlatform>();
        platform->delay = std::chrono::microseconds(100 * (round % 5));
        TaskLoop main;
        auto svc = SystemService::create(platform, main.queue());
        const std::weak_ptr<SystemService> weak = svc;
        for (int i = 0; i < 20; ++i) {
            svc->loadAll();
            svc->refreshDynamic();
            svc->updateLive();
            if (i % 7 == 0) main.runPending();
        }
        // Stopped as at quit, nothing queued is kept and the running read has ended: only the
        // service still holds the platform, and no worker is left to destroy the service.
        const bool stopped = round % 4 >= 2;
        if (stopped) svc->stop();
        EXPECT_TRUE(!stopped || platform.use_count() == 2);
        svc.reset();
        if (round % 2) main.clear();
        // A task posted by an item that was running may hold the service a little longer.
        ASSERT_TRUE(main.runUntil([&] { return weak.expired(); }, 10s));
        for (int i = 0; i < 5000 && !stopped && platform.use_count() > 1; ++i)
            std::this_thread::sleep_for(1ms);
        EXPECT_EQ(platform.use_count(), 1);
    }
}

// Entry points in random order against a slow platform: every full load publishes in order,
// the last dynamic refresh finishes, every live sample lands, and the main thread never reads
// the platform.
TEST(ServiceCoreStress, InterleavedEntryPointsWithASlowPlatform) {
    Rig r;
    r.platform->delay = 100us;
    r.start();
    // The journal's steps share the collect queue: switched on and off and cleared meanwhile.
    JournalKeeper::Options o;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("orvane-stress-" + std::to_string(std::random_device()()));
    o.journal = dir / "journal.sqlite";
    o.stableId = [] { return "stress"; };
    r.svc->keepJournal(std::make_shared<JournalKeeper>(o), nullptr);
    std::mt19937 rng(7);
    int fullLoads = 0, samples = 1;
    for (int i = 0; i < 3000; ++i) {
        switch (rng() % 6) {
            case 4:
                r.svc->setJournalRecording(rng() % 2);
                break;
            case 5:
                if (rng() % 16 == 0) r.svc->clearJournal();
                break;
            case 0:
                r.svc->loadAll();
                ++fullLoads;
                break;
            case 1:
                r.svc->refresh();
                ++fullLoads, ++samples;
                break;
            case 2:
                r.svc->refreshDynamic();
                break;
            default:
                r.svc->updateLive();
                ++samples;
                break;
        }
        if (rng() % 8 == 0) r.main.runPending();
    }
    ASSERT_TRUE(r.main.runUntil(
        [&] {
            return r.count(Field::hardware) == std::size_t(fullLoads) &&
                   r.count(Field::live) == std::size_t(samples);
        },
        120s));
    r.svc->refreshDynamic();
    const std::size_t before = r.count(Field::battery);
    ASSERT_TRUE(r.main.runUntil([&] { return r.count(Field::battery) > before; }, 120s));
    EXPECT_TRUE(r.svc->loaded());
    EXPECT_EQ(r.svc->live().perCore.size(), 4u);
    EXPECT_EQ(r.svc->hardware().hostname, "host-" + std::to_string(fullLoads));
    EXPECT_EQ(r.platform->readsOnMain, 0);
    EXPECT_GT(r.count(Field::journal), 0u);
    std::filesystem::remove_all(dir);
}
