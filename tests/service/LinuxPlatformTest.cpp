// The Linux platform against the fake trees: the documents it builds for each command line,
// the kernel values and process information, the live sample, and the records the
// collectors make of them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>

#include "service/Collectors.h"
#include "tests/service/LinuxTestSupport.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using namespace linux_test;
using nlohmann::json;
using record_text::describe;
using Texts = std::vector<std::string>;

// ---- laptop: energy battery on a charger, eDP panel and a DP monitor --------------------

class LinuxLaptop : public ::testing::Test {
  protected:
    LinuxPlatform platform{fixtureTree("laptop"), fixedSizes(laptopSizesForTests())};
};

TEST_F(LinuxLaptop, KernelValues) {
    // The memory type sits in root-only firmware tables: plain "RAM".
    EXPECT_EQ(profiler(platform, "SPMemoryDataType"),
              json::parse(R"({"SPMemoryDataType": [{"dimm_type": "RAM"}]})"));

    EXPECT_EQ(platform.sysctlString("hw.model"), "LENOVO 20XWCTO1WW");
    EXPECT_EQ(platform.sysctlString("machdep.cpu.brand_string"),
              "11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz");
    EXPECT_EQ(platform.sysctlInt("hw.ncpu"), 4);
    // 16 online blocks of 1 GiB; the offline block does not count.
    EXPECT_EQ(platform.sysctlInt("hw.memsize"), 16LL << 30);
    EXPECT_EQ(platform.sysctlString("kern.osproductversion"), "");
    EXPECT_EQ(platform.sysctlInt("vm.swapusage"), 0);
}

TEST_F(LinuxLaptop, OperatingSystemAndProcessInformation) {
    EXPECT_EQ(platform.osName(), "Debian GNU/Linux");
    EXPECT_EQ(platform.osVersionText(), "12");
    EXPECT_EQ(platform.osVersion(), (OsVersion{12, 0, 0}));
    EXPECT_EQ(text(platform.runData(kSwVers, {"-buildVersion"})), "6.1.0-18-amd64\n");
    EXPECT_EQ(platform.run(kSwVers, {"-buildVersion"}), "6.1.0-18-amd64");
    EXPECT_DOUBLE_EQ(platform.uptime(), 93784.52);
    EXPECT_EQ(platform.hostName(), "thinkpad");
}

TEST_F(LinuxLaptop, OnlyTheKnownCommandLinesAnswer) {
    const std::pair<const char*, std::vector<std::string>> others[] = {
        {kSystemProfiler, {"SPHardwareDataType"}},
        {kSystemProfiler, {"-json", "SPHardwareDataType"}},
        {kSystemProfiler, {"SPAudioDataType", "-json"}},
        {"/usr/bin/system_profiler", {"SPHardwareDataType", "-json"}},
        {kIoreg, {"-r", "-c", "AppleSmartBattery"}},
        {kSwVers, {}},
        {"/bin/sh", {"-c", "echo hi"}}};
    for (const auto& [path, args] : others)
        EXPECT_TRUE(platform.runData(path, args).empty()) << path << " " << args.size();
}

TEST_F(LinuxLaptop, BatteryFromEnergyValues) {
    // µWh through the design voltage of 11.58 V; 15 W at 12.7 V, positive while charging;
    // (4430 - 3544) mAh at 1181 mA. No temperature file: no temperature.
    EXPECT_EQ(registryEntries(platform),
              Texts{"Amperage=1181 AppleRawCurrentCapacity=3544 AppleRawMaxCapacity=4430 "
                    "BatteryInstalled=true CycleCount=312 DesignCapacity=4922 "
                    "ExternalConnected=true FullyCharged=false IsCharging=true Serial=\"1234\" "
                    "TimeRemaining=45 Voltage=12700"});
    EXPECT_EQ(profiler(platform, "SPPowerDataType"), json::parse(R"({"SPPowerDataType": [{
        "_name": "spbattery_information",
        "sppower_battery_charge_info": {"sppower_battery_state_of_charge": 80,
                                        "sppower_battery_fully_charged": "FALSE"},
        "sppower_battery_health_info": {"sppower_battery_cycle_count": 312}}]})"));
}

TEST_F(LinuxLaptop, LiveSample) {
    const LiveInputs in = platform.sampleLive();
    EXPECT_DOUBLE_EQ(in.uptime, 93784.52);
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    ASSERT_TRUE(in.vm);
    EXPECT_EQ(in.vm->pageSize, page);
    EXPECT_EQ(in.vm->active, 5242880ULL * 1024 / page);
    EXPECT_EQ(in.vm->inactive, 3145728ULL * 1024 / page);
    EXPECT_EQ(in.vm->external, 4194304ULL * 1024 / page);
    EXPECT_EQ(in.vm->wire, (65536ULL + 262144 + 32768 + 65536) * 1024 / page);
    EXPECT_EQ(in.vm->purgeable, 524288ULL * 1024 / page);
    EXPECT_EQ(in.vm->compressor, 131072ULL * 1024 / page);
    EXPECT_EQ(in.swapUsed, (8388604ULL - 7340028) * 1024);
    ASSERT_TRUE(in.cpuTicks);
    ASSERT_EQ(in.cpuTicks->size(), 4u);
    EXPECT_EQ((*in.cpuTicks)[0], (CpuTicks{4294967290u, 2000 + 5 + 6, 50000 + 100, 40}));
    EXPECT_EQ((*in.cpuTicks)[1].user, 10u);  // 2^32 + 10 kept modulo 2^32
    EXPECT_EQ((*in.cpuTicks)[3].system, 2500u + 5 + 8 + 3);
}

TEST_F(LinuxLaptop, CollectedRecords) {
    EXPECT_EQ(describe(collectHardware(platform)),
              "ThinkPad X1 Carbon Gen 9 | 20XWCTO1WW | 11th Gen Intel(R) Core(TM) i7-1165G7 @ "
              "2.80GHz | 4:0:0 | 16 GB RAM | PF2ABCDE | Debian GNU/Linux 12 "
              "6.1.0-18-amd64 | thinkpad | L");
    EXPECT_EQ(describe(collectBattery(platform)),
              "PCA- | 312/0 | 90.00406339 | 80 | Normal | 0 | 12.7 | 1.181 | 4922/4430/3544 | 45 | "
              "1234");
    EXPECT_EQ(describe(collectVolumes(platform)),
              (Texts{"/ | / | ext4 | 500000000000/200000000000 | BI",
                     "home | /home | ext4 | 1000000000000/500000000000 | -I",
                     "My Disk | /media/alice/My Disk | vfat | 64000000000/32000000000 | --",
                     "SYSTEM | /boot/efi | vfat | 500000000/400000000 | -I"}));
    const auto [displays, graphics] = collectDisplays(platform);
    EXPECT_EQ(describe(graphics), Texts{"Iris Xe Graphics | Intel Corporation |  | "});
    EXPECT_EQ(
        describe(displays),
        (Texts{"Built-in Display | 1920 x 1200 | 1920 x 1200 @ 59.95Hz | 59.95Hz | Internal | MB",
               "DELL U2720Q | 3840 x 2160 | 3840 x 2160 @ 60.00Hz | 60.00Hz | Displayport | --"}));
}

// ---- laptop with a charge battery, hybrid processor, btrfs on LUKS, sleeping dGPU ------

class LinuxChargeLaptop : public ::testing::Test {
  protected:
    static std::map<std::string, FsSpace> sizes() {
        return {{"/", {1'000'000'000'000, 250'000'000'000}},
                {"/home", {1'000'000'000'000, 250'000'000'000}},
                {"/boot", {1'000'000'000, 600'000'000}},
                {"/boot/efi", {600'000'000, 580'000'000}},
                {"/run/media/dana/CARD", {128'000'000'000, 100'000'000'000}},
                {"/mnt/hung", {2'000'000'000'000, 1'000'000'000'000}}};
    }
    LinuxPlatform platform{fixtureTree("laptop-charge"), fixedSizes(sizes())};
};

TEST_F(LinuxChargeLaptop, HardwareMemoryTypeAndHybridCores) {
    EXPECT_EQ(profiler(platform, "SPMemoryDataType"),
              json::parse(R"({"SPMemoryDataType": [{"dimm_type": "LPDDR4"}]})"));
    // No memory block directory: MemTotal.
    EXPECT_EQ(platform.sysctlInt("hw.memsize"), 7869440LL * 1024);
    EXPECT_EQ(platform.sysctlString("hw.model"), "Dell Inc. XPS 13 9315");
    EXPECT_EQ(platform.osVersion(), (OsVersion{39, 0, 0}));
    EXPECT_EQ(
        describe(collectHardware(platform)),
        "XPS 13 9315 | XPS 13 9315 | 12th Gen Intel(R) Core(TM) i5-1240P | 8:4:4 | 8 GB LPDDR4 "
        "|  | Fedora Linux 39 5.19.0-rc1 | xps | L");
}

TEST_F(LinuxChargeLaptop, DischargingChargeBattery) {
    // The current is a magnitude, signed by the status; a cycle count of 0 means the driver
    // does not count; 1750 mAh at 1200 mA.
    EXPECT_EQ(registryEntries(platform),
              Texts{"Amperage=-1200 AppleRawCurrentCapacity=1750 AppleRawMaxCapacity=3500 "
                    "BatteryInstalled=true DesignCapacity=3950 ExternalConnected=false "
                    "FullyCharged=false IsCharging=false Temperature=2850 TimeRemaining=87 "
                    "Voltage=7600"});
    EXPECT_EQ(describe(collectBattery(platform)),
              "P--- | 0/0 | 88.60759494 | 50 | Good | 28.5 | 7.6 | -1.2 | 3950/3500/1750 | 87 | ");
}

TEST_F(LinuxChargeLaptop, StorageThroughEncryptionSubvolumesAndACard) {
    EXPECT_EQ(describe(collectVolumes(platform)),
              (Texts{"fedora | / | btrfs | 1000000000000/250000000000 | BI",
                     "hung | /mnt/hung | fuseblk | 2000000000000/1000000000000 | -I",
                     "CAMERA | /run/media/dana/CARD | exfat | 128000000000/100000000000 | --",
                     "boot | /boot | ext4 | 1000000000/600000000 | -I",
                     "efi | /boot/efi | vfat | 600000000/580000000 | -I"}));
}

TEST_F(LinuxChargeLaptop, DisplaysSkipClosedPanelWritebackAndSleepingGpu) {
    const auto [displays, graphics] = collectDisplays(platform);
    EXPECT_EQ(describe(graphics),
              (Texts{"Iris Xe Graphics | Intel Corporation |  | ",
                     "GeForce GTX 1650 Mobile / Max-Q | NVIDIA Corporation |  | "}));
    // No EDID: the first line of the modes, no refresh rate, the connector's name. Then an
    // EDID without a name.
    EXPECT_EQ(describe(displays),
              (Texts{"DP-2 | 1280 x 1024 | 1280 x 1024 |  | Displayport | M-",
                     "HDMI-A-1 | 2560 x 1440 | 2560 x 1440 @ 59.95Hz | 59.95Hz | Hdmi | --"}));
}

// ---- single-board computer: device tree, no battery, eMMC, non-PCI graphics -------------

class LinuxBoard : public ::testing::Test {
  protected:
    LinuxPlatform platform{fixtureTree("desktop"),
                           fixedSizes({{"/", {32'000'000'000, 20'000'000'000}},
                                       {"/boot/firmware", {512'000'000, 400'000'000}},
                                       {"/media/pi/STICK", {16'000'000'000, 15'000'000'000}}})};
};

TEST_F(LinuxBoard, DeviceTreeIdentityAndVersionFromTheKernel) {
    EXPECT_EQ(platform.sysctlString("hw.model"), "Raspberry Pi Compute Module 4 Rev 1.1");
    EXPECT_EQ(platform.osName(), "Debian GNU/Linux");
    EXPECT_EQ(platform.osVersionText(), "trixie/sid");
    EXPECT_EQ(platform.osVersion(), (OsVersion{6, 6, 20}));
    // No firmware identity: name, identifier and chip from the device tree.
    EXPECT_EQ(describe(collectHardware(platform)),
              "Raspberry Pi Compute Module 4 Rev 1.1 | Raspberry Pi Compute Module 4 Rev 1.1 | "
              "Raspberry Pi Compute Module 4 Rev 1.1 | 4:0:0 | 4 GB RAM |  | Debian "
              "GNU/Linux trixie/sid 6.6.20+rpt-rpi-v8 | pi | -");
}

TEST_F(LinuxBoard, NoBattery) {
    EXPECT_EQ(registryEntries(platform), Texts{});
    EXPECT_EQ(profiler(platform, "SPPowerDataType"), json::parse(R"({"SPPowerDataType": []})"));
    EXPECT_EQ(describe(collectBattery(platform)), describe(BatteryInfo()));
}

TEST_F(LinuxBoard, EmmcIsInternalAndRemovableStickIsNot) {
    EXPECT_EQ(describe(collectVolumes(platform)),
              (Texts{"rootfs | / | ext4 | 32000000000/20000000000 | BI",
                     "STICK | /media/pi/STICK | vfat | 16000000000/15000000000 | --",
                     "bootfs | /boot/firmware | vfat | 512000000/400000000 | -I"}));
}

TEST_F(LinuxBoard, PlatformGraphicsNamedByDriver) {
    const auto [displays, graphics] = collectDisplays(platform);
    EXPECT_EQ(describe(graphics), (Texts{"v3d |  |  | ", "vc4-drm |  |  | "}));
    EXPECT_EQ(describe(displays),
              Texts{"LG HDR 4K | 3840 x 2160 | 3840 x 2160 @ 30.00Hz | 30.00Hz | Hdmi | M-"});
}

// ---- an empty root: every read fails ------------------------------------------------------

TEST(LinuxEmptyRoot, EverythingFallsBack) {
    ScratchTree tree("empty");
    LinuxPlatform platform(tree.root());
    EXPECT_EQ(profiler(platform, "SPHardwareDataType"),
              json::parse(R"({"SPHardwareDataType": [{"machine_name": "Computer"}]})"));
    EXPECT_EQ(profiler(platform, "SPMemoryDataType"),
              json::parse(R"({"SPMemoryDataType": [{"dimm_type": "RAM"}]})"));
    EXPECT_EQ(profiler(platform, "SPStorageDataType"), json::parse(R"({"SPStorageDataType": []})"));
    EXPECT_EQ(profiler(platform, "SPDisplaysDataType"),
              json::parse(R"({"SPDisplaysDataType": []})"));
    EXPECT_TRUE(platform.runData(kSwVers, {"-buildVersion"}).empty());
    EXPECT_EQ(platform.sysctlInt("hw.ncpu"), 0);
    EXPECT_EQ(platform.sysctlInt("hw.memsize"), 0);
    EXPECT_EQ(platform.sysctlString("hw.model"), "");
    EXPECT_EQ(platform.osName(), "Linux");
    EXPECT_EQ(platform.osVersionText(), std::nullopt);
    EXPECT_EQ(platform.osVersion(), OsVersion{});
    EXPECT_EQ(platform.uptime(), 0);
    EXPECT_EQ(platform.hostName(), "");
    const LiveInputs in = platform.sampleLive();
    EXPECT_FALSE(in.vm);
    EXPECT_FALSE(in.swapUsed);
    EXPECT_FALSE(in.cpuTicks);

    const HardwareInfo hw = collectHardware(platform);
    EXPECT_EQ(hw.modelName, "Computer");
    EXPECT_EQ(hw.macOSName, "Linux");
    EXPECT_EQ(collectVolumes(platform).size(), 0u);
}

TEST(LinuxVirtualMachine, NamedAsSuchWithoutFirmwareIdentity) {
    ScratchTree tree("vm");
    tree.write("proc/cpuinfo",
               "processor\t: 0\nmodel name\t: AMD EPYC\nflags\t\t: fpu vme de pse tsc msr pae "
               "mce cx8 apic sep mtrr pge mca cmov pat pse36 clflush mmx fxsr sse sse2 "
               "hypervisor lahf_lm\n\n");
    LinuxPlatform platform(tree.root());
    const json hw = profiler(platform, "SPHardwareDataType");
    EXPECT_EQ(hw["SPHardwareDataType"][0]["machine_name"], "Virtual Machine");
    EXPECT_EQ(hw["SPHardwareDataType"][0]["chip_type"], "AMD EPYC");
}

// ---- the live sample over a counter that wraps ----------------------------------------

TEST(LinuxLiveWrap, BusyFractionAcrossA32BitWrap) {
    ScratchTree tree("wrap");
    tree.write("proc/meminfo", "MemTotal: 1048576 kB\nActive: 4096 kB\nInactive: 4096 kB\n");
    tree.write("proc/stat", "cpu 0 0 0 0\ncpu0 4294967290 0 100 1000 0 0 0 0\n");
    LinuxPlatform platform(tree.root());
    const LiveSample first = collectLive(LiveMetrics{}, {}, platform);
    ASSERT_TRUE(first.ticks);

    // The kernel's 64-bit counter passed 2^32: 4294967300 is 4 after truncation.
    tree.write("proc/stat", "cpu 0 0 0 0\ncpu0 4294967300 0 110 1080 0 0 0 0\n");
    const LiveSample second = collectLive(first.metrics, *first.ticks, platform);
    ASSERT_EQ(second.metrics.perCore.size(), 1u);
    EXPECT_DOUBLE_EQ(second.metrics.perCore[0], 0.2);  // 10 user + 10 system of 100
    EXPECT_DOUBLE_EQ(second.metrics.cpuUserPct, 10.0);
    EXPECT_DOUBLE_EQ(second.metrics.cpuSystemPct, 10.0);
    EXPECT_DOUBLE_EQ(second.metrics.cpuIdlePct, 80.0);
    EXPECT_EQ(second.metrics.memTotalBytes, 1048576LL * 1024);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(LinuxFormFactor, ChassisTypeDecidesWhetherThisIsALaptop) {
    struct Case {
        const char* chassis;  // nullptr: no file
        std::optional<bool> portable;
    };
    const Case cases[] = {
        {"10\n", true},        {"9", true},
        {"31\n", true},        {"32", true},
        {"3\n", false},        {"35\n", false},
        {"2\n", std::nullopt}, {"laptop", std::nullopt},
        {"", std::nullopt},    {nullptr, std::nullopt},
    };
    for (const auto& c : cases) {
        linux_test::ScratchTree tree("chassis");
        if (c.chassis) tree.write("sys/class/dmi/id/chassis_type", c.chassis);
        LinuxPlatform platform(tree.root());
        EXPECT_EQ(platform.isPortable(), c.portable) << (c.chassis ? c.chassis : "(none)");
    }
    const HardwareInfo laptop = collectHardware(LinuxPlatform(linux_test::fixtureTree("laptop")));
    EXPECT_TRUE(laptop.isLaptop);
    EXPECT_EQ(laptop.symbol(), "laptopcomputer");
    const HardwareInfo board = collectHardware(LinuxPlatform(linux_test::fixtureTree("desktop")));
    EXPECT_FALSE(board.isLaptop);
}

}  // namespace
}  // namespace orvane
