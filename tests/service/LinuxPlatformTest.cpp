// The Linux platform's facts: the fake trees whole, then one table per rule family written
// into scratch trees (identity and OS, batteries), and the live sample.
#include <gtest/gtest.h>
#include <unistd.h>

#include "service/Collectors.h"
#include "tests/service/LinuxTestSupport.h"
#include "tests/service/RecordText.h"

// Expected facts name only what a case states; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace orvane {
namespace {

using namespace linux_test;
using record_text::describe;
using Texts = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

// ---- the fake trees ------------------------------------------------------------------

// A laptop: energy battery on a charger, eDP panel and a DP monitor, a USB disk.
TEST(LinuxTrees, Laptop) {
    const LinuxPlatform p(fixtureTree("laptop"), fixedSizes(laptopSizesForTests()));
    // 16 online memory blocks of 1 GiB; the offline block does not count.
    EXPECT_EQ(p.hardware(), (HardwareFacts{.modelName = "ThinkPad X1 Carbon Gen 9",
                                           .modelIdentifier = "20XWCTO1WW",
                                           .chip = "11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz",
                                           .logicalProcessors = 4,
                                           .memoryBytes = 16LL << 30,
                                           .memoryText = "16 GB",
                                           .memoryType = "RAM",
                                           .serial = "PF2ABCDE",
                                           .portable = true,
                                           .osName = "Debian GNU/Linux",
                                           .osVersion = OsVersion{12, 0, 0},
                                           .osVersionText = "12",
                                           .osBuild = "6.1.0-18-amd64",
                                           .uptime = 93784.52,
                                           .hostName = "thinkpad"}));
    // µWh through the design voltage of 11.58 V; 15 W at 12.7 V, positive while charging;
    // (4430 - 3544) mAh at 1181 mA is 45 minutes. The mouse's battery is not the computer's.
    EXPECT_EQ(p.power(), (PowerFacts{.batteries = {{.designCapacity = 4922,
                                                    .fullCapacity = 4430,
                                                    .currentCapacity = 3544,
                                                    .cycleCount = 312,
                                                    .voltage = 12.7,
                                                    .current = 15e6 / 12.7e6,
                                                    .charging = true,
                                                    .serial = "1234",
                                                    .chargePercent = 80}},
                                     .externalPower = true,
                                     .timeRemaining = 45}));
    EXPECT_EQ(
        p.volumes(),
        (std::vector<VolumeFacts>{
            {"/", "/", "ext4", 500'000'000'000, 200'000'000'000, true},
            {"SYSTEM", "/boot/efi", "vfat", 500'000'000, 400'000'000, true},
            {"home", "/home", "ext4", 1'000'000'000'000, 500'000'000'000, true},
            {"My Disk", "/media/alice/My Disk", "vfat", 64'000'000'000, 32'000'000'000, false}}));
    EXPECT_EQ(p.graphics(),
              (std::vector<GpuFacts>{
                  {.name = "Iris Xe Graphics",
                   .vendor = "Intel Corporation",
                   .driver = "i915",
                   .displays = {{"Built-in Display", "1920 x 1200", "1920 x 1200 @ 59.95Hz",
                                 "59.95Hz", true, true, "Internal"},
                                {"DELL U2720Q", "3840 x 2160", "3840 x 2160 @ 60.00Hz", "60.00Hz",
                                 false, false, "DisplayPort"}}}}));

    // What the collectors make of them.
    EXPECT_EQ(describe(collectBattery(p.power())),
              "PCA- | 312/0 | 90.00406339 | 80 | Normal | 0 | 12.7 | 1.181102362 | "
              "4922/4430/3544 | 45 | 1234");
    EXPECT_EQ(describe(collectHardware(p.hardware())),
              "ThinkPad X1 Carbon Gen 9 | 20XWCTO1WW | 11th Gen Intel(R) Core(TM) i7-1165G7 @ "
              "2.80GHz | 4:0:0 | 16 GB RAM | PF2ABCDE | Debian GNU/Linux 12 6.1.0-18-amd64 | "
              "thinkpad | L");
}

// A laptop with a discharging charge battery, a hybrid processor, btrfs on LUKS, a memory
// card, a closed lid, and a discrete GPU asleep.
TEST(LinuxTrees, ChargeLaptop) {
    const LinuxPlatform p(fixtureTree("laptop-charge"),
                          fixedSizes({{"/", {1'000'000'000'000, 250'000'000'000}},
                                      {"/boot", {1'000'000'000, 600'000'000}},
                                      {"/boot/efi", {600'000'000, 580'000'000}},
                                      {"/run/media/dana/CARD", {128'000'000'000, 100'000'000'000}},
                                      {"/mnt/hung", {2'000'000'000'000, 1'000'000'000'000}}}));
    // No memory block directory: MemTotal. The memory type from the firmware tables.
    EXPECT_EQ(p.hardware(), (HardwareFacts{.modelName = "XPS 13 9315",
                                           .modelIdentifier = "XPS 13 9315",
                                           .chip = "12th Gen Intel(R) Core(TM) i5-1240P",
                                           .logicalProcessors = 8,
                                           .performanceCores = 4,
                                           .efficiencyCores = 4,
                                           .memoryBytes = 7869440LL * 1024,
                                           .memoryText = "8 GB",
                                           .memoryType = "LPDDR4",
                                           .portable = true,
                                           .osName = "Fedora Linux",
                                           .osVersion = OsVersion{39, 0, 0},
                                           .osVersionText = "39",
                                           .osBuild = "5.19.0-rc1",
                                           .uptime = 3661,
                                           .hostName = "xps"}));
    // The current is a magnitude, signed by the status; a cycle count of 0 means the driver
    // does not count; 1750 mAh at 1200 mA is 87 minutes. The mains supply is offline.
    EXPECT_EQ(p.power(), (PowerFacts{.batteries = {{.designCapacity = 3950,
                                                    .fullCapacity = 3500,
                                                    .currentCapacity = 1750,
                                                    .voltage = 7.6,
                                                    .current = -1.2,
                                                    .temperature = 28.5,
                                                    .discharging = true,
                                                    .condition = "Good",
                                                    .chargePercent = 50}},
                                     .externalPower = false,
                                     .timeRemaining = 87}));
    EXPECT_EQ(
        p.volumes(),
        (std::vector<VolumeFacts>{
            {"fedora", "/", "btrfs", 1'000'000'000'000, 250'000'000'000, true},
            {"boot", "/boot", "ext4", 1'000'000'000, 600'000'000, true},
            {"efi", "/boot/efi", "vfat", 600'000'000, 580'000'000, true},
            {"CAMERA", "/run/media/dana/CARD", "exfat", 128'000'000'000, 100'000'000'000, false},
            {"hung", "/mnt/hung", "fuseblk", 2'000'000'000'000, 1'000'000'000'000, true}}));
    // No EDID: the first line of the modes, no refresh rate, the connector's name. Then an
    // EDID without a name. The closed panel and the writeback connector are not displays.
    EXPECT_EQ(
        p.graphics(),
        (std::vector<GpuFacts>{
            {.name = "Iris Xe Graphics",
             .vendor = "Intel Corporation",
             .driver = "i915",
             .displays = {{"DP-2", "1280 x 1024", "1280 x 1024", "", true, false, "DisplayPort"},
                          {"HDMI-A-1", "2560 x 1440", "2560 x 1440 @ 59.95Hz", "59.95Hz", false,
                           false, "HDMI"}}},
            {.name = "GeForce GTX 1650 Mobile / Max-Q",
             .vendor = "NVIDIA Corporation",
             .driver = "nvidia"}}));
}

// A single-board computer: device tree, no battery, eMMC, graphics without PCI.
TEST(LinuxTrees, Board) {
    const LinuxPlatform p(fixtureTree("desktop"),
                          fixedSizes({{"/", {32'000'000'000, 20'000'000'000}},
                                      {"/boot/firmware", {512'000'000, 400'000'000}},
                                      {"/media/pi/STICK", {16'000'000'000, 15'000'000'000}}}));
    const std::string model = "Raspberry Pi Compute Module 4 Rev 1.1";
    // No firmware identity; a testing release without a number takes the kernel's.
    EXPECT_EQ(p.hardware(), (HardwareFacts{.modelName = model,
                                           .modelIdentifier = model,
                                           .chip = model,
                                           .logicalProcessors = 4,
                                           .memoryBytes = 3885032LL * 1024,
                                           .memoryText = "4 GB",
                                           .memoryType = "RAM",
                                           .osName = "Debian GNU/Linux",
                                           .osVersion = OsVersion{6, 6, 20},
                                           .osVersionText = "trixie/sid",
                                           .osBuild = "6.6.20+rpt-rpi-v8",
                                           .uptime = 59.99,
                                           .hostName = "pi"}));
    EXPECT_EQ(p.power(), PowerFacts{});
    EXPECT_EQ(p.volumes(),
              (std::vector<VolumeFacts>{
                  {"rootfs", "/", "ext4", 32'000'000'000, 20'000'000'000, true},
                  {"bootfs", "/boot/firmware", "vfat", 512'000'000, 400'000'000, true},
                  {"STICK", "/media/pi/STICK", "vfat", 16'000'000'000, 15'000'000'000, false}}));
    EXPECT_EQ(p.graphics(), (std::vector<GpuFacts>{
                                {.name = "v3d", .driver = "v3d"},
                                {.name = "vc4-drm",
                                 .driver = "vc4-drm",
                                 .displays = {{"LG HDR 4K", "3840 x 2160", "3840 x 2160 @ 30.00Hz",
                                               "30.00Hz", true, false, "HDMI"}}}}));
}

TEST(LinuxTrees, EmptyRootKnowsNothing) {
    ScratchTree tree("empty");
    const LinuxPlatform p(tree.root());
    EXPECT_EQ(p.hardware(),
              (HardwareFacts{
                  .modelName = "Computer", .chip = "", .memoryType = "RAM", .osName = "Linux"}));
    EXPECT_EQ(p.power(), PowerFacts{});
    EXPECT_TRUE(p.volumes().empty());
    EXPECT_TRUE(p.graphics().empty());
    EXPECT_EQ(p.installedMemory(), 0);
    EXPECT_EQ(p.sampleLive(), LiveInputs{});
    EXPECT_EQ(collectHardware(p.hardware()).macOSName, "Linux");
}

// ---- identity and operating system ----------------------------------------------------

TEST(LinuxHardwareRules, IdentityFormFactorCoresAndSystem) {
    const std::string dmi = "sys/class/dmi/id/";
    struct Case {
        const char* label;
        Files files;
        void (*expect)(HardwareFacts&);
    };
    const Case cases[] = {
        {"a virtual machine says so in its processor flags",
         {{"proc/cpuinfo", "processor\t: 0\nmodel name\t: AMD  EPYC\nflags\t\t: fpu hypervisor\n"}},
         [](HardwareFacts& f) {
             f.modelName = "Virtual Machine";
             f.chip = "AMD EPYC";
         }},
        {"or with a hypervisor directory",
         {{"sys/hypervisor/type", "xen\n"}},
         [](HardwareFacts& f) { f.modelName = "Virtual Machine"; }},
        {"placeholders tell nothing",
         {{dmi + "product_name", "To be filled by O.E.M.\n"},
          {dmi + "product_family", "Default string\n"},
          {dmi + "product_serial", "System Serial Number\n"}},
         [](HardwareFacts&) {}},
        {"a product within its family; a revision is no version worth showing",
         {{dmi + "product_family", "Latitude\n"},
          {dmi + "product_name", "Latitude  7420\n"},
          {dmi + "product_version", "A01\n"}},
         [](HardwareFacts& f) { f.modelName = f.modelIdentifier = "Latitude 7420"; }},
        {"a meaningful version joins the identifier",
         {{dmi + "product_name", "21D2\n"}, {dmi + "product_version", "ThinkPad Z13 Gen 1\n"}},
         [](HardwareFacts& f) {
             f.modelName = "21D2";
             f.modelIdentifier = "21D2 (ThinkPad Z13 Gen 1)";
         }},
        {"hybrid processor lists; a malformed one says nothing of the kinds",
         {{"proc/stat", "cpu 1 1 1 1\ncpu0 1 1 1 1\ncpu1 1 1 1 1\ncpu2 1 1 1 1\n"},
          {"sys/devices/cpu_core/cpus", "0-1\n"},
          {"sys/devices/cpu_atom/cpus", "2\n"}},
         [](HardwareFacts& f) {
             f.logicalProcessors = 3;
             f.performanceCores = 2;
             f.efficiencyCores = 1;
         }},
        {"",
         {{"proc/stat", "cpu0 1 1 1 1\n"},
          {"sys/devices/cpu_core/cpus", "0\n"},
          {"sys/devices/cpu_atom/cpus", "3-1\n"}},
         [](HardwareFacts& f) { f.logicalProcessors = 1; }},
        {"memory below a gigabyte",
         {{"proc/meminfo", "MemTotal: 524288 kB\n"}},
         [](HardwareFacts& f) {
             f.memoryBytes = 512LL << 20;
             f.memoryText = "512 MB";
         }},
        {"a convertible",
         {{dmi + "chassis_type", "31\n"}},
         [](HardwareFacts& f) { f.portable = true; }},
        {"a tower", {{dmi + "chassis_type", "3"}}, [](HardwareFacts& f) { f.portable = false; }},
        {"chassis unknown", {{dmi + "chassis_type", "2\n"}}, [](HardwareFacts&) {}},
        {"chassis not a number", {{dmi + "chassis_type", "laptop"}}, [](HardwareFacts&) {}},
        {"VERSION_ID gives the numbers",
         {{"etc/os-release", "NAME=Ubuntu\nVERSION_ID=\"22.04\"\n"},
          {"proc/sys/kernel/osrelease", "6.5.0-14-generic\n"}},
         [](HardwareFacts& f) {
             f.osName = "Ubuntu";
             f.osVersionText = "22.04";
             f.osVersion = OsVersion{22, 4, 0};
             f.osBuild = "6.5.0-14-generic";
         }},
        {"only a pretty name and a version text, in the fallback file",
         {{"usr/lib/os-release", "PRETTY_NAME=\"Arch Linux\"\nVERSION=rolling\n"},
          {"proc/sys/kernel/osrelease", "not-a-version\n"}},
         [](HardwareFacts& f) {
             f.osName = "Arch Linux";
             f.osVersionText = "rolling";
             f.osBuild = "not-a-version";
         }},
        {"a version of zeros is no version",
         {{"etc/os-release", "VERSION_ID=0\n"}, {"proc/sys/kernel/osrelease", "0.0\n"}},
         [](HardwareFacts& f) {
             f.osVersionText = "0";
             f.osBuild = "0.0";
         }},
    };
    for (const Case& c : cases) {
        ScratchTree tree("hardware");
        tree.write(c.files);
        HardwareFacts expected{
            .modelName = "Computer", .chip = "", .memoryType = "RAM", .osName = "Linux"};
        c.expect(expected);
        EXPECT_EQ(LinuxPlatform(tree.root()).hardware(), expected) << c.label;
    }
}

// ---- batteries -----------------------------------------------------------------------

TEST(LinuxBatteryRules, UnitsSignsEstimatesAndGaps) {
    struct Case {
        const char* label;
        Files files;  // under sys/class/power_supply/BAT0/
        BatteryFacts battery;
        std::optional<std::int64_t> minutes;
    };
    const Case cases[] = {
        {"energy without any voltage: no capacities",
         {{"status", "Discharging"}, {"energy_full", "50000000"}, {"energy_now", "25000000"}},
         {.discharging = true},
         {}},
        {"energy through the present voltage without a design voltage",
         {{"status", "Full"}, {"energy_full", "50000000"}, {"voltage_now", "12500000"}},
         {.fullCapacity = 4000, .voltage = 12.5, .fullyCharged = true},
         {}},
        {"a signed current keeps its sign when the status says nothing",
         {{"status", "Unknown"}, {"current_now", "-1500000"}, {"health", "Unknown"}},
         {.current = -1.5},
         {}},
        {"a negative current while charging is made positive",
         {{"status", "Charging"}, {"current_now", "-800000"}},
         {.current = 0.8, .charging = true},
         {}},
        {"power only: current from power and voltage; minutes from the charge left",
         {{"status", "Discharging"},
          {"power_now", "10000000"},
          {"voltage_now", "10000000"},
          {"energy_now", "30000000"},
          {"voltage_min_design", "10000000"}},
         {.currentCapacity = 3000, .voltage = 10, .current = -1, .discharging = true},
         180},
        {"the driver's own estimate wins",
         {{"status", "Discharging"},
          {"current_now", "1000000"},
          {"charge_now", "3000000"},
          {"time_to_empty_now", "7260"}},
         {.currentCapacity = 3000, .current = -1, .discharging = true},
         121},
        {"no current: no estimate",
         {{"status", "Discharging"}, {"current_now", "0"}, {"charge_now", "3000000"}},
         {.currentCapacity = 3000, .current = 0, .discharging = true},
         {}},
        {"charging: minutes from the charge missing",
         {{"status", "Charging"},
          {"current_now", "2000000"},
          {"charge_now", "1000000"},
          {"charge_full", "3000000"},
          {"temp", "-52"}},
         {.fullCapacity = 3000,
          .currentCapacity = 1000,
          .current = 2,
          .temperature = -5.2,
          .charging = true},
         60},
        {"absurd estimates are dropped",
         {{"status", "Discharging"}, {"current_now", "1"}, {"charge_now", "3000000000"}},
         {.currentCapacity = 3000000, .current = -1e-6, .discharging = true},
         {}},
        {"negative, malformed or absurd values are ignored",
         {{"status", "Discharging"},
          {"charge_now", "-5"},
          {"charge_full", "12 mAh"},
          {"energy_full_design", "9223372036854775807"},
          {"voltage_min_design", "1"},
          {"voltage_now", "\xff\xfe"},
          {"cycle_count", "-3"},
          {"capacity", "0"},
          {"serial_number", "<a&b>\x01\xff"}},
         {.discharging = true, .serial = "<a&b>"},
         {}},
    };
    for (const Case& c : cases) {
        ScratchTree tree("battery");
        tree.write("sys/class/power_supply/BAT0/type", "Battery\n");
        for (const auto& [file, content] : c.files)
            tree.write("sys/class/power_supply/BAT0/" + file, content + "\n");
        // Without a mains supply, on external power unless discharging.
        const PowerFacts expected{.batteries = {c.battery},
                                  .externalPower = !c.battery.discharging,
                                  .timeRemaining = c.minutes};
        EXPECT_EQ(LinuxPlatform(tree.root()).power(), expected) << c.label;
    }
}

TEST(LinuxBatteryRules, WhichSuppliesCountAndTwoBatteries) {
    ScratchTree tree("supplies");
    const std::string ps = "sys/class/power_supply/";
    // Not present, a peripheral's, a supply without a type, and a USB port that is online.
    tree.write({{ps + "BAT0/type", "Battery\n"},
                {ps + "BAT0/present", "0\n"},
                {ps + "hidpp/type", "Battery\n"},
                {ps + "hidpp/scope", "Device\n"},
                {ps + "odd/capacity", "50\n"},
                {ps + "ucsi/type", "USB\n"},
                {ps + "ucsi/online", "1\n"}});
    EXPECT_EQ(LinuxPlatform(tree.root()).power(), PowerFacts{.externalPower = true});

    for (const std::string name : {"BAT0", "BAT1"}) {
        tree.write({{ps + name + "/present", "1\n"},
                    {ps + name + "/type", "Battery\n"},
                    {ps + name + "/status", "Discharging\n"},
                    {ps + name + "/charge_full", "2000000\n"},
                    {ps + name + "/current_now", "500000\n"}});
    }
    tree.write({{ps + "BAT0/charge_now", "1000000\n"},
                {ps + "BAT1/charge_now", "2000000\n"},
                {ps + "BAT0/cycle_count", "100\n"},
                {ps + "BAT1/cycle_count", "300\n"},
                {ps + "BAT0/health", "Good\n"},
                {ps + "BAT1/health", "Overheat\n"},
                {ps + "BAT0/capacity", "50\n"}});
    // One fact per battery; the estimate from both: 3000 mAh at 1000 mA. The USB port is
    // online: on external power although discharging.
    const PowerFacts power = LinuxPlatform(tree.root()).power();
    const BatteryFacts common{.fullCapacity = 2000, .current = -0.5, .discharging = true};
    BatteryFacts first = common;
    first.currentCapacity = 1000;
    first.cycleCount = 100;
    first.condition = "Good";
    first.chargePercent = 50;
    BatteryFacts second = common;
    second.currentCapacity = 2000;
    second.cycleCount = 300;
    second.condition = "Overheat";
    EXPECT_EQ(
        power,
        (PowerFacts{.batteries = {first, second}, .externalPower = true, .timeRemaining = 180}));
    // Shown as one: capacities add up, the worst condition wins.
    EXPECT_EQ(describe(collectBattery(power)),
              "P-A- | 300/0 | 0 | 75 | Overheat | 0 | 0 | -1 | 0/4000/3000 | 180 | ");
}

// ---- live sample ---------------------------------------------------------------------

TEST(LinuxLive, LaptopSample) {
    const LinuxPlatform p(fixtureTree("laptop"));
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const auto pages = [&](std::uint64_t kb) { return kb * 1024 / page; };
    EXPECT_EQ(p.sampleLive(),
              (LiveInputs{.uptime = 93784.52,
                          .vm = VmStats{.pageSize = page,
                                        .active = pages(5242880),
                                        .inactive = pages(3145728),
                                        .wire = pages(65536 + 262144 + 32768 + 65536),
                                        .purgeable = pages(524288),
                                        .compressor = pages(131072),
                                        .external = pages(4194304)},
                          .swapUsed = (8388604ULL - 7340028) * 1024,
                          // 2^32 + 10 is kept modulo 2^32.
                          .cpuTicks = std::vector<CpuTicks>{{4294967290u, 2011, 50100, 40},
                                                            {10, 2513, 50100, 40},
                                                            {3000, 2013, 50100, 40},
                                                            {7000, 2516, 50100, 40}}}));
}

TEST(LinuxLive, BusyFractionAcrossA32BitWrap) {
    ScratchTree tree("wrap");
    tree.write("proc/meminfo", "MemTotal: 1048576 kB\nActive: 4096 kB\nInactive: 4096 kB\n");
    tree.write("proc/stat", "cpu 0 0 0 0\ncpu0 4294967290 0 100 1000 0 0 0 0\n");
    const LinuxPlatform platform(tree.root());
    const LiveSample first = collectLive(LiveMetrics{}, {}, platform);
    ASSERT_TRUE(first.ticks);

    // The kernel's 64-bit counter passed 2^32: 4294967300 is 4 after truncation.
    tree.write("proc/stat", "cpu 0 0 0 0\ncpu0 4294967300 0 110 1080 0 0 0 0\n");
    const LiveSample second = collectLive(first.metrics, *first.ticks, platform);
    EXPECT_EQ(second.metrics.perCore, std::vector<double>{0.2});  // 10 user + 10 system of 100
    EXPECT_DOUBLE_EQ(second.metrics.cpuUserPct, 10.0);
    EXPECT_DOUBLE_EQ(second.metrics.cpuIdlePct, 80.0);
    EXPECT_EQ(second.metrics.memTotalBytes, 1048576LL * 1024);
}

}  // namespace
}  // namespace orvane
