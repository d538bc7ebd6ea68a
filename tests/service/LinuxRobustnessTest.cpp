// The Linux platform on bad input: garbage, huge, binary, looping, blocking or missing files,
// bytes that are not text, a filesystem whose size query hangs, and concurrent callers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>
#include <thread>

#include "service/Collectors.h"
#include "service/platform/linux/ProcFile.h"
#include "tests/service/LinuxTestSupport.h"

namespace orvane {
namespace {

using namespace linux_test;
using namespace std::chrono_literals;

// Every text of the records is valid UTF-8: the report prints them as JSON, which refuses
// anything else.
void expectTextRecords(const Platform& p) {
    const HardwareInfo hw = collectHardware(p.hardware());
    const BatteryInfo b = collectBattery(p.power());
    nlohmann::json j = {hw.modelName,  hw.modelIdentifier, hw.chip,      hw.memoryGB,
                        hw.memoryType, hw.serialNumber,    hw.macOSName, hw.macOSVersion,
                        hw.macOSBuild, hw.hostname,        b.serial,     b.condition};
    for (const VolumeInfo& v : collectVolumes(p.volumes()))
        j.push_back({v.name, v.mountPoint, v.fileSystem});
    const auto [displays, graphics] = collectDisplays(p.graphics());
    for (const DisplayInfo& d : displays)
        j.push_back({d.name, d.resolution, d.uiResolution, d.refreshRate, d.connectionType});
    for (const GraphicsInfo& g : graphics)
        j.push_back({g.name, g.vendor});
    EXPECT_NO_THROW(j.dump());
}

// A gate that holds size queries of one path until opened.
struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::atomic<int> calls{0};

    void wait() {
        ++calls;
        std::unique_lock lock(mutex);
        opened.wait(lock, [&] { return open; });
    }
    void release() {
        std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};

TEST(LinuxFsSpaceProbe, HungQueryIsSkippedUntilItReturns) {
    auto gate = std::make_shared<Gate>();
    FsSpaceProbe probe(
        [gate](const std::string& path) -> std::optional<FsSpace> {
            if (path == "/hung") {
                gate->wait();
                return FsSpace{2, 1};
            }
            if (path == "/fails") return std::nullopt;
            if (path == "/throws") throw std::runtime_error("no");
            return FsSpace{10, 5};
        },
        100ms);

    using Answers = std::vector<std::optional<FsSpace>>;
    EXPECT_EQ(probe.query({"/", "/hung", "/fails", "/throws", "/b"}),
              (Answers{FsSpace{10, 5}, {}, {}, {}, FsSpace{10, 5}}));
    // While the first query hangs, the path is not asked again: no thread piles up.
    EXPECT_EQ(probe.query({"/hung", "/"}), (Answers{{}, FsSpace{10, 5}}));
    EXPECT_EQ(gate->calls, 1);

    gate->release();
    std::optional<FsSpace> late;
    for (int i = 0; i < 500 && !late; ++i) {
        late = probe.query({"/hung"})[0];
        if (!late) std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(late, (FsSpace{2, 1}));

    EXPECT_EQ(FsSpaceProbe(nullptr, 10ms).query({"/", "/b"}), (Answers{{}, {}}));
    EXPECT_TRUE(probe.query({}).empty());
}

TEST(LinuxFsSpaceProbe, ConcurrentCallersShareOneQuery) {
    auto gate = std::make_shared<Gate>();
    FsSpaceProbe probe(
        [gate](const std::string&) -> std::optional<FsSpace> {
            gate->wait();
            return FsSpace{7, 3};
        },
        10s);
    std::optional<FsSpace> first;
    std::optional<FsSpace> second;
    std::thread a([&] { first = probe.query({"/slow"})[0]; });
    while (gate->calls == 0)
        std::this_thread::sleep_for(1ms);
    std::thread b([&] { second = probe.query({"/slow"})[0]; });
    std::this_thread::sleep_for(20ms);  // let the second caller find the running query
    gate->release();
    a.join();
    b.join();
    EXPECT_EQ(first, (FsSpace{7, 3}));
    EXPECT_EQ(second, (FsSpace{7, 3}));
    EXPECT_EQ(gate->calls, 1);
}

TEST(LinuxFsSpaceProbe, QueryOutlivingTheProbe) {
    auto gate = std::make_shared<Gate>();
    {
        FsSpaceProbe probe(
            [gate](const std::string&) -> std::optional<FsSpace> {
                gate->wait();
                return FsSpace{1, 1};
            },
            20ms);
        EXPECT_FALSE(probe.query({"/x"})[0]);
    }
    gate->release();  // the thread finishes after the probe is gone
    for (int i = 0; i < 100 && gate.use_count() > 1; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(gate.use_count(), 1);
}

TEST(LinuxStorageHang, HungMountDoesNotStallTheCollection) {
    auto gate = std::make_shared<Gate>();
    LinuxPlatformOptions options;
    options.fsSpace = [gate](const std::string& path) -> std::optional<FsSpace> {
        if (path == "/mnt/hung") gate->wait();
        return FsSpace{100'000'000'000, 50'000'000'000};
    };
    options.fsSpaceTimeout = 100ms;
    LinuxPlatform platform(fixtureTree("laptop-charge"), options);

    for (int round = 0; round < 3; ++round) {
        std::vector<std::string> points;
        for (const VolumeFacts& v : platform.volumes())
            points.push_back(v.mountPoint);
        EXPECT_EQ(points,
                  (std::vector<std::string>{"/", "/boot", "/boot/efi", "/run/media/dana/CARD"}));
    }
    EXPECT_EQ(gate->calls, 1);
    gate->release();
}

// ---- odd files -----------------------------------------------------------------------------

TEST(LinuxBadFiles, FifosDirectoriesLoopsAndNamesThatAreNotText) {
    ScratchTree tree;
    tree.copyFrom(fixtureTree("laptop"));
    for (const char* rel : {"proc/meminfo", "etc/os-release", "proc/sys/kernel/hostname",
                            "sys/class/power_supply/BAT0/status", "sys/class/drm/card0-DP-1/edid"})
        tree.fifo(rel);
    std::filesystem::remove(tree.root() / "proc/stat");
    tree.dir("proc/stat");
    tree.link("sys/class/block/sda1", "sda1");  // points at itself
    tree.link("dev/disk/by-label/SYSTEM", "SYSTEM");
    // Paths are bytes: a mount point, a file system type and a connector that are not text.
    tree.write("proc/self/mountinfo",
               "1 0 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n"
               "2 0 8:1 / /media/caf\\351 rw - ext\\377 /dev/sda1 rw\n");
    tree.write("sys/class/drm/card0-\xff-1/status", "connected\n");

    LinuxPlatform platform(tree.root(), fixedSizes({{"/", {2, 1}}, {"/media/caf\xe9", {2, 1}}}));
    LiveInputs unread;
    unread.uptime = 93784.52;
    EXPECT_EQ(platform.sampleLive(), unread);
    const HardwareFacts hw = platform.hardware();
    EXPECT_EQ(hw.hostName, "");
    EXPECT_EQ(hw.osName, "Linux");
    EXPECT_FALSE(hw.logicalProcessors);
    const PowerFacts power = platform.power();
    ASSERT_EQ(power.batteries.size(), 1u);
    EXPECT_FALSE(power.batteries[0].charging);  // the status could not be read

    // No EDID: the connector's name and the first mode.
    const std::vector<GpuFacts> gpus = platform.graphics();
    ASSERT_EQ(gpus.size(), 1u);
    ASSERT_EQ(gpus[0].displays.size(), 3u);
    EXPECT_EQ(gpus[0].displays[1].name, "DP-1");
    EXPECT_EQ(gpus[0].displays[1].resolution, "3840 x 2160");
    EXPECT_EQ(gpus[0].displays[2].name, "\uFFFD-1");
    const std::vector<VolumeFacts> volumes = platform.volumes();
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[1], (VolumeFacts{"My Disk", "/media/caf\uFFFD", "ext\uFFFD", 2, 1, true}));
    expectTextRecords(platform);
}

TEST(LinuxBadFiles, HugeFilesAreReadOnlyInPart) {
    ScratchTree tree;
    tree.copyFrom(fixtureTree("laptop"));
    std::string meminfo = "Active: 4096 kB\nInactive: 4096 kB\n";
    while (meminfo.size() < (3u << 20))
        meminfo += "Filler: 1 kB\n";
    meminfo += "SwapTotal: 10 kB\nSwapFree: 5 kB\n";  // beyond the part read
    tree.write("proc/meminfo", meminfo);
    tree.write("proc/cpuinfo", std::string(3u << 20, 'x'));
    tree.write("etc/os-release", "NAME=\"" + std::string(2u << 20, 'n') + "\"\n");
    std::string edid;
    {
        std::ifstream in(fixtureTree("laptop") / "sys/class/drm/card0-DP-1/edid", std::ios::binary);
        edid.assign(std::istreambuf_iterator<char>(in), {});
    }
    tree.write("sys/class/drm/card0-DP-1/edid", edid + std::string(1u << 20, '\xAB'));
    std::string mounts;
    for (int i = 0; i < 40000; ++i)
        mounts += std::to_string(i) + " 1 8:" + std::to_string(i) + " / /m/" + std::to_string(i) +
                  " rw - ext4 /dev/sd" + std::to_string(i) + " rw\n";
    tree.write("proc/self/mountinfo", mounts);

    LinuxPlatformOptions options;
    options.fsSpace = [](const std::string&) { return std::optional<FsSpace>(FsSpace{2, 1}); };
    LinuxPlatform platform(tree.root(), options);
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
        LinuxPlatform platform(tree.root(), fixedSizes({{"/", {1, 1}}}));
        expectTextRecords(platform);
        collectLive(LiveMetrics{}, {}, platform);
    }
}

TEST(LinuxProcFile, RereadsFromTheStartAndRefusesWhatIsNotAFile) {
    ScratchTree tree;
    tree.write("stat", "first\n");
    tree.fifo("fifo");
    tree.dir("dir");
    ProcFile file((tree.root() / "stat").string());
    std::string out = "old";
    ASSERT_TRUE(file.read(out, 1024));
    EXPECT_EQ(out, "first\n");
    tree.write("stat", "second, longer\n");  // rewritten in place, as the kernel does
    ASSERT_TRUE(file.read(out, 1024));
    EXPECT_EQ(out, "second, longer\n");
    ASSERT_TRUE(file.read(out, 6));
    EXPECT_EQ(out, "second");
    ProcFile fifo((tree.root() / "fifo").string());
    EXPECT_FALSE(fifo.read(out, 1024));
    EXPECT_EQ(out, "");
    ProcFile dir((tree.root() / "dir").string());
    EXPECT_FALSE(dir.read(out, 1024));
    ProcFile missing((tree.root() / "missing").string());
    EXPECT_FALSE(missing.read(out, 1024));
    tree.write("missing", "now here\n");  // a failed open is tried again
    EXPECT_TRUE(missing.read(out, 1024));
    EXPECT_EQ(out, "now here\n");
}

// ---- concurrency -------------------------------------------------------------------------

TEST(LinuxConcurrency, CollectionsWhileSampling) {
    const LinuxPlatform platform(fixtureTree("laptop"), treeSizes());
    const LiveInputs live = platform.sampleLive();
    const MachineFacts facts{platform.hardware(), platform.power(), platform.volumes(),
                             platform.graphics(), 0};
    std::atomic<bool> stop{false};
    std::atomic<int> mismatches{0};
    std::thread sampler([&] {
        while (!stop) {
            if (platform.sampleLive() != live) ++mismatches;
            if (platform.installedMemory() != 16LL << 30) ++mismatches;
        }
    });
    std::vector<std::thread> collectors;
    for (int t = 0; t < 2; ++t) {
        collectors.emplace_back([&] {
            for (int i = 0; i < 20; ++i) {
                const MachineFacts again{platform.hardware(), platform.power(), platform.volumes(),
                                         platform.graphics(), 0};
                if (again != facts) ++mismatches;
            }
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
