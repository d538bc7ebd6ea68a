#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/CollectorsFakePlatform.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using collectors_test::xmlPlist;

// A registry answer of one battery dictionary holding `entries` (key/value XML).
std::string registry(const std::string& entries) {
    return xmlPlist("<array><dict>" + entries + "</dict></array>");
}

std::string key(const std::string& name, const std::string& valueXml) {
    return "<key>" + name + "</key>" + valueXml;
}
std::string integer(const std::string& name, const std::string& value) {
    return key(name, "<integer>" + value + "</integer>");
}

std::string powerReport(const std::string& items) {
    return R"({"SPPowerDataType": [)" + items + "]}";
}

std::string healthItem(const std::string& members) {
    return R"({"sppower_battery_health_info": {)" + members + "}}";
}
std::string chargeItem(const std::string& members) {
    return R"({"sppower_battery_charge_info": {)" + members + "}}";
}

BatteryInfo collect(const std::string& registryPlist, const std::string& power = "") {
    FakePlatform p;
    if (!registryPlist.empty()) p.setIoreg(registryPlist);
    if (!power.empty()) p.setProfiler("SPPowerDataType", power);
    return collectBattery(p);
}

const std::string kPortableEntries =
    key("BatteryInstalled", "<true/>") + integer("CycleCount", "212") +
    integer("DesignCycleCount9C", "1000") + integer("DesignCapacity", "6000") +
    integer("AppleRawMaxCapacity", "5400") + integer("MaxCapacity", "100") +
    integer("AppleRawCurrentCapacity", "4320") + integer("CurrentCapacity", "80") +
    key("ExternalConnected", "<true/>") + key("IsCharging", "<true/>") +
    key("FullyCharged", "<false/>") + integer("Temperature", "3055") + integer("Voltage", "12850") +
    integer("Amperage", "-1520") + key("Serial", "<string>F8Y2TEST</string>") +
    integer("TimeRemaining", "125");

TEST(Battery, RegistryFields) {
    const BatteryInfo b = collect(registry(kPortableEntries));
    EXPECT_TRUE(b.present);
    EXPECT_EQ(b.cycleCount, 212);
    EXPECT_EQ(b.designCycleCount, 1000);
    EXPECT_EQ(b.designCapacity, 6000);
    EXPECT_EQ(b.maxCapacity, 5400);
    EXPECT_EQ(b.currentCapacity, 4320);
    EXPECT_TRUE(b.onAC);
    EXPECT_TRUE(b.isCharging);
    EXPECT_FALSE(b.fullyCharged);
    EXPECT_DOUBLE_EQ(b.temperature, 30.55);
    EXPECT_DOUBLE_EQ(b.voltage, 12.85);
    EXPECT_DOUBLE_EQ(b.amperage, -1.52);
    EXPECT_EQ(b.serial, "F8Y2TEST");
    EXPECT_EQ(b.timeRemaining, 125);
    EXPECT_DOUBLE_EQ(b.healthPercent, 90.0);
    EXPECT_DOUBLE_EQ(b.chargePercent, 80.0);
    EXPECT_EQ(b.condition, "Normal");  // a battery and no power report
}

TEST(Battery, NegativeCurrentAsTheRegistryPrintsIt) {
    // The registry stores the current as an unsigned 64-bit pattern.
    const BatteryInfo b = collect(registry(integer("Amperage", "18446744073709550096")));
    EXPECT_DOUBLE_EQ(b.amperage, -1.52);
}

TEST(Battery, TimeRemaining) {
    const std::pair<std::string, std::int64_t> table[] = {
        {integer("TimeRemaining", "0"), -1},
        {integer("TimeRemaining", "-3"), -1},
        {integer("TimeRemaining", "65535"), -1},
        {integer("TimeRemaining", "65534"), 65534},
        {integer("TimeRemaining", "125"), 125},
        {integer("TimeRemaining", "1"), 1},
        {"", -1},  // absent from a present registry entry: still being estimated
        {key("TimeRemaining", "<string>125</string>"), 125},
        {key("TimeRemaining", "<string>2h</string>"), -1}};
    for (const auto& [entry, minutes] : table) {
        EXPECT_EQ(collect(registry(entry)).timeRemaining, minutes) << entry;
    }
    // No registry entry at all: the record's default, not "unknown".
    EXPECT_EQ(collect(xmlPlist("<array/>")).timeRemaining, 0);
}

struct CapacityCase {
    std::string entries;
    std::int64_t maxCapacity, currentCapacity;
    double health, charge;
};

TEST(Battery, CapacitiesAndPercentages) {
    const CapacityCase table[] = {
        // Raw values first; below 1 the plain keys.
        {integer("AppleRawMaxCapacity", "0") + integer("MaxCapacity", "4500") +
             integer("DesignCapacity", "5000") + integer("CurrentCapacity", "2250"),
         4500, 2250, 90.0, 50.0},
        {integer("MaxCapacity", "4500") + integer("DesignCapacity", "5000"), 4500, 0, 90.0, 0.0},
        // Health is not clamped; charge is.
        {integer("AppleRawMaxCapacity", "5200") + integer("DesignCapacity", "5000") +
             integer("AppleRawCurrentCapacity", "5300"),
         5200, 5300, 104.0, 100.0},
        // No design capacity: no health.
        {integer("AppleRawMaxCapacity", "4500") + integer("AppleRawCurrentCapacity", "4500"), 4500,
         4500, 0.0, 100.0},
        {integer("AppleRawMaxCapacity", "-5") + integer("DesignCapacity", "5000") +
             integer("AppleRawCurrentCapacity", "100"),
         0, 100, 0.0, 0.0},
        // Text values go through the strict parse.
        {key("AppleRawMaxCapacity", "<string>4000</string>") +
             key("DesignCapacity", "<string>5000 mAh</string>") +
             key("AppleRawCurrentCapacity", "<real>1000.9</real>"),
         4000, 1000, 0.0, 25.0},
    };
    for (const auto& c : table) {
        const BatteryInfo b = collect(registry(c.entries));
        EXPECT_EQ(b.maxCapacity, c.maxCapacity) << c.entries;
        EXPECT_EQ(b.currentCapacity, c.currentCapacity) << c.entries;
        EXPECT_DOUBLE_EQ(b.healthPercent, c.health) << c.entries;
        EXPECT_DOUBLE_EQ(b.chargePercent, c.charge) << c.entries;
    }
}

TEST(Battery, BooleansOnlyFromBooleans) {
    const BatteryInfo b = collect(
        registry(integer("BatteryInstalled", "1") +
                 key("ExternalConnected", "<string>Yes</string>") + key("IsCharging", "<false/>") +
                 key("FullyCharged", "<true/>") + key("Serial", "<integer>42</integer>")));
    EXPECT_FALSE(b.present);
    EXPECT_FALSE(b.onAC);
    EXPECT_FALSE(b.isCharging);
    EXPECT_TRUE(b.fullyCharged);
    EXPECT_EQ(b.serial, "");
    EXPECT_EQ(b.condition, "-");  // no battery installed: no "Normal"
}

// Registry answers that are no battery entry: every field stays at its default.
class UnreadableRegistry : public ::testing::TestWithParam<std::string> {};

TEST_P(UnreadableRegistry, Defaults) {
    const BatteryInfo b = collect(GetParam());
    const BatteryInfo defaults;
    EXPECT_EQ(b.present, defaults.present);
    EXPECT_EQ(b.cycleCount, 0);
    EXPECT_EQ(b.maxCapacity, 0);
    EXPECT_EQ(b.healthPercent, 0);
    EXPECT_EQ(b.timeRemaining, 0);
    EXPECT_EQ(b.serial, "");
    EXPECT_EQ(b.condition, "-");
}

INSTANTIATE_TEST_SUITE_P(
    Battery, UnreadableRegistry,
    ::testing::Values(std::string(),  // the tool cannot be started
                      std::string("not a property list"), std::string("bplist00\x01\x02\x03", 11),
                      xmlPlist("<array>"),  // truncated
                      xmlPlist("<array/>"),
                      xmlPlist("<dict>" + key("BatteryInstalled", "<true/>") + "</dict>"),
                      xmlPlist("<array><string>battery</string></array>"),
                      xmlPlist("<array><dict>" + key("BatteryInstalled", "<true/>") +
                               "</dict><integer>1</integer></array>")));

TEST(Battery, OnlyTheFirstEntryIsRead) {
    const BatteryInfo b =
        collect(xmlPlist("<array><dict>" + integer("CycleCount", "10") + "</dict><dict>" +
                         integer("CycleCount", "20") + "</dict></array>"));
    EXPECT_EQ(b.cycleCount, 10);
}

TEST(Battery, PowerReportWithoutRegistry) {
    const BatteryInfo b = collect(
        xmlPlist("<array/>"), powerReport(healthItem(R"("sppower_battery_health": "Good",
                                  "sppower_battery_cycle_count": 312,
                                  "sppower_battery_health_maximum_capacity": "87%")") +
                                          "," + chargeItem(R"("sppower_battery_state_of_charge": 97,
                                  "sppower_battery_fully_charged": "TRUE")")));
    EXPECT_FALSE(b.present);
    EXPECT_EQ(b.condition, "Good");
    EXPECT_EQ(b.cycleCount, 312);
    EXPECT_DOUBLE_EQ(b.healthPercent, 87.0);
    EXPECT_DOUBLE_EQ(b.chargePercent, 97.0);
    EXPECT_TRUE(b.fullyCharged);
    EXPECT_EQ(b.timeRemaining, 0);
}

struct HealthCase {
    const char* maximum;  // the member as JSON text
    double health;
};

TEST(Battery, MaximumCapacityDigits) {
    const std::string designed =
        registry(integer("DesignCapacity", "5000") + integer("AppleRawMaxCapacity", "4500"));
    const HealthCase table[] = {
        {R"("87%")", 87.0},
        {R"("8.5%")", 85.0},
        {R"("100")", 100.0},
        {R"("0%")", 90.0},
        {R"("%")", 90.0},
        {R"("")", 90.0},
        {R"("n/a")", 90.0},
        {"87", 90.0},                          // a number is not text: registry value
        {R"("99999999999999999999%")", 90.0},  // too large to parse
    };
    for (const auto& c : table) {
        const std::string report = powerReport(
            healthItem(std::string(R"("sppower_battery_health_maximum_capacity": )") + c.maximum));
        EXPECT_DOUBLE_EQ(collect(designed, report).healthPercent, c.health) << c.maximum;
    }
}

TEST(Battery, CycleCountOnlyWhenRegistryHasNone) {
    const std::string report = powerReport(healthItem(R"("sppower_battery_cycle_count": 312)"));
    EXPECT_EQ(collect(registry(integer("CycleCount", "0")), report).cycleCount, 312);
    EXPECT_EQ(collect(registry(integer("CycleCount", "311")), report).cycleCount, 311);
    // Later items see the count an earlier item set.
    const std::string twoItems =
        powerReport(healthItem(R"("sppower_battery_cycle_count": 100)") + "," +
                    healthItem(R"("sppower_battery_cycle_count": 200)"));
    EXPECT_EQ(collect(registry(""), twoItems).cycleCount, 100);
}

TEST(Battery, StateOfCharge) {
    const std::string charged = registry(integer("AppleRawMaxCapacity", "4500") +
                                         integer("AppleRawCurrentCapacity", "4600"));
    const std::pair<const char*, double> table[] = {
        {"97", 97.0},    {R"("97")", 97.0}, {R"("97%")", 100.0}, {"0", 100.0},
        {"-5", 100.0},   {"97.6", 97.0},    {"150", 150.0},  // the report is not clamped
        {"null", 100.0}, {"[97]", 100.0}};
    for (const auto& [soc, charge] : table) {
        const std::string report =
            powerReport(chargeItem(std::string(R"("sppower_battery_state_of_charge": )") + soc));
        EXPECT_DOUBLE_EQ(collect(charged, report).chargePercent, charge) << soc;
    }
}

TEST(Battery, FullyChargedText) {
    const std::string full = registry(key("FullyCharged", "<true/>"));
    const std::string notFull = registry(key("FullyCharged", "<false/>"));
    const std::tuple<const std::string*, const char*, bool> table[] = {
        {&full, R"("FALSE")", false},
        {&full, R"("No")", false},
        {&full, R"("")", false},
        {&full, R"("true")", true},
        {&notFull, R"("True")", true},
        {&full, "false", true},  // a boolean is not text: the registry stays
        {&notFull, "true", false},
        {&full, "1", true}};
    for (const auto& [reg, text, expected] : table) {
        const std::string report =
            powerReport(chargeItem(std::string(R"("sppower_battery_fully_charged": )") + text));
        EXPECT_EQ(collect(*reg, report).fullyCharged, expected) << text;
    }
}

TEST(Battery, LaterItemsOverrideAndWrongKindsAreSkipped) {
    const std::string report =
        powerReport(healthItem(R"("sppower_battery_health": "Good")") + "," +
                    R"({"sppower_battery_health_info": "Fair"},)" +
                    R"({"sppower_battery_charge_info": [1, 2]},)" +
                    healthItem(R"("sppower_battery_health": "Service Recommended")") + "," +
                    healthItem(R"("sppower_battery_health": 3)"));
    const BatteryInfo b = collect(registry(key("BatteryInstalled", "<true/>")), report);
    EXPECT_EQ(b.condition, "Service Recommended");
    EXPECT_EQ(b.conditionColorName(), "red");
}

TEST(Battery, UnreadablePowerReportKeepsRegistryValues) {
    const std::string reg = registry(kPortableEntries);
    for (const std::string& report :
         {std::string("{\"SPPowerDataType\": [{\"sppower_battery_health_info\""),
          std::string(R"({"SPPowerDataType": {"sppower_battery_health_info": {}}})"),
          std::string(R"({"SPPowerDataType": [3]})"), std::string(R"([{"SPPowerDataType": []}])"),
          std::string(R"({"SPPowerDataType": []})")}) {
        const BatteryInfo b = collect(reg, report);
        EXPECT_DOUBLE_EQ(b.healthPercent, 90.0) << report;
        EXPECT_DOUBLE_EQ(b.chargePercent, 80.0) << report;
        EXPECT_EQ(b.condition, "Normal") << report;
    }
}

TEST(Battery, ConditionFallback) {
    // A battery without a reported condition is "Normal"; a reported "-" counts as none.
    const std::string present = registry(key("BatteryInstalled", "<true/>"));
    EXPECT_EQ(collect(present).condition, "Normal");
    EXPECT_EQ(
        collect(present, powerReport(healthItem(R"("sppower_battery_health": "-")"))).condition,
        "Normal");
    EXPECT_EQ(
        collect(present, powerReport(healthItem(R"("sppower_battery_health": "")"))).condition, "");
    EXPECT_EQ(collect(registry("")).condition, "-");
}

TEST(Battery, CommandLinesInOrder) {
    FakePlatform p;
    collectBattery(p);
    const std::vector<FakePlatform::CommandLine> expected = {
        {kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}},
        {kSystemProfiler, {"SPPowerDataType", "-json"}}};
    EXPECT_EQ(p.calls, expected);
}

std::string readFixture(const std::string& relative) {
    std::ifstream in(std::string(ORVANE_FIXTURES) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

BatteryInfo replayBattery(const char* machine) {
    return collectBattery(ReplayPlatform(std::string(ORVANE_FIXTURES) + "/" + machine));
}

TEST(BatteryReplay, Portable) {
    const BatteryInfo b = replayBattery("mac-portable");
    EXPECT_TRUE(b.present);
    EXPECT_EQ(b.cycleCount, 212);
    EXPECT_EQ(b.designCycleCount, 1000);
    EXPECT_DOUBLE_EQ(b.healthPercent, 91.0);  // the report's 91% over the registry's 90
    EXPECT_EQ(b.condition, "Good");
    EXPECT_DOUBLE_EQ(b.chargePercent, 81.0);  // the report's 81 over the registry's 80
    EXPECT_TRUE(b.isCharging);
    EXPECT_TRUE(b.onAC);
    EXPECT_FALSE(b.fullyCharged);
    EXPECT_DOUBLE_EQ(b.temperature, 30.55);
    EXPECT_DOUBLE_EQ(b.voltage, 12.85);
    EXPECT_DOUBLE_EQ(b.amperage, 1.52);
    EXPECT_EQ(b.designCapacity, 6000);
    EXPECT_EQ(b.maxCapacity, 5400);
    EXPECT_EQ(b.currentCapacity, 4320);
    EXPECT_EQ(b.timeRemaining, 45);
    EXPECT_EQ(b.serial, "F8Y2TEST0BAT1");
    EXPECT_EQ(b.conditionColorName(), "green");
}

TEST(BatteryReplay, BinaryRegistryReadsLikeXml) {
    FakePlatform xml;
    xml.setIoreg(readFixture("mac-portable/ioreg-AppleSmartBattery.plist"));
    FakePlatform binary;
    binary.setIoreg(readFixture("plist/AppleSmartBattery-portable.bplist"));
    const BatteryInfo a = collectBattery(xml);
    const BatteryInfo b = collectBattery(binary);
    EXPECT_TRUE(b.present);
    EXPECT_EQ(b.cycleCount, a.cycleCount);
    EXPECT_EQ(b.maxCapacity, a.maxCapacity);
    EXPECT_EQ(b.currentCapacity, a.currentCapacity);
    EXPECT_DOUBLE_EQ(b.temperature, a.temperature);
    EXPECT_DOUBLE_EQ(b.healthPercent, 90.0);
    EXPECT_EQ(b.serial, a.serial);
    EXPECT_EQ(b.timeRemaining, 45);
}

TEST(BatteryReplay, MachinesWithoutBattery) {
    for (const char* machine : {"mac-desktop", "mac-older", "mac-broken", "mac-failed"}) {
        const BatteryInfo b = replayBattery(machine);
        EXPECT_FALSE(b.present) << machine;
        EXPECT_EQ(b.condition, "-") << machine;
        EXPECT_EQ(b.cycleCount, 0) << machine;
        EXPECT_EQ(b.chargePercent, 0) << machine;
        EXPECT_EQ(b.timeRemaining, 0) << machine;
        EXPECT_EQ(b.conditionColorName(), "secondary") << machine;
    }
}

}  // namespace
}  // namespace orvane
