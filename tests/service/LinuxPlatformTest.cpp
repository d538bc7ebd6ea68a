// The Linux platform's facts: the fake trees whole, then one table per rule family written
// into scratch trees (identity and system, batteries), and the live sample.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "service/Collectors.h"
#include "service/platform/FactsJson.h"
#include "tests/service/LinuxTestSupport.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using namespace linux_test;
using record_text::describe;

// Each fake tree's facts are written out next to it (<tree>.facts.json):
// - laptop: DMI identity with a family, 16 online memory blocks (an offline one does not
//   count), an energy battery charging (µWh through the design voltage, current from power
//   and voltage), a peripheral's battery, a USB disk, eDP panel and a DP monitor by EDID;
// - laptop-charge: hybrid processor, MemTotal without memory blocks, the memory type from the
//   firmware tables, a charge battery discharging (current signed by the status, a cycle count
//   of 0 unknown), btrfs on LUKS, a memory card, a closed lid, a writeback connector, a monitor
//   without EDID, an EDID without a name, and a discrete GPU asleep;
// - desktop: device-tree identity, no VERSION_ID, no battery, eMMC, graphics without PCI.
TEST(LinuxTrees, FactsOfEachTree) {
    for (const char* name : {"laptop", "laptop-charge", "desktop"}) {
        const LinuxPlatform p(fixtureTree(name), treeSizes());
        const MachineFacts facts{p.hardware(), p.power(), p.volumes(), p.graphics(),
                                 p.installedMemory()};
        std::ostringstream expected;
        expected << std::ifstream(fixtureTree(std::string(name) + ".facts.json")).rdbuf();
        EXPECT_EQ(factsToJson(facts), expected.str()) << name;
    }
}

TEST(LinuxTrees, EmptyRootKnowsNothing) {
    ScratchTree tree;
    const LinuxPlatform p(tree.root());
    HardwareFacts hw;
    hw.modelName = "Computer";
    hw.chip = "";
    hw.memoryType = "RAM";
    hw.osName = "Linux";
    EXPECT_EQ(p.hardware(), hw);
    EXPECT_EQ(p.power(), PowerFacts{});
    EXPECT_TRUE(p.volumes().empty());
    EXPECT_TRUE(p.graphics().empty());
    EXPECT_EQ(p.installedMemory(), 0);
    EXPECT_EQ(p.sampleLive(), LiveInputs{});
}

// ---- identity and operating system ----------------------------------------------------

TEST(LinuxHardwareRules, IdentityFormFactorCoresAndSystem) {
    const char* const kNothing = "Computer |  |  | 0:0:0 |  RAM |  | Linux   |  | -";
    const std::pair<const char*, const char*> cases[] = {
        // A virtual machine says so in its processor flags, or with a hypervisor directory.
        {"proc/cpuinfo=model name\t: AMD  EPYC\nflags\t\t: fpu hypervisor\n",
         "Virtual Machine |  | AMD EPYC | 0:0:0 |  RAM |  | Linux   |  | -"},
        {"sys/hypervisor/type=xen", "Virtual Machine |  |  | 0:0:0 |  RAM |  | Linux   |  | -"},
        // Placeholders tell nothing.
        {"sys/class/dmi/id/product_name=To be filled by O.E.M.\n|sys/class/dmi/id/"
         "product_family=Default string|sys/class/dmi/id/product_serial=System Serial Number",
         kNothing},
        // A product within its family; a revision is no version worth showing.
        {"sys/class/dmi/id/product_family=Latitude|sys/class/dmi/id/product_name=Latitude  "
         "7420\n|sys/class/dmi/id/product_version=A01|sys/class/dmi/id/chassis_type=10\n",
         "Latitude 7420 | Latitude 7420 |  | 0:0:0 |  RAM |  | Linux   |  | L"},
        // A meaningful version joins the identifier.
        {"sys/class/dmi/id/product_name=21D2|sys/class/dmi/id/product_version=ThinkPad Z13 "
         "Gen 1|sys/class/dmi/id/chassis_type=3",
         "21D2 | 21D2 (ThinkPad Z13 Gen 1) |  | 0:0:0 |  RAM |  | Linux   |  | -"},
        // Hybrid processor lists; a malformed one says nothing of the kinds.
        {"proc/stat=cpu 1 1 1 1\ncpu0 1 1 1 1\ncpu1 1 1 1 1\ncpu2 1 1 1 1\n|sys/devices/"
         "cpu_core/cpus=0-1|sys/devices/cpu_atom/cpus=2",
         "Computer |  |  | 3:2:1 |  RAM |  | Linux   |  | -"},
        {"proc/stat=cpu 1 1 1 1\ncpu0 1 1 1 1\n|sys/devices/cpu_core/cpus=0|sys/devices/"
         "cpu_atom/cpus=3-1",
         "Computer |  |  | 1:0:0 |  RAM |  | Linux   |  | -"},
        {"proc/meminfo=MemTotal: 524288 kB",
         "Computer |  |  | 0:0:0 | 512 MB RAM |  | Linux   |  | -"},
        // Chassis types that are unknown, or not a number, say nothing of the form factor.
        {"sys/class/dmi/id/chassis_type=2", kNothing},
        {"sys/class/dmi/id/chassis_type=laptop", kNothing},
        {"etc/os-release=NAME=Ubuntu\nVERSION_ID=\"22.04\"|proc/sys/kernel/osrelease=6.5.0-14",
         "Computer |  |  | 0:0:0 |  RAM |  | Ubuntu 22.04 6.5.0-14 |  | -"},
        // The fallback file; the numbers from the kernel release without any version text.
        {"usr/lib/os-release=PRETTY_NAME=\"Arch Linux\"|proc/sys/kernel/osrelease=6.7.1-arch1",
         "Computer |  |  | 0:0:0 |  RAM |  | Arch Linux 6.7.1 6.7.1-arch1 |  | -"},
        {"etc/os-release=NAME=X\nVERSION=rolling|proc/sys/kernel/osrelease=not-a-version",
         "Computer |  |  | 0:0:0 |  RAM |  | X rolling not-a-version |  | -"},
    };
    for (const auto& [files, expected] : cases) {
        ScratchTree tree;
        tree.writeAll(files);
        EXPECT_EQ(describe(collectHardware(LinuxPlatform(tree.root()).hardware())), expected)
            << files;
    }
}

// ---- batteries -----------------------------------------------------------------------

TEST(LinuxBatteryRules, UnitsSignsEstimatesAndGaps) {
    const std::pair<const char*, const char*> cases[] = {
        // Energy without any voltage: no capacities.
        {"status=Discharging|energy_full=50000000|energy_now=25000000",
         "P--- | 0/0 | 0 | 0 | Normal | 0 | 0 | 0 | 0/0/0 | -1 | "},
        // Energy through the present voltage without a design voltage.
        {"status=Full|energy_full=50000000|voltage_now=12500000",
         "P-AF | 0/0 | 0 | 0 | Normal | 0 | 12.5 | 0 | 0/4000/0 | -1 | "},
        // A signed current keeps its sign when the status says nothing.
        {"status=Unknown|current_now=-1500000|health=Unknown",
         "P-A- | 0/0 | 0 | 0 | Normal | 0 | 0 | -1.5 | 0/0/0 | -1 | "},
        // A negative current while charging is made positive; minutes from the charge missing.
        {"status=Charging|current_now=-2000000|charge_now=1000000|charge_full=3000000|temp=-52",
         "PCA- | 0/0 | 0 | 33.33333333 | Normal | -5.2 | 0 | 2 | 0/3000/1000 | 60 | "},
        // Power only: current from power and voltage; minutes from the charge left.
        {"status=Discharging|power_now=10000000|voltage_now=10000000|energy_now=30000000|"
         "voltage_min_design=10000000",
         "P--- | 0/0 | 0 | 0 | Normal | 0 | 10 | -1 | 0/0/3000 | 180 | "},
        // The driver's own estimate wins.
        {"status=Discharging|current_now=1000000|charge_now=3000000|time_to_empty_now=7260",
         "P--- | 0/0 | 0 | 0 | Normal | 0 | 0 | -1 | 0/0/3000 | 121 | "},
        // No current: no estimate; nor an absurd one.
        {"status=Discharging|current_now=0|charge_now=3000000",
         "P--- | 0/0 | 0 | 0 | Normal | 0 | 0 | 0 | 0/0/3000 | -1 | "},
        {"status=Discharging|current_now=1|charge_now=3000000000",
         "P--- | 0/0 | 0 | 0 | Normal | 0 | 0 | -1e-06 | 0/0/3000000 | -1 | "},
        // Negative, malformed or absurd values are ignored; the serial is cleaned.
        {"status=Discharging|charge_now=-5|charge_full=12 mAh|energy_full_design="
         "9223372036854775807|voltage_min_design=1|voltage_now=\xff\xfe|cycle_count=-3|"
         "capacity=0|serial_number=<a&b>\x01\xff",
         "P--- | 0/0 | 0 | 0 | Normal | 0 | 0 | 0 | 0/0/0 | -1 | <a&b>"},
    };
    for (const auto& [files, expected] : cases) {
        ScratchTree tree;
        tree.writeAll(std::string("type=Battery|") + files, "sys/class/power_supply/BAT0/");
        EXPECT_EQ(describe(collectBattery(LinuxPlatform(tree.root()).power())), expected) << files;
    }
}

TEST(LinuxBatteryRules, WhichSuppliesCountAndTwoBatteries) {
    ScratchTree tree;
    // Not present, a peripheral's, a supply without a type, and a USB port that is online.
    tree.writeAll(
        "BAT0/type=Battery|BAT0/present=0|hidpp/type=Battery|hidpp/scope=Device|"
        "odd/capacity=50|ucsi/type=USB|ucsi/online=1",
        "sys/class/power_supply/");
    PowerFacts expected;
    expected.externalPower = true;
    EXPECT_EQ(LinuxPlatform(tree.root()).power(), expected);

    for (const std::string bat : {"BAT0/", "BAT1/"}) {
        tree.writeAll(
            "present=1|type=Battery|status=Discharging|charge_full=2000000|"
            "current_now=500000",
            "sys/class/power_supply/" + bat);
    }
    tree.writeAll(
        "BAT0/charge_now=1000000|BAT1/charge_now=2000000|BAT0/cycle_count=100|"
        "BAT1/cycle_count=300|BAT0/health=Good|BAT1/health=Overheat|BAT0/capacity=50",
        "sys/class/power_supply/");
    // One fact per battery; the estimate from both: 3000 mAh at 1000 mA. The USB port is
    // online: on external power although discharging.
    BatteryFacts first;
    first.fullCapacity = 2000;
    first.current = -0.5;
    first.discharging = true;
    BatteryFacts second = first;
    first.currentCapacity = 1000;
    first.cycleCount = 100;
    first.condition = "Good";
    first.chargePercent = 50;
    second.currentCapacity = 2000;
    second.cycleCount = 300;
    second.condition = "Overheat";
    expected.batteries = {first, second};
    expected.timeRemaining = 180;
    EXPECT_EQ(LinuxPlatform(tree.root()).power(), expected);
}

// ---- live sample ---------------------------------------------------------------------

TEST(LinuxLive, LaptopSample) {
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const auto pages = [&](std::uint64_t kb) { return kb * 1024 / page; };
    LiveInputs expected;
    expected.uptime = 93784.52;
    expected.vm = VmStats{
        page,          pages(5242880), pages(3145728), pages(65536 + 262144 + 32768 + 65536),
        pages(524288), pages(131072),  pages(4194304)};
    expected.swapUsed = (8388604ULL - 7340028) * 1024;
    // user; system + irq + softirq + steal; idle + iowait; nice. 2^32 + 10 is 10.
    expected.cpuTicks = std::vector<CpuTicks>{{4294967290u, 2011, 50100, 40},
                                              {10, 2513, 50100, 40},
                                              {3000, 2013, 50100, 40},
                                              {7000, 2516, 50100, 40}};
    EXPECT_EQ(LinuxPlatform(fixtureTree("laptop")).sampleLive(), expected);
}

TEST(LinuxLive, BusyFractionAcrossA32BitWrap) {
    ScratchTree tree;
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
