#include <gtest/gtest.h>

#include "tests/ui/PageTextPrinters.h"
#include "ui/model/OverviewModel.h"

namespace orvane {
namespace {

HardwareInfo hardware() {
    HardwareInfo hw;
    hw.modelName = "MacBook Pro";
    hw.modelIdentifier = "Mac15,6";
    hw.chip = "Apple M3 Pro";
    hw.totalCores = 12;
    hw.performanceCores = 6;
    hw.efficiencyCores = 6;
    hw.memoryGB = "18 GB";
    hw.memoryType = "LPDDR5";
    hw.serialNumber = "C02XK1ABCD12";
    hw.macOSName = "macOS Sonoma";
    hw.macOSVersion = "14.5";
    hw.macOSBuild = "23F79";
    hw.hostname = "ada";
    hw.isLaptop = true;
    return hw;
}

BatteryInfo battery(double health, double charge) {
    BatteryInfo b;
    b.present = true;
    b.healthPercent = health;
    b.chargePercent = charge;
    b.cycleCount = 312;
    return b;
}

TEST(OverviewModel, CoreValueAndCaption) {
    struct Case {
        std::int64_t total, perf, eff;
        const char* value;
        const char* caption;
    };
    const Case cases[] = {
        {14, 10, 4, "14", "10P + 4E"}, {8, 0, 0, "8", "CPU Cores"},  {8, 4, 0, "8", "4P + 0E"},
        {0, 0, 0, "-", "CPU Cores"},   {-3, 0, 0, "-", "CPU Cores"}, {1, 0, 0, "1", "CPU Cores"},
    };
    for (const Case& c : cases) {
        HardwareInfo hw;
        hw.totalCores = c.total;
        hw.performanceCores = c.perf;
        hw.efficiencyCores = c.eff;
        EXPECT_EQ(OverviewModel::coreValue(hw), c.value) << c.total;
        EXPECT_EQ(OverviewModel::coreCaption(hw), c.caption) << c.perf;
    }
}

TEST(OverviewModel, BootCapacityPrefersTheBootVolumeThenTheFirst) {
    EXPECT_EQ(OverviewModel::bootCapacity({}), "-");
    std::vector<VolumeInfo> v = {
        VolumeInfo("Data", "/Volumes/Data", "APFS", 2'000'398'934'016, 0, true, false),
        VolumeInfo("Macintosh HD", "/", "APFS", 494'384'795'648, 0, true, true),
    };
    EXPECT_EQ(OverviewModel::bootCapacity(v), "494 GB");
    v[1].isBoot = false;
    EXPECT_EQ(OverviewModel::bootCapacity(v), "2.00 TB");
    v[0].totalBytes = 0;  // unknown, not "0 GB"
    EXPECT_EQ(OverviewModel::bootCapacity(v), "-");
}

TEST(OverviewModel, ChipsWithABattery) {
    const auto c = OverviewModel::chips(hardware(), battery(87.4, 50), {});
    EXPECT_EQ(c[0], (PageText::Chip{Symbol::memoryChip, "18 GB", "LPDDR5", Tint::blue, "Memory"}));
    EXPECT_EQ(c[1], (PageText::Chip{Symbol::cpu, "12", "6P + 6E", Tint::accent, "CPU Cores"}));
    EXPECT_EQ(c[2], (PageText::Chip{Symbol::internalDrive, "-", "Storage", Tint::green, {}}));
    EXPECT_EQ(c[3], (PageText::Chip{Symbol::battery100, "87%", "Battery Health", Tint::green, {}}));
    // Worn batteries turn the chip yellow, then red (tint = usage colour of 1 - health).
    EXPECT_EQ(OverviewModel::chips(hardware(), battery(40, 50), {})[3].tint, Tint::yellow);
    EXPECT_EQ(OverviewModel::chips(hardware(), battery(15, 50), {})[3].tint, Tint::red);
    EXPECT_EQ(OverviewModel::chips(hardware(), battery(99.5, 50), {})[3].value, "100%");
}

TEST(OverviewModel, ChipsWithoutABattery) {
    HardwareInfo desktop = hardware();
    desktop.isLaptop = false;
    desktop.memoryGB.clear();
    desktop.memoryType.clear();
    BatteryInfo mains;
    mains.onAC = true;
    const auto c = OverviewModel::chips(desktop, mains, {});
    EXPECT_EQ(c[0], (PageText::Chip{Symbol::memoryChip, "-", "", Tint::blue, "Memory"}));
    EXPECT_EQ(c[3], (PageText::Chip{Symbol::boltFill, "AC", "Power", Tint::yellow, {}}));
    // A portable whose battery was not found keeps its battery icon.
    EXPECT_EQ(OverviewModel::chips(hardware(), mains, {})[3],
              (PageText::Chip{Symbol::battery100, "AC", "Power", Tint::yellow, {}}));
    // A desktop reporting a battery (a UPS, say) keeps the plug icon but shows health.
    EXPECT_EQ(OverviewModel::chips(desktop, battery(100, 50), {})[3],
              (PageText::Chip{Symbol::boltFill, "100%", "Battery Health", Tint::green, {}}));
}

TEST(OverviewModel, HeroPills) {
    HardwareInfo hw = hardware();
    EXPECT_EQ(OverviewModel::hero(hw).pills,
              (std::vector<std::string>{"macOS Sonoma 14.5", "Mac15,6"}));
    EXPECT_EQ(OverviewModel::hero(hw).symbol, Symbol::laptop);
    EXPECT_EQ(OverviewModel::hero(hw).modelName, "MacBook Pro");
    hw.modelIdentifier.clear();
    EXPECT_EQ(OverviewModel::hero(hw).pills, (std::vector<std::string>{"macOS Sonoma 14.5"}));
    hw.macOSName.clear();
    EXPECT_EQ(OverviewModel::hero(hw).pills, (std::vector<std::string>{"14.5"}));
    hw.macOSVersion.clear();
    EXPECT_TRUE(OverviewModel::hero(hw).pills.empty());  // no empty capsule
}

// Texts made of parts keep their separators and brackets only between parts that are there.
// A Mac's system row is "macOS" with the build in brackets; any other system gets a row of its
// own name and the kernel release as "Kernel", and the serial number still ends the card.
TEST(OverviewModel, SystemRows) {
    using Rows = std::vector<PageText::Row>;
    const auto mac = [](const char* v) { return Rows{{"macOS", v, Symbol::appleLogo}}; };
    const auto other = [](const char* name, const char* kernel) {
        Rows r{{"Operating System", name, Symbol::stack}};
        if (*kernel) r.push_back({"Kernel", kernel, Symbol::number});
        return r;
    };
    const struct {
        const char *memoryGB, *memoryType, *osName, *version, *build, *memory;
        Rows os;
    } cases[] = {
        {"18 GB", "LPDDR5", "macOS Sonoma", "14.5", "23F79", "18 GB \u00b7 LPDDR5",
         mac("macOS Sonoma 14.5 (23F79)")},
        {"1000 GB", "", "macOS", "16.0", "", "1000 GB", mac("macOS 16.0")},
        {"", "DDR4", "macOS", "", "23F79", "DDR4", mac("macOS (23F79)")},
        {"", "", "macOS", "", "", "-", mac("macOS")},
        {"8 GB", "", "Debian GNU/Linux", "12", "6.1.0-18-amd64", "8 GB",
         other("Debian GNU/Linux 12", "6.1.0-18-amd64")},
        {"", "", "Fedora Linux", "", "", "-", other("Fedora Linux", "")},
        // Only a name that starts with it is the Mac's system.
        {"", "", "Not macOS", "1", "5.15", "-", other("Not macOS 1", "5.15")},
    };
    for (const auto& c : cases) {
        HardwareInfo hw = hardware();
        hw.memoryGB = c.memoryGB;
        hw.memoryType = c.memoryType;
        hw.macOSName = c.osName;
        hw.macOSVersion = c.version;
        hw.macOSBuild = c.build;
        const Rows rows = OverviewModel::systemRows(hw);
        ASSERT_EQ(rows.size(), 5 + c.os.size()) << c.osName;
        EXPECT_EQ(rows[3].value, c.memory) << c.osName;
        EXPECT_EQ(Rows(rows.begin() + 4, rows.end() - 1), c.os) << c.osName;
        EXPECT_EQ(rows.back().label, "Serial Number");
        for (const auto& r : rows)
            EXPECT_EQ(r.valueColor, r.value == "-" ? Tint::secondary : Tint::primary);
    }
    // Defaults before the first load: dashes for the empty identifier and serial.
    const auto defaults = OverviewModel::systemRows(HardwareInfo{});
    EXPECT_EQ(defaults[0].value, "Mac");
    EXPECT_EQ(defaults[1].value, "-");
    EXPECT_EQ(defaults[5].value, "-");
}

TEST(OverviewModel, GlanceRowsWithoutABattery) {
    LiveMetrics live;
    live.uptime = 93784;
    live.cpuUserPct = 30;
    live.cpuSystemPct = 12.5;  // 42.5 rounds to the even 42
    live.memUsedBytes = 9LL << 30;
    live.memTotalBytes = 10LL << 30;
    live.cpuMeasured = live.memMeasured = true;
    BatteryInfo mains;
    mains.onAC = true;
    const auto rows = OverviewModel::glanceRows(hardware(), live, mains, 2);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].value, "ada");
    EXPECT_EQ(rows[1].value, "1d 2h 3m");
    EXPECT_EQ(rows[2], (PageText::Row{"CPU Load", "42%", Symbol::gauge, Tint::green}));
    EXPECT_EQ(rows[3].value, "9 GB of 10 GB");  // memory in binary units
    EXPECT_EQ(rows[3].valueColor, Tint::red);
    EXPECT_EQ(rows[4], (PageText::Row{"Power", "AC Power", Symbol::powerPlug}));
    EXPECT_EQ(rows[5], (PageText::Row{"Displays", "2 connected", Symbol::display}));
}

// Nothing read: every value is the placeholder in the secondary style, and a power source
// that was not read is not claimed.
TEST(OverviewModel, GlanceRowsBeforeAnythingWasRead) {
    const auto rows = OverviewModel::glanceRows(HardwareInfo{}, LiveMetrics{}, BatteryInfo{}, 0);
    ASSERT_EQ(rows.size(), 5u);
    for (const auto& r : rows) {
        EXPECT_EQ(r.value, "-") << r.label;
        EXPECT_EQ(r.valueColor, Tint::secondary) << r.label;
    }
    EXPECT_EQ(rows[4].label, "Displays");
    // The hardware's uptime stands in until a live sample has one.
    HardwareInfo hw;
    hw.uptime = 3660;
    EXPECT_EQ(OverviewModel::glanceRows(hw, LiveMetrics{}, BatteryInfo{}, 0)[1].value, "1h 1m");
    const auto chips = OverviewModel::chips(HardwareInfo{}, BatteryInfo{}, {});
    EXPECT_EQ(chips[3], (PageText::Chip{Symbol::battery100, "-", "Power", Tint::secondary, {}}));
    BatteryInfo unread;
    unread.present = true;
    const auto battery = OverviewModel::glanceRows(hardware(), LiveMetrics{}, unread, 0);
    EXPECT_EQ(battery[4].value, "-");
    EXPECT_EQ(battery[5].value, "-");
    EXPECT_EQ(OverviewModel::chips(hardware(), unread, {})[3].value, "-");
}

TEST(OverviewModel, GlanceRowsWithABattery) {
    struct Case {
        bool charging, onAC;
        double charge;
        const char* value;
    };
    const Case cases[] = {
        {true, true, 54.6, "55% \u00b7 Charging"},
        {true, false, 54.6, "55% \u00b7 Charging"},
        {false, true, 80, "80% \u00b7 On AC"},
        {false, false, 0.5, "0% \u00b7 On Battery"},
    };
    for (const Case& c : cases) {
        BatteryInfo b = battery(90, c.charge);
        b.isCharging = c.charging;
        b.onAC = c.onAC;
        const auto rows = OverviewModel::glanceRows(hardware(), LiveMetrics{}, b, 2);
        ASSERT_EQ(rows.size(), 6u);
        EXPECT_EQ(rows[4], (PageText::Row{"Battery", c.value, Symbol::battery75}));
        EXPECT_EQ(rows[5], (PageText::Row{"Cycle Count", "312", Symbol::arrowCirclePath}));
    }
}

}  // namespace
}  // namespace orvane
