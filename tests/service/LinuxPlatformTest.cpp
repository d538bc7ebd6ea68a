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

namespace orvane {
namespace {

using namespace linux_test;
using nlohmann::json;

constexpr double kGB = 1e9;

// ---- laptop: energy battery on a charger, eDP panel and a DP monitor --------------------

class LinuxLaptop : public ::testing::Test {
  protected:
    LinuxPlatform platform{fixtureTree("laptop"), fixedSizes(laptopSizesForTests())};
};

TEST_F(LinuxLaptop, HardwareDocumentAndKernelValues) {
    const json hw = profiler(platform, "SPHardwareDataType");
    EXPECT_EQ(hw, json::parse(R"({"SPHardwareDataType": [{
        "machine_name": "ThinkPad X1 Carbon Gen 9",
        "machine_model": "20XWCTO1WW",
        "chip_type": "11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz",
        "serial_number": "PF2ABCDE",
        "physical_memory": "16 GB",
        "number_processors": "proc 4"}]})"));
    // The memory type sits in root-only firmware tables: no document.
    EXPECT_TRUE(platform.runData(kSystemProfiler, {"SPMemoryDataType", "-json"}).empty());

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
    EXPECT_TRUE(platform.runData(kSystemProfiler, {"SPHardwareDataType"}).empty());
    EXPECT_TRUE(platform.runData(kSystemProfiler, {"-json", "SPHardwareDataType"}).empty());
    EXPECT_TRUE(platform.runData(kSystemProfiler, {"SPAudioDataType", "-json"}).empty());
    EXPECT_TRUE(
        platform.runData("/usr/bin/system_profiler", {"SPHardwareDataType", "-json"}).empty());
    EXPECT_TRUE(platform.runData(kIoreg, {"-r", "-c", "AppleSmartBattery"}).empty());
    EXPECT_TRUE(platform.runData(kSwVers, {}).empty());
    EXPECT_TRUE(platform.runData("/bin/sh", {"-c", "echo hi"}).empty());
}

TEST_F(LinuxLaptop, BatteryRegistryFromEnergyValues) {
    const std::optional<Value> root = registry(platform);
    ASSERT_TRUE(root && root->isArrayOfObjects());
    ASSERT_EQ(root->asArray()->size(), 1u);
    const Value& b = root->asArray()->front();
    EXPECT_EQ(b.get("BatteryInstalled") ? *b.get("BatteryInstalled") : Value(), Value(true));
    // µWh through the design voltage of 11.58 V.
    EXPECT_EQ(intOf(b.get("DesignCapacity")), 4922);
    EXPECT_EQ(intOf(b.get("AppleRawMaxCapacity")), 4430);
    EXPECT_EQ(intOf(b.get("AppleRawCurrentCapacity")), 3544);
    EXPECT_EQ(intOf(b.get("Voltage")), 12700);
    // 15 W at 12.7 V, positive while charging.
    EXPECT_EQ(intOf(b.get("Amperage")), 1181);
    EXPECT_EQ(intOf(b.get("CycleCount")), 312);
    EXPECT_EQ(b.get("Temperature"), nullptr);
    EXPECT_EQ(*b.get("IsCharging"), Value(true));
    EXPECT_EQ(*b.get("FullyCharged"), Value(false));
    EXPECT_EQ(*b.get("ExternalConnected"), Value(true));
    EXPECT_EQ(*b.getString("Serial"), "1234");
    // (4430 - 3544) mAh at 1181 mA.
    EXPECT_EQ(intOf(b.get("TimeRemaining")), 45);

    EXPECT_EQ(profiler(platform, "SPPowerDataType"), json::parse(R"({"SPPowerDataType": [{
        "_name": "spbattery_information",
        "sppower_battery_charge_info": {"sppower_battery_state_of_charge": 80,
                                        "sppower_battery_fully_charged": "FALSE"},
        "sppower_battery_health_info": {"sppower_battery_cycle_count": 312}}]})"));
}

TEST_F(LinuxLaptop, StorageDocument) {
    const json doc = profiler(platform, "SPStorageDataType");
    EXPECT_EQ(doc, json::parse(R"({"SPStorageDataType": [
        {"_name": "/", "mount_point": "/", "file_system": "ext4", "bsd_name": "nvme0n1p2",
         "size_in_bytes": 500000000000, "free_space_in_bytes": 200000000000,
         "spstorage_physical_drive": {"is_internal_disk": "yes"}},
        {"_name": "SYSTEM", "mount_point": "/boot/efi", "file_system": "vfat",
         "bsd_name": "nvme0n1p1", "size_in_bytes": 500000000, "free_space_in_bytes": 400000000,
         "spstorage_physical_drive": {"is_internal_disk": "yes"}},
        {"_name": "home", "mount_point": "/home", "file_system": "ext4", "bsd_name": "nvme0n1p3",
         "size_in_bytes": 1000000000000, "free_space_in_bytes": 500000000000,
         "spstorage_physical_drive": {"is_internal_disk": "yes"}},
        {"_name": "My Disk", "mount_point": "/media/alice/My Disk", "file_system": "vfat",
         "bsd_name": "sda1", "size_in_bytes": 64000000000, "free_space_in_bytes": 32000000000,
         "spstorage_physical_drive": {"is_internal_disk": "no"}}]})"));
}

TEST_F(LinuxLaptop, DisplaysDocument) {
    EXPECT_EQ(profiler(platform, "SPDisplaysDataType"), json::parse(R"({"SPDisplaysDataType": [{
        "_name": "Iris Xe Graphics",
        "spdisplays_vendor": "Intel Corporation",
        "spdisplays_ndrvs": [
          {"_name": "Built-in Display", "_spdisplays_pixels": "1920 x 1200",
           "spdisplays_resolution": "1920 x 1200 @ 59.95Hz",
           "spdisplays_display_type": "spdisplays_built-in_display",
           "spdisplays_connection_type": "spdisplays_internal",
           "spdisplays_main": "spdisplays_yes"},
          {"_name": "DELL U2720Q", "_spdisplays_pixels": "3840 x 2160",
           "spdisplays_resolution": "3840 x 2160 @ 60.00Hz",
           "spdisplays_connection_type": "spdisplays_displayport"}]}]})"));
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
    const HardwareInfo hw = collectHardware(platform);
    EXPECT_EQ(hw.modelName, "ThinkPad X1 Carbon Gen 9");
    EXPECT_EQ(hw.modelIdentifier, "20XWCTO1WW");
    EXPECT_EQ(hw.chip, "11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz");
    EXPECT_EQ(hw.totalCores, 4);
    EXPECT_EQ(hw.performanceCores, 0);
    EXPECT_EQ(hw.memoryGB, "16 GB");
    EXPECT_EQ(hw.serialNumber, "PF2ABCDE");
    EXPECT_EQ(hw.macOSName, "Debian GNU/Linux");
    EXPECT_EQ(hw.macOSVersion, "12");
    EXPECT_EQ(hw.macOSBuild, "6.1.0-18-amd64");
    EXPECT_DOUBLE_EQ(hw.uptime, 93784.52);
    EXPECT_EQ(hw.hostname, "thinkpad");

    const BatteryInfo b = collectBattery(platform);
    EXPECT_TRUE(b.present);
    EXPECT_EQ(b.cycleCount, 312);
    EXPECT_DOUBLE_EQ(b.healthPercent, 4430.0 / 4922.0 * 100.0);
    EXPECT_DOUBLE_EQ(b.chargePercent, 80.0);
    EXPECT_TRUE(b.isCharging);
    EXPECT_TRUE(b.onAC);
    EXPECT_FALSE(b.fullyCharged);
    EXPECT_DOUBLE_EQ(b.voltage, 12.7);
    EXPECT_DOUBLE_EQ(b.amperage, 1.181);
    EXPECT_EQ(b.designCapacity, 4922);
    EXPECT_EQ(b.maxCapacity, 4430);
    EXPECT_EQ(b.currentCapacity, 3544);
    EXPECT_EQ(b.timeRemaining, 45);
    EXPECT_EQ(b.serial, "1234");
    EXPECT_EQ(b.condition, "Normal");

    const std::vector<VolumeInfo> volumes = collectVolumes(platform);
    ASSERT_EQ(volumes.size(), 4u);
    EXPECT_EQ(volumes[0].mountPoint, "/");
    EXPECT_TRUE(volumes[0].isBoot);
    EXPECT_EQ(volumes[1].name, "home");
    EXPECT_EQ(volumes[2].name, "My Disk");
    EXPECT_FALSE(volumes[2].isInternal);
    EXPECT_EQ(volumes[2].totalBytes, static_cast<std::int64_t>(64 * kGB));
    EXPECT_EQ(volumes[2].freeBytes, static_cast<std::int64_t>(32 * kGB));
    EXPECT_EQ(volumes[3].name, "SYSTEM");
    EXPECT_TRUE(volumes[3].isInternal);

    const auto [displays, graphics] = collectDisplays(platform);
    ASSERT_EQ(graphics.size(), 1u);
    EXPECT_EQ(graphics[0].name, "Iris Xe Graphics");
    EXPECT_EQ(graphics[0].vendor, "Intel Corporation");
    EXPECT_EQ(graphics[0].cores, "");
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0].name, "Built-in Display");
    EXPECT_EQ(displays[0].resolution, "1920 x 1200");
    EXPECT_EQ(displays[0].refreshRate, "59.95Hz");
    EXPECT_TRUE(displays[0].isMain);
    EXPECT_TRUE(displays[0].isBuiltIn);
    EXPECT_EQ(displays[0].connectionType, "Internal");
    EXPECT_EQ(displays[1].name, "DELL U2720Q");
    EXPECT_EQ(displays[1].resolution, "3840 x 2160");
    EXPECT_EQ(displays[1].uiResolution, "3840 x 2160 @ 60.00Hz");
    EXPECT_FALSE(displays[1].isMain);
    EXPECT_FALSE(displays[1].isBuiltIn);
    EXPECT_EQ(displays[1].connectionType, "Displayport");
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
    const json hw = profiler(platform, "SPHardwareDataType");
    EXPECT_EQ(hw, json::parse(R"({"SPHardwareDataType": [{
        "machine_name": "XPS 13 9315",
        "machine_model": "XPS 13 9315",
        "chip_type": "12th Gen Intel(R) Core(TM) i5-1240P",
        "physical_memory": "8 GB",
        "number_processors": "proc 8:4:4"}]})"));
    EXPECT_EQ(profiler(platform, "SPMemoryDataType"),
              json::parse(R"({"SPMemoryDataType": [{"dimm_type": "LPDDR4"}]})"));
    // No memory block directory: MemTotal.
    EXPECT_EQ(platform.sysctlInt("hw.memsize"), 7869440LL * 1024);
    EXPECT_EQ(platform.sysctlString("hw.model"), "Dell Inc. XPS 13 9315");

    const HardwareInfo info = collectHardware(platform);
    EXPECT_EQ(info.totalCores, 8);
    EXPECT_EQ(info.performanceCores, 4);
    EXPECT_EQ(info.efficiencyCores, 4);
    EXPECT_EQ(info.memoryType, "LPDDR4");
    EXPECT_EQ(info.serialNumber, "");
    EXPECT_EQ(info.macOSName, "Fedora Linux");
    EXPECT_EQ(info.macOSVersion, "39");
    EXPECT_EQ(platform.osVersion(), (OsVersion{39, 0, 0}));
}

TEST_F(LinuxChargeLaptop, DischargingChargeBattery) {
    const std::optional<Value> root = registry(platform);
    ASSERT_TRUE(root && root->isArrayOfObjects() && root->asArray()->size() == 1);
    const Value& b = root->asArray()->front();
    EXPECT_EQ(intOf(b.get("DesignCapacity")), 3950);
    EXPECT_EQ(intOf(b.get("AppleRawMaxCapacity")), 3500);
    EXPECT_EQ(intOf(b.get("AppleRawCurrentCapacity")), 1750);
    EXPECT_EQ(intOf(b.get("Voltage")), 7600);
    EXPECT_EQ(intOf(b.get("Amperage")), -1200);  // a magnitude, signed by the status
    EXPECT_EQ(intOf(b.get("Temperature")), 2850);
    EXPECT_EQ(b.get("CycleCount"), nullptr);  // 0: the driver does not count
    EXPECT_EQ(b.get("Serial"), nullptr);
    EXPECT_EQ(*b.get("ExternalConnected"), Value(false));
    EXPECT_EQ(intOf(b.get("TimeRemaining")), 87);  // 1750 mAh at 1200 mA

    const BatteryInfo info = collectBattery(platform);
    EXPECT_TRUE(info.present);
    EXPECT_EQ(info.condition, "Good");
    EXPECT_EQ(info.cycleCount, 0);
    EXPECT_DOUBLE_EQ(info.chargePercent, 50.0);
    EXPECT_DOUBLE_EQ(info.amperage, -1.2);
    EXPECT_DOUBLE_EQ(info.temperature, 28.5);
    EXPECT_FALSE(info.onAC);
    EXPECT_FALSE(info.isCharging);
    EXPECT_EQ(info.timeRemaining, 87);
}

TEST_F(LinuxChargeLaptop, StorageThroughEncryptionSubvolumesAndACard) {
    const std::vector<VolumeInfo> volumes = collectVolumes(platform);
    std::vector<std::tuple<std::string, std::string, std::string, bool>> seen;
    for (const auto& v : volumes)
        seen.emplace_back(v.name, v.mountPoint, v.fileSystem, v.isInternal);
    EXPECT_EQ(seen, (std::vector<std::tuple<std::string, std::string, std::string, bool>>{
                        {"fedora", "/", "btrfs", true},
                        {"hung", "/mnt/hung", "fuseblk", true},
                        {"CAMERA", "/run/media/dana/CARD", "exfat", false},
                        {"boot", "/boot", "ext4", true},
                        {"efi", "/boot/efi", "vfat", true}}));
}

TEST_F(LinuxChargeLaptop, DisplaysSkipClosedPanelWritebackAndSleepingGpu) {
    const auto [displays, graphics] = collectDisplays(platform);
    ASSERT_EQ(graphics.size(), 2u);
    EXPECT_EQ(graphics[0].name, "Iris Xe Graphics");
    EXPECT_EQ(graphics[1].name, "GeForce GTX 1650 Mobile / Max-Q");
    EXPECT_EQ(graphics[1].vendor, "NVIDIA Corporation");
    ASSERT_EQ(displays.size(), 2u);
    // No EDID: the first line of the modes, no refresh rate, the connector's name.
    EXPECT_EQ(displays[0].name, "DP-2");
    EXPECT_EQ(displays[0].resolution, "1280 x 1024");
    EXPECT_EQ(displays[0].refreshRate, "");
    EXPECT_TRUE(displays[0].isMain);
    // EDID without a name.
    EXPECT_EQ(displays[1].name, "HDMI-A-1");
    EXPECT_EQ(displays[1].resolution, "2560 x 1440");
    EXPECT_EQ(displays[1].refreshRate, "59.95Hz");
    EXPECT_EQ(displays[1].connectionType, "Hdmi");
    EXPECT_FALSE(displays[1].isMain);
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
    EXPECT_EQ(profiler(platform, "SPHardwareDataType"), json::parse(R"({"SPHardwareDataType": [{
        "machine_name": "Raspberry Pi Compute Module 4 Rev 1.1",
        "chip_type": "Raspberry Pi Compute Module 4 Rev 1.1",
        "physical_memory": "4 GB",
        "number_processors": "proc 4"}]})"));
    EXPECT_EQ(platform.sysctlString("hw.model"), "Raspberry Pi Compute Module 4 Rev 1.1");
    EXPECT_EQ(platform.osName(), "Debian GNU/Linux");
    EXPECT_EQ(platform.osVersionText(), "trixie/sid");
    EXPECT_EQ(platform.osVersion(), (OsVersion{6, 6, 20}));
    EXPECT_EQ(collectHardware(platform).modelIdentifier, "Raspberry Pi Compute Module 4 Rev 1.1");
}

TEST_F(LinuxBoard, NoBattery) {
    EXPECT_EQ(
        text(platform.runData(kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"})).find("<array/>") !=
            std::string::npos,
        true);
    const std::optional<Value> root = registry(platform);
    ASSERT_TRUE(root && root->isArray());
    EXPECT_TRUE(root->asArray()->empty());
    EXPECT_EQ(profiler(platform, "SPPowerDataType"), json::parse(R"({"SPPowerDataType": []})"));
    const BatteryInfo b = collectBattery(platform);
    EXPECT_FALSE(b.present);
    EXPECT_EQ(b.condition, "-");
}

TEST_F(LinuxBoard, EmmcIsInternalAndRemovableStickIsNot) {
    const std::vector<VolumeInfo> volumes = collectVolumes(platform);
    ASSERT_EQ(volumes.size(), 3u);
    EXPECT_EQ(volumes[0].name, "rootfs");
    EXPECT_TRUE(volumes[0].isInternal);
    EXPECT_EQ(volumes[1].name, "STICK");
    EXPECT_FALSE(volumes[1].isInternal);
    EXPECT_EQ(volumes[2].name, "bootfs");
    EXPECT_TRUE(volumes[2].isInternal);
}

TEST_F(LinuxBoard, PlatformGraphicsNamedByDriver) {
    const auto [displays, graphics] = collectDisplays(platform);
    ASSERT_EQ(graphics.size(), 2u);
    EXPECT_EQ(graphics[0].name, "v3d");
    EXPECT_EQ(graphics[0].vendor, "");
    EXPECT_EQ(graphics[1].name, "vc4-drm");
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_EQ(displays[0].name, "LG HDR 4K");
    EXPECT_EQ(displays[0].uiResolution, "3840 x 2160 @ 30.00Hz");
    EXPECT_TRUE(displays[0].isMain);
    EXPECT_FALSE(displays[0].isBuiltIn);
}

// ---- an empty root: every read fails ------------------------------------------------------

TEST(LinuxEmptyRoot, EverythingFallsBack) {
    ScratchTree tree("empty");
    LinuxPlatform platform(tree.root());
    EXPECT_EQ(profiler(platform, "SPHardwareDataType"),
              json::parse(R"({"SPHardwareDataType": [{"machine_name": "Computer"}]})"));
    EXPECT_TRUE(platform.runData(kSystemProfiler, {"SPMemoryDataType", "-json"}).empty());
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
