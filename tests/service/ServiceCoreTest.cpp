#include <gtest/gtest.h>

#include <random>

#include "ServiceFakes.h"
#include "service/SystemService.h"

using namespace orvane;
using namespace orvane::testing;
using Field = SystemService::Field;
using namespace std::chrono_literals;

namespace {

struct Rig {
    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    TestMainQueue main;
    std::shared_ptr<SystemService> svc;
    std::vector<Field> told;

    void start() {
        svc = SystemService::create(platform, main.queue());
        svc->subscribe([this](Field f) { told.push_back(f); });
    }
};

}  // namespace

TEST(ServiceCoreConstruction, FirstSampleIsZerosPerCoreAndIdle) {
    Rig r;
    r.start();
    EXPECT_EQ(r.platform->samples, 1);
    EXPECT_TRUE(r.svc->live().perCore.empty());  // published by a main-thread task
    r.main.runPending();
    const LiveMetrics& l = r.svc->live();
    EXPECT_EQ(l.perCore, std::vector<double>(4, 0.0));
    EXPECT_EQ(l.cpuUserPct, 0);
    EXPECT_EQ(l.cpuSystemPct, 0);
    EXPECT_EQ(l.cpuIdlePct, 100);
    EXPECT_EQ(l.memTotalBytes, 16LL << 30);
    EXPECT_FALSE(r.svc->loaded());
    EXPECT_EQ(r.platform->runs, 0);  // construction runs no tool
}

TEST(ServiceCoreLive, SecondSampleHasRealPercentages) {
    Rig r;
    r.start();
    r.svc->updateLive();
    r.main.runPending();
    const LiveMetrics& l = r.svc->live();
    EXPECT_DOUBLE_EQ(l.cpuUserPct, 10);
    EXPECT_DOUBLE_EQ(l.cpuSystemPct, 5);
    EXPECT_DOUBLE_EQ(l.cpuIdlePct, 85);
    EXPECT_EQ(l.perCore, std::vector<double>(4, 0.15));
}

TEST(ServiceCoreLive, FailedProcessorReadKeepsEverything) {
    Rig r;
    r.start();
    r.svc->updateLive();
    r.main.runPending();
    const LiveMetrics before = r.svc->live();
    r.platform->failLive = true;
    r.svc->updateLive();
    r.main.runPending();
    EXPECT_EQ(r.svc->live().perCore, before.perCore);
    EXPECT_EQ(r.svc->live().cpuUserPct, before.cpuUserPct);
    EXPECT_EQ(r.svc->live().memUsedBytes, before.memUsedBytes);
}

TEST(ServiceCoreLoad, LoadedOnlyAfterAFullLoadPublishesInOrder) {
    Rig r;
    r.start();
    r.main.runPending();
    r.told.clear();
    r.svc->loadAll();
    EXPECT_FALSE(r.svc->loaded());
    ASSERT_TRUE(r.main.runUntil([&] { return r.svc->loaded(); }));
    EXPECT_EQ(r.told, (std::vector<Field>{Field::hardware, Field::battery, Field::volumes,
                                          Field::displays, Field::graphics, Field::loaded}));
}

TEST(ServiceCoreLoad, EverythingFailingStillPublishesFallbacks) {
    Rig r;
    r.start();
    r.svc->loadAll();
    ASSERT_TRUE(r.main.runUntil([&] { return r.svc->loaded(); }));
    const HardwareInfo& h = r.svc->hardware();
    EXPECT_EQ(h.modelName, "Mac");
    EXPECT_EQ(h.chip, "");
    EXPECT_EQ(h.totalCores, 4);  // from hw.ncpu
    EXPECT_EQ(h.memoryGB, "17 GB");
    EXPECT_EQ(h.memoryType, "Unified Memory");
    EXPECT_FALSE(r.svc->battery().present);
    EXPECT_EQ(r.svc->battery().condition, "-");
    EXPECT_TRUE(r.svc->volumes().empty());
    EXPECT_TRUE(r.svc->displays().empty());
    EXPECT_TRUE(r.svc->graphics().empty());
}

TEST(ServiceCoreLoad, ThrowingCollectorsFallBackAndTheWorkerSurvives) {
    Rig r;
    r.start();
    r.platform->throwInTools = true;
    r.svc->loadAll();
    ASSERT_TRUE(r.main.runUntil([&] { return r.svc->loaded(); }));
    EXPECT_EQ(r.svc->hardware().modelName, "Mac");
    r.platform->throwInTools = false;
    r.platform->edit([](MachineFacts& f) { f.hardware.modelName = "MacBook Pro"; });
    r.svc->loadAll();
    ASSERT_TRUE(r.main.runUntil([&] { return r.svc->hardware().modelName == "MacBook Pro"; }));
}

TEST(ServiceCoreLoad, ThreeQuickRefreshesPublishThreeTimesInOrder) {
    Rig r;
    r.start();
    r.main.runPending();
    std::vector<std::string> hosts;
    std::vector<bool> loadedAtHardware;
    r.svc->subscribe([&](Field f) {
        // Told before the value is stored: record the next published value afterwards.
        if (f == Field::battery) hosts.push_back(r.svc->hardware().hostname);
        if (f == Field::hardware) loadedAtHardware.push_back(r.svc->loaded());
    });
    r.svc->refresh();
    r.svc->refresh();
    r.svc->refresh();
    ASSERT_TRUE(r.main.runUntil([&] { return hosts.size() == 3; }));
    EXPECT_EQ(hosts, (std::vector<std::string>{"host-1", "host-2", "host-3"}));
    EXPECT_EQ(loadedAtHardware, (std::vector<bool>{false, true, true}));
    EXPECT_TRUE(r.svc->loaded());
    EXPECT_EQ(r.platform->samples, 4);  // construction + one per refresh
}

TEST(ServiceCoreObservers, ToldOncePerAssignmentBeforeTheValueIsStored) {
    Rig r;
    r.start();
    std::vector<double> seenIdle;
    r.svc->subscribe([&](Field f) {
        if (f == Field::live) seenIdle.push_back(r.svc->live().perCore.size());
    });
    r.main.runPending();
    EXPECT_EQ(seenIdle, std::vector<double>{0});  // old value (empty list) while being told
    EXPECT_EQ(r.svc->live().perCore.size(), 4u);
}

TEST(ServiceCoreObservers, UnsubscribedObserverIsNotCalled) {
    Rig r;
    r.start();
    int calls = 0;
    const int token = r.svc->subscribe([&](Field) { ++calls; });
    r.svc->unsubscribe(token);
    r.main.runPending();
    EXPECT_EQ(calls, 0);
}

TEST(ServiceCoreDynamic, OnlyOnePendingWhileAFullLoadRuns) {
    Rig r;
    r.platform->delay = 20ms;
    r.start();
    r.main.runPending();
    r.svc->loadAll();
    r.svc->refreshDynamic();
    r.svc->refreshDynamic();
    r.svc->refreshDynamic();
    std::vector<Field> fields;
    r.svc->subscribe([&](Field f) { fields.push_back(f); });
    ASSERT_TRUE(r.main.runUntil(
        [&] { return std::count(fields.begin(), fields.end(), Field::battery) == 2; }));
    r.main.runPending();
    // One full load (hardware + battery...) and exactly one dynamic refresh after it.
    EXPECT_EQ(std::count(fields.begin(), fields.end(), Field::hardware), 1);
    EXPECT_EQ(std::count(fields.begin(), fields.end(), Field::battery), 2);
    EXPECT_EQ(std::count(fields.begin(), fields.end(), Field::loaded), 1);
    EXPECT_EQ(fields.back(), Field::graphics);  // the dynamic refresh came last
    // The flag is clear again: the next call queues a new one.
    fields.clear();
    r.svc->refreshDynamic();
    ASSERT_TRUE(
        r.main.runUntil([&] { return !fields.empty() && fields.back() == Field::graphics; }));
}

TEST(ServiceCoreDynamic, NeverTouchesHardwareLiveOrLoaded) {
    Rig r;
    r.start();
    r.main.runPending();
    r.told.clear();
    r.platform->edit([](MachineFacts& f) {
        f.volumes.emplace_back().name = "Data";
        f.volumes.back().totalBytes = 100;
    });
    r.svc->refreshDynamic();
    ASSERT_TRUE(r.main.runUntil([&] { return r.told.size() == 4; }));
    EXPECT_EQ(r.told, (std::vector<Field>{Field::battery, Field::volumes, Field::displays,
                                          Field::graphics}));
    EXPECT_FALSE(r.svc->loaded());
    EXPECT_EQ(r.svc->hardware().modelName, "Mac");
    EXPECT_EQ(r.svc->hardware().hostname, "");
    ASSERT_EQ(r.svc->volumes().size(), 1u);
}

TEST(ServiceCoreLifetime, DestroyingWithWorkQueuedRunsNoCollectorAfterwards) {
    for (int round = 0; round < 20; ++round) {
        auto platform = std::make_shared<FakePlatform>();
        platform->delay = 2ms;
        TestMainQueue main;
        {
            auto svc = SystemService::create(platform, main.queue());
            for (int i = 0; i < 5; ++i) {
                svc->loadAll();
                svc->refreshDynamic();
            }
            main.clear();  // drop the tasks holding the service, as at application exit
        }
        const int runsAtDestruction = platform->runs;
        std::this_thread::sleep_for(30ms);
        EXPECT_EQ(platform->runs, runsAtDestruction);
        main.runPending();  // tasks posted by an item that was running: harmless
    }
}

TEST(ServiceCoreStress, InterleavedEntryPointsWithASlowPlatform) {
    Rig r;
    r.platform->delay = 100us;  // every tool takes a while: items pile up behind each other
    r.start();
    std::mt19937 rng(7);
    int fullLoads = 0, hardwarePublished = 0, dynamicPublished = 0;
    r.svc->subscribe([&](Field f) {
        if (f == Field::hardware) ++hardwarePublished;
        if (f == Field::battery) ++dynamicPublished;
    });
    for (int i = 0; i < 3000; ++i) {
        switch (rng() % 4) {
            case 0:
                r.svc->loadAll();
                ++fullLoads;
                break;
            case 1:
                r.svc->refresh();
                ++fullLoads;
                break;
            case 2:
                r.svc->refreshDynamic();
                break;
            default:
                r.svc->updateLive();
                break;
        }
        if (rng() % 8 == 0) r.main.runPending();
    }
    // Every full load queued publishes, in order, and the last dynamic refresh finishes.
    ASSERT_TRUE(r.main.runUntil([&] { return hardwarePublished == fullLoads; }, 120s));
    r.svc->refreshDynamic();
    const int before = dynamicPublished;
    ASSERT_TRUE(r.main.runUntil([&] { return dynamicPublished > before; }, 120s));
    EXPECT_TRUE(r.svc->loaded());
    EXPECT_EQ(r.svc->live().perCore.size(), 4u);
    EXPECT_EQ(r.svc->hardware().hostname, "host-" + std::to_string(fullLoads));
}

TEST(ServiceCoreStress, DestroyFromAnyMomentUnderLoad) {
    for (int round = 0; round < 30; ++round) {
        auto platform = std::make_shared<FakePlatform>();
        TestMainQueue main;
        auto svc = SystemService::create(platform, main.queue());
        for (int i = 0; i < 50; ++i) {
            svc->loadAll();
            svc->refreshDynamic();
            svc->updateLive();
            if (i % 10 == 0) main.runPending();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100 * round));
        svc.reset();        // main-thread tasks may still hold it
        main.runPending();  // the last holder may be a task: the service dies here
        main.runPending();
    }
}
