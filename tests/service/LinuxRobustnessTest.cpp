// The Linux platform on bad input: garbage, huge, binary, looping, blocking or missing files,
// odd battery drivers, a filesystem whose size query hangs, and concurrent callers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

#include "service/Collectors.h"
#include "service/platform/linux/ProcFile.h"
#include "tests/service/LinuxTestSupport.h"

namespace orvane {
namespace {

using namespace linux_test;
using namespace std::chrono_literals;
using nlohmann::json;

const std::vector<const char*> kProfilerTypes = {"SPHardwareDataType", "SPMemoryDataType",
                                                 "SPPowerDataType", "SPStorageDataType",
                                                 "SPDisplaysDataType"};

// Every document decodes with its key in place.
void expectWellFormedDocuments(const Platform& p) {
    for (const char* type : kProfilerTypes) {
        const auto bytes = p.runData(kSystemProfiler, {type, "-json"});
        const std::optional<Value> root = decodeJsonObject(bytes);
        ASSERT_TRUE(root) << type;
        EXPECT_TRUE(root->get(type) && root->get(type)->isArrayOfObjects()) << type;
    }
    const std::optional<Value> battery = registry(p);
    ASSERT_TRUE(battery);
    EXPECT_TRUE(battery->isArrayOfObjects());
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

    auto answers = probe.query({"/", "/hung", "/fails", "/throws", "/b"});
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_EQ(answers[0], (FsSpace{10, 5}));
    EXPECT_FALSE(answers[1]);
    EXPECT_FALSE(answers[2]);
    EXPECT_FALSE(answers[3]);
    EXPECT_EQ(answers[4], (FsSpace{10, 5}));

    // While the first query hangs, the path is not asked again: no thread piles up.
    answers = probe.query({"/hung", "/"});
    EXPECT_FALSE(answers[0]);
    EXPECT_EQ(answers[1], (FsSpace{10, 5}));
    EXPECT_EQ(gate->calls, 1);

    gate->release();
    std::optional<FsSpace> late;
    for (int i = 0; i < 500 && !late; ++i) {
        late = probe.query({"/hung"})[0];
        if (!late) std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(late, (FsSpace{2, 1}));
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

TEST(LinuxFsSpaceProbe, NoQueryFunctionAndEmptyList) {
    FsSpaceProbe none(nullptr, 10ms);
    EXPECT_FALSE(none.query({"/"})[0]);
    FsSpaceProbe some([](const std::string&) { return std::optional<FsSpace>(FsSpace{}); }, 10ms);
    EXPECT_TRUE(some.query({}).empty());
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
        for (const VolumeInfo& v : collectVolumes(platform))
            points.push_back(v.mountPoint);
        EXPECT_EQ(points,
                  (std::vector<std::string>{"/", "/boot", "/boot/efi", "/run/media/dana/CARD"}));
    }
    EXPECT_EQ(gate->calls, 1);
    gate->release();
}

// ---- odd files -----------------------------------------------------------------------------

TEST(LinuxBadFiles, FifosDirectoriesAndLoopsNeitherHangNorCount) {
    ScratchTree tree("fifo");
    tree.copyFrom(fixtureTree("laptop"));
    for (const char* rel : {"proc/meminfo", "etc/os-release", "proc/sys/kernel/hostname",
                            "sys/class/power_supply/BAT0/status"}) {
        std::filesystem::remove(tree.root() / rel);
        tree.fifo(rel);
    }
    std::filesystem::remove(tree.root() / "proc/stat");
    tree.dir("proc/stat");
    std::filesystem::remove(tree.root() / "sys/class/drm/card0-DP-1/edid");
    tree.fifo("sys/class/drm/card0-DP-1/edid");
    std::filesystem::remove(tree.root() / "sys/class/block/sda1");
    tree.link("sys/class/block/sda1", "sda1");  // points at itself
    std::filesystem::remove(tree.root() / "dev/disk/by-label/SYSTEM");
    tree.link("dev/disk/by-label/SYSTEM", "SYSTEM");

    LinuxPlatform platform(tree.root(), fixedSizes(laptopSizesForTests()));
    const LiveInputs in = platform.sampleLive();
    EXPECT_FALSE(in.vm);
    EXPECT_FALSE(in.swapUsed);
    EXPECT_FALSE(in.cpuTicks);
    EXPECT_EQ(platform.hostName(), "");
    EXPECT_EQ(platform.osName(), "Linux");
    expectWellFormedDocuments(platform);

    const auto [displays, graphics] = collectDisplays(platform);
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[1].name, "DP-1");               // no EDID: the connector's name
    EXPECT_EQ(displays[1].resolution, "3840 x 2160");  // and the first mode
    const std::vector<VolumeInfo> volumes = collectVolumes(platform);
    ASSERT_EQ(volumes.size(), 4u);
    const BatteryInfo b = collectBattery(platform);
    EXPECT_TRUE(b.present);
    EXPECT_FALSE(b.isCharging);  // the status could not be read
}

TEST(LinuxBadFiles, HugeFilesAreReadOnlyInPart) {
    ScratchTree tree("huge");
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
    EXPECT_EQ(platform.sysctlString("machdep.cpu.brand_string"), "");
    expectWellFormedDocuments(platform);
    EXPECT_EQ(collectVolumes(platform).size(), 256u);  // at most this many are shown
    const auto [displays, graphics] = collectDisplays(platform);
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[1].name, "DELL U2720Q");  // the base block is still read
}

TEST(LinuxBadFiles, RandomBytesEverywhere) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 4; ++round) {
        ScratchTree tree("random");
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
        expectWellFormedDocuments(platform);
        collectHardware(platform);
        collectBattery(platform);
        collectVolumes(platform);
        collectDisplays(platform);
        collectLive(LiveMetrics{}, {}, platform);
        platform.osVersion();
        platform.osVersionText();
    }
}

TEST(LinuxProcFile, RereadsFromTheStartAndRefusesWhatIsNotAFile) {
    ScratchTree tree("procfile");
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

// ---- battery drivers -----------------------------------------------------------------------

struct BatteryCase {
    const char* label;
    std::map<std::string, std::string> files;      // under sys/class/power_supply/BAT0/
    std::map<std::string, std::int64_t> expected;  // registry integers; -1: key absent
};

TEST(LinuxBatteryDrivers, UnitsSignsAndGaps) {
    const std::vector<BatteryCase> cases = {
        {"energy without any voltage: no capacities",
         {{"status", "Discharging"}, {"energy_full", "50000000"}, {"energy_now", "25000000"}},
         {{"AppleRawMaxCapacity", -1}, {"AppleRawCurrentCapacity", -1}, {"Voltage", -1}}},
        {"energy through the present voltage when there is no design voltage",
         {{"status", "Full"}, {"energy_full", "50000000"}, {"voltage_now", "12500000"}},
         {{"AppleRawMaxCapacity", 4000}, {"Voltage", 12500}, {"TimeRemaining", -1}}},
        {"a signed current keeps its sign when the status says nothing",
         {{"status", "Unknown"}, {"current_now", "-1500000"}},
         {{"Amperage", -1500}}},
        {"a negative current while charging is made positive",
         {{"status", "Charging"}, {"current_now", "-800000"}},
         {{"Amperage", 800}}},
        {"power only: current from power and voltage",
         {{"status", "Discharging"},
          {"power_now", "10000000"},
          {"voltage_now", "10000000"},
          {"energy_now", "30000000"},
          {"voltage_min_design", "10000000"}},
         {{"Amperage", -1000}, {"AppleRawCurrentCapacity", 3000}, {"TimeRemaining", 180}}},
        {"the driver's own estimate wins",
         {{"status", "Discharging"},
          {"current_now", "1000000"},
          {"charge_now", "3000000"},
          {"time_to_empty_now", "7260"}},
         {{"TimeRemaining", 121}}},
        {"no current: no estimate",
         {{"status", "Discharging"}, {"current_now", "0"}, {"charge_now", "3000000"}},
         {{"TimeRemaining", -1}, {"Amperage", 0}}},
        {"charging estimate from the missing charge",
         {{"status", "Charging"},
          {"current_now", "2000000"},
          {"charge_now", "1000000"},
          {"charge_full", "3000000"}},
         {{"TimeRemaining", 60}}},
        {"absurd estimates are dropped",
         {{"status", "Discharging"}, {"current_now", "1"}, {"charge_now", "3000000000"}},
         {{"TimeRemaining", -1}}},
        {"negative or malformed values are ignored",
         {{"status", "Discharging"},
          {"charge_now", "-5"},
          {"charge_full", "12 mAh"},
          {"voltage_now", "\xff\xfe"},
          {"cycle_count", "-3"}},
         {{"AppleRawCurrentCapacity", -1},
          {"AppleRawMaxCapacity", -1},
          {"Voltage", -1},
          {"CycleCount", -1}}},
    };
    for (const BatteryCase& c : cases) {
        ScratchTree tree("battery");
        tree.write("sys/class/power_supply/BAT0/type", "Battery\n");
        for (const auto& [file, content] : c.files)
            tree.write("sys/class/power_supply/BAT0/" + file, content + "\n");
        LinuxPlatform platform(tree.root());
        const std::optional<Value> root = registry(platform);
        ASSERT_TRUE(root && root->isArrayOfObjects() && root->asArray()->size() == 1) << c.label;
        const Value& b = root->asArray()->front();
        for (const auto& [key, value] : c.expected) {
            if (value == -1) {
                EXPECT_EQ(b.get(key), nullptr) << c.label << ": " << key;
            } else {
                EXPECT_EQ(intOf(b.get(key)), value) << c.label << ": " << key;
            }
        }
    }
}

TEST(LinuxBatteryDrivers, WhichSuppliesCount) {
    ScratchTree tree("supplies");
    const std::string ps = "sys/class/power_supply/";
    // Not present, a peripheral's, a supply without a type, and a USB port that is online.
    tree.write(ps + "BAT0/type", "Battery\n");
    tree.write(ps + "BAT0/present", "0\n");
    tree.write(ps + "hidpp/type", "Battery\n");
    tree.write(ps + "hidpp/scope", "Device\n");
    tree.write(ps + "odd/capacity", "50\n");
    tree.write(ps + "ucsi/type", "USB\n");
    tree.write(ps + "ucsi/online", "1\n");
    LinuxPlatform none(tree.root());
    EXPECT_EQ(registryEntries(none), std::vector<std::string>{});
    EXPECT_FALSE(collectBattery(none).present);

    // Two batteries are shown as one: capacities add up, the worst health wins.
    for (const char* name : {"BAT0", "BAT1"}) {
        tree.write(ps + name + "/type", "Battery\n");
        tree.write(ps + name + "/present", "1\n");
        tree.write(ps + name + "/status", "Discharging\n");
        tree.write(ps + name + "/charge_full", "2000000\n");
        tree.write(ps + name + "/current_now", "500000\n");
        tree.write(ps + name + "/cycle_count", std::string(name) == "BAT0" ? "100\n" : "300\n");
    }
    tree.write(ps + "BAT0/charge_now", "1000000\n");
    tree.write(ps + "BAT1/charge_now", "2000000\n");
    tree.write(ps + "BAT0/health", "Good\n");
    tree.write(ps + "BAT1/health", "Overheat\n");
    tree.write(ps + "BAT0/capacity", "50\n");
    LinuxPlatform two(tree.root());
    // The USB port is online: on external power although discharging.
    EXPECT_EQ(registryEntries(two),
              std::vector<std::string>{
                  "Amperage=-1000 AppleRawCurrentCapacity=3000 AppleRawMaxCapacity=4000 "
                  "BatteryInstalled=true CycleCount=300 ExternalConnected=true FullyCharged=false "
                  "IsCharging=false TimeRemaining=180"});
    const BatteryInfo info = collectBattery(two);
    EXPECT_DOUBLE_EQ(info.chargePercent, 75.0);
    EXPECT_EQ(info.condition, "Overheat");
}

TEST(LinuxBatteryDrivers, TextFromTheDriverIsSafeInTheRegistry) {
    ScratchTree tree("serial");
    tree.write("sys/class/power_supply/BAT0/type", "Battery\n");
    tree.write("sys/class/power_supply/BAT0/serial_number", "<a&b>\x01\xff\n");
    LinuxPlatform platform(tree.root());
    const std::optional<Value> root = registry(platform);
    ASSERT_TRUE(root && root->isArrayOfObjects());
    EXPECT_EQ(*root->asArray()->front().getString("Serial"), "<a&b>");
}

// ---- concurrency -------------------------------------------------------------------------

TEST(LinuxConcurrency, CollectionsWhileSampling) {
    LinuxPlatform platform(fixtureTree("laptop"), fixedSizes(laptopSizesForTests()));
    const LiveInputs expected = platform.sampleLive();
    std::atomic<bool> stop{false};
    std::atomic<int> mismatches{0};
    std::thread sampler([&] {
        while (!stop) {
            const LiveInputs in = platform.sampleLive();
            if (in.vm != expected.vm || in.cpuTicks != expected.cpuTicks) ++mismatches;
            if (platform.sysctlInt("hw.memsize") != 16LL << 30) ++mismatches;
        }
    });
    std::vector<std::thread> collectors;
    for (int t = 0; t < 2; ++t) {
        collectors.emplace_back([&] {
            for (int i = 0; i < 20; ++i) {
                if (collectVolumes(platform).size() != 4) ++mismatches;
                if (collectDisplays(platform).first.size() != 2) ++mismatches;
                if (!collectBattery(platform).present) ++mismatches;
                if (collectHardware(platform).totalCores != 4) ++mismatches;
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
