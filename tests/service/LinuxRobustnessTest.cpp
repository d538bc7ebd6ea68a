// The Linux platform on bad input: blocking, looping, huge or random files, names that are
// not text, a filesystem whose size query hangs, and concurrent callers.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <nlohmann/json.hpp>
#include <random>
#include <thread>

#include "service/Collectors.h"
#include "service/platform/FactsJson.h"
#include "tests/service/LinuxTestSupport.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using namespace linux_test;
using namespace std::chrono_literals;
using record_text::describe;

// Every text of the records is valid UTF-8: the report prints them as JSON, and a strict
// dump refuses anything else.
void expectTextRecords(const Platform& p) {
    const auto [displays, graphics] = collectDisplays(p.graphics());
    const nlohmann::json j = {
        describe(collectHardware(p.hardware())), describe(collectBattery(p.power())),
        describe(collectVolumes(p.volumes())), describe(displays), describe(graphics)};
    EXPECT_NO_THROW(j.dump());
}

// Holds the size queries of /mnt/hung until opened; /boot's query throws.
struct Gate {
    std::promise<void> open;
    std::shared_future<void> opened = open.get_future().share();
    std::atomic<int> calls{0};

    std::optional<FsSpace> query(const std::string& path) {
        if (path == "/boot") throw std::runtime_error("no");
        if (path != "/mnt/hung") return FsSpace{100, 50};
        ++calls;
        opened.wait();
        return FsSpace{2, 1};
    }
};

// A hung query leaves its volume out without stalling the collection, is not asked again
// while it hangs, is used once it returns, and may outlive the platform.
TEST(LinuxStorageHang, HungMountIsSkippedUntilItReturns) {
    LinuxPlatformOptions options;
    options.fsSpaceTimeout = 100ms;
    for (const bool outlive : {false, true}) {
        auto gate = std::make_shared<Gate>();
        options.fsSpace = [gate](const std::string& path) { return gate->query(path); };
        auto platform = std::make_unique<LinuxPlatform>(fixtureTree("laptop-charge"), options);
        options.fsSpace = nullptr;
        for (int round = 0; round < 3; ++round)
            EXPECT_EQ(platform->volumes().size(), 3u);  // no /boot (it throws) nor /mnt/hung
        EXPECT_EQ(gate->calls, 1);
        if (outlive) platform.reset();
        gate->open.set_value();
        const auto done = [&] {
            return platform ? platform->volumes().size() == 4 : gate.use_count() == 1;
        };
        for (int i = 0; i < 500 && !done(); ++i)
            std::this_thread::sleep_for(10ms);
        EXPECT_TRUE(done()) << outlive;
    }
}

TEST(LinuxBadFiles, FifosDirectoriesLoopsAndNamesThatAreNotText) {
    ScratchTree tree;
    tree.copyFrom(fixtureTree("laptop"));
    for (const char* rel : {"proc/meminfo", "etc/os-release", "proc/sys/kernel/hostname",
                            "sys/class/power_supply/BAT0/status", "sys/class/drm/card0-DP-1/edid"})
        tree.fifo(rel);
    tree.dir("proc/stat");
    tree.link("sys/class/block/sda1", "sda1");  // points at itself
    tree.link("dev/disk/by-label/SYSTEM", "SYSTEM");
    // Paths are bytes: a mount point, a file system type and a connector that are not text.
    tree.write("proc/self/mountinfo",
               "1 0 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n"
               "2 0 8:1 / /media/caf\\351 rw - ext\\377 /dev/sda1 rw\n");
    tree.write("sys/class/drm/card0-\xff-1/status", "connected\n");

    // Nothing unreadable is taken for a value: no host name, processors or charging state, no
    // display names from EDID; names that are not text made text.
    const LinuxPlatform platform(tree.root(), pathSizes());
    EXPECT_EQ(platform.sampleLive(), (LiveInputs{93784.52, {}, {}, {}}));
    EXPECT_EQ(factsToJson(factsOf(platform)), readText(fixtureTree("odd-files.facts.json")));
    expectTextRecords(platform);
}

TEST(LinuxBadFiles, HugeFilesAreReadOnlyInPart) {
    ScratchTree tree;
    tree.copyFrom(fixtureTree("laptop"));
    std::string meminfo = "Active: 4096 kB\nInactive: 4096 kB\n";
    while (meminfo.size() < (3u << 20))
        meminfo += "Filler: 1 kB\n";
    tree.write("proc/meminfo", meminfo + "SwapTotal: 10 kB\nSwapFree: 5 kB\n");  // beyond
    tree.write("proc/cpuinfo", std::string(3u << 20, 'x'));
    tree.write("etc/os-release", "NAME=\"" + std::string(2u << 20, 'n') + "\"\n");
    std::ofstream(tree.root() / "sys/class/drm/card0-DP-1/edid", std::ios::app)
        << std::string(1u << 20, '\xAB');
    std::string mounts;
    for (int i = 0; i < 40000; ++i)
        mounts += std::to_string(i) + " 1 8:" + std::to_string(i) + " / /m/" + std::to_string(i) +
                  " rw - ext4 /dev/sd" + std::to_string(i) + " rw\n";
    tree.write("proc/self/mountinfo", mounts);

    const LinuxPlatform platform(tree.root(), pathSizes());
    const LiveInputs in = platform.sampleLive();
    ASSERT_TRUE(in.vm);
    EXPECT_FALSE(in.swapUsed);
    EXPECT_EQ(platform.hardware().chip, "");
    EXPECT_EQ(platform.volumes().size(), 256u);  // at most this many are shown
    const auto [displays, graphics] = collectDisplays(platform.graphics());
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[1].name, "DELL U2720Q");  // the base block is still read
}

TEST(LinuxBadFiles, RandomBytesEverywhere) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 4; ++round) {
        ScratchTree tree;
        tree.copyFrom(fixtureTree(round % 2 ? "laptop-charge" : "laptop"));
        for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.root())) {
            if (!entry.is_regular_file() || entry.is_symlink()) continue;
            std::string bytes(random() % 600, '\0');
            for (char& c : bytes)
                c = static_cast<char>(random() % 4 == 0 ? "0123456789 \n-:x"[random() % 16]
                                                        : random() % 256);
            std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << bytes;
        }
        const LinuxPlatform platform(tree.root(), pathSizes());
        expectTextRecords(platform);
        collectLive(LiveMetrics{}, {}, platform);
    }
}

TEST(LinuxConcurrency, CollectionsWhileSampling) {
    const LinuxPlatform platform(fixtureTree("laptop"), pathSizes());
    const LiveInputs live = platform.sampleLive();
    const MachineFacts facts = factsOf(platform);
    std::atomic<bool> stop{false};
    std::atomic<int> mismatches{0};
    std::thread sampler([&] {
        while (!stop)
            mismatches += platform.sampleLive() != live;
    });
    std::vector<std::thread> collectors;
    for (int t = 0; t < 2; ++t) {
        collectors.emplace_back([&] {
            for (int i = 0; i < 20; ++i)
                mismatches += factsOf(platform) != facts;
        });
    }
    for (auto& c : collectors)
        c.join();
    stop = true;
    sampler.join();
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace orvane
