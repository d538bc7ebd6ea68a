#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/Captures.h"
#include "tests/service/CollectorsFakePlatform.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using collectors_test::xmlPlist;
using record_text::describe;

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
const std::string kInstalled = key("BatteryInstalled", "<true/>");

// A power report of the given items; `health` and `charge` make one item of that group.
std::string powerReport(const std::string& items) {
    return R"({"SPPowerDataType": [)" + items + "]}";
}
std::string health(const std::string& members) {
    return R"({"sppower_battery_health_info": {)" + members + "}}";
}
std::string charge(const std::string& members) {
    return R"({"sppower_battery_charge_info": {)" + members + "}}";
}

BatteryInfo collect(const std::string& registryPlist, const std::string& power = "") {
    FakePlatform p;
    if (!registryPlist.empty()) p.setIoreg(registryPlist);
    if (!power.empty()) p.setProfiler("SPPowerDataType", power);
    return batteryOf(p);
}

std::string readFixture(const std::string& relative) {
    std::ifstream in(capturePath(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Battery, RegistryScalars) {
    // The registry prints a negative current as its unsigned 64-bit pattern.
    EXPECT_DOUBLE_EQ(collect(registry(integer("Amperage", "18446744073709550096"))).amperage,
                     -1.52);
    // Below 1 and 65535 mean "still estimating"; absent from a present entry too.
    const std::pair<std::string, std::int64_t> minutes[] = {
        {"0", -1}, {"-3", -1}, {"1", 1}, {"65534", 65534}, {"65535", -1}};
    for (const auto& [text, expected] : minutes)
        EXPECT_EQ(collect(registry(integer("TimeRemaining", text))).timeRemaining, expected)
            << text;
    EXPECT_EQ(collect(registry("")).timeRemaining, -1);
    EXPECT_EQ(collect(registry(key("TimeRemaining", "<string>125</string>"))).timeRemaining, 125);
    EXPECT_EQ(collect(registry(key("TimeRemaining", "<string>2h</string>"))).timeRemaining, -1);
    // No registry entry at all: the record's default, not "unknown".
    EXPECT_EQ(collect(xmlPlist("<array/>")).timeRemaining, 0);
}

TEST(Battery, CapacitiesAndPercentages) {
    struct Case {
        std::string entries;
        std::int64_t maxCapacity, currentCapacity;
        double health, charge;
    };
    const Case table[] = {
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
        // Plain keys of 100 or less beside a design above 100 are percentages, never mAh: the
        // nominal capacity stands in, or nothing; the current percentage is the charge.
        {integer("MaxCapacity", "100") + integer("CurrentCapacity", "76") +
             integer("DesignCapacity", "6249") + integer("NominalChargeCapacity", "5981"),
         5981, 0, 95.71131381, 76.0},
        {integer("MaxCapacity", "100") + integer("CurrentCapacity", "76") +
             integer("DesignCapacity", "6249"),
         0, 0, 0.0, 76.0},
        // Newer systems keep the raw keys inside "BatteryData".
        {key("BatteryData", "<dict>" + integer("AppleRawMaxCapacity", "5910") +
                                integer("AppleRawCurrentCapacity", "4500") + "</dict>") +
             integer("MaxCapacity", "100") + integer("DesignCapacity", "6249"),
         5910, 4500, 94.57513202, 76.14213198},
        // A small battery's mAh are no percentage.
        {integer("MaxCapacity", "90") + integer("CurrentCapacity", "45") +
             integer("DesignCapacity", "100"),
         90, 45, 90.0, 50.0},
        // Text values go through the strict parse.
        {key("AppleRawMaxCapacity", "<string>4000</string>") +
             key("DesignCapacity", "<string>5000 mAh</string>") +
             key("AppleRawCurrentCapacity", "<real>1000.9</real>"),
         4000, 1000, 0.0, 25.0},
    };
    for (const auto& c : table) {
        const BatteryInfo b = collect(registry(c.entries));
        EXPECT_EQ(std::tie(b.maxCapacity, b.currentCapacity),
                  std::tie(c.maxCapacity, c.currentCapacity))
            << c.entries;
        EXPECT_NEAR(b.healthPercent, c.health, 1e-6) << c.entries;
        EXPECT_NEAR(b.chargePercent, c.charge, 1e-6) << c.entries;
    }
}

TEST(Battery, RegistryEntryShape) {
    // Flags only from booleans, text only from strings; no battery installed: no "Normal".
    EXPECT_EQ(describe(collect(registry(
                  integer("BatteryInstalled", "1") +
                  key("ExternalConnected", "<string>Yes</string>") + key("IsCharging", "<false/>") +
                  key("FullyCharged", "<true/>") + key("Serial", "<integer>42</integer>")))),
              "---F | 0/0 | 0 | 0 | - | 0 | 0 | 0 | 0/0/0 | -1 | ");
    // Only the first entry is read.
    EXPECT_EQ(collect(xmlPlist("<array><dict>" + integer("CycleCount", "10") + "</dict><dict>" +
                               integer("CycleCount", "20") + "</dict></array>"))
                  .cycleCount,
              10);
    // Answers that are no battery entry leave every field at its default; an empty list is a
    // Mac without a battery, on its power supply.
    EXPECT_EQ(describe(collect(xmlPlist("<array/>"))),
              "--A- | 0/0 | 0 | 0 | - | 0 | 0 | 0 | 0/0/0 | 0 | ");
    const std::string defaults = describe(BatteryInfo());
    for (const std::string& bad :
         {std::string(),  // the tool cannot be started
          std::string("not a property list"), xmlPlist("<dict>" + kInstalled + "</dict>"),
          xmlPlist("<array><string>battery</string></array>"),
          xmlPlist("<array><dict>" + kInstalled + "</dict><integer>1</integer></array>")}) {
        EXPECT_EQ(describe(collect(bad)), defaults) << bad;
    }
}

TEST(Battery, PowerReportWithoutRegistry) {
    const BatteryInfo b = collect(
        xmlPlist("<array/>"),
        powerReport(health(R"("sppower_battery_health": "Good", "sppower_battery_cycle_count": 312,
                              "sppower_battery_health_maximum_capacity": "87%")") +
                    "," + charge(R"("sppower_battery_state_of_charge": 97,
                              "sppower_battery_fully_charged": "TRUE")")));
    EXPECT_EQ(describe(b), "---F | 312/0 | 87 | 97 | Good | 0 | 0 | 0 | 0/0/0 | 0 | ");
}

// Each power-report member over a registry that already gave a value: whether it overrides.
TEST(Battery, PowerReportOverrides) {
    const std::string designed =
        registry(integer("DesignCapacity", "5000") + integer("AppleRawMaxCapacity", "4500"));
    // Only the digits of the text count ("8.5%" is 85); 0, none or a number keep the 90.
    const std::pair<const char*, double> maximum[] = {
        {R"("87%")", 87.0}, {R"("8.5%")", 85.0}, {R"("0%")", 90.0},
        {R"("n/a")", 90.0}, {"87", 90.0},        {R"("99999999999999999999%")", 90.0}};
    for (const auto& [text, expected] : maximum) {
        const std::string report = powerReport(
            health(std::string(R"("sppower_battery_health_maximum_capacity": )") + text));
        EXPECT_DOUBLE_EQ(collect(designed, report).healthPercent, expected) << text;
    }

    // The state of charge overrides when above 0, unclamped; text must be a plain number.
    const std::string charged = registry(integer("AppleRawMaxCapacity", "4500") +
                                         integer("AppleRawCurrentCapacity", "4600"));
    const std::pair<const char*, double> soc[] = {
        {"97", 97.0},  {R"("97")", 97.0}, {R"("97%")", 100.0}, {"0", 100.0},
        {"-5", 100.0}, {"97.6", 97.0},    {"150", 150.0}};
    for (const auto& [text, expected] : soc) {
        const std::string report =
            powerReport(charge(std::string(R"("sppower_battery_state_of_charge": )") + text));
        EXPECT_DOUBLE_EQ(collect(charged, report).chargePercent, expected) << text;
    }

    // "Fully charged" is text compared without case; a boolean leaves the registry's flag.
    const std::string full = registry(key("FullyCharged", "<true/>"));
    const std::string notFull = registry(key("FullyCharged", "<false/>"));
    const std::tuple<const std::string*, const char*, bool> fullyCharged[] = {
        {&full, R"("FALSE")", false},
        {&full, R"("No")", false},
        {&notFull, R"("True")", true},
        {&full, "false", true},
        {&notFull, "true", false}};
    for (const auto& [reg, text, expected] : fullyCharged) {
        const std::string report =
            powerReport(charge(std::string(R"("sppower_battery_fully_charged": )") + text));
        EXPECT_EQ(collect(*reg, report).fullyCharged, expected) << text;
    }

    // The cycle count only fills a missing one, and later items see what earlier ones set.
    const std::string cycles = powerReport(health(R"("sppower_battery_cycle_count": 312)"));
    EXPECT_EQ(collect(registry(integer("CycleCount", "0")), cycles).cycleCount, 312);
    EXPECT_EQ(collect(registry(integer("CycleCount", "311")), cycles).cycleCount, 311);
    EXPECT_EQ(
        collect(registry(""), powerReport(health(R"("sppower_battery_cycle_count": 100)") + "," +
                                          health(R"("sppower_battery_cycle_count": 200)")))
            .cycleCount,
        100);
}

TEST(Battery, Condition) {
    // Later items override; groups and values of the wrong kind are skipped.
    const std::string report =
        powerReport(health(R"("sppower_battery_health": "Good")") + "," +
                    R"({"sppower_battery_health_info": "Fair"},)" +
                    R"({"sppower_battery_charge_info": [1, 2]},)" +
                    health(R"("sppower_battery_health": "Service Recommended")") + "," +
                    health(R"("sppower_battery_health": 3)"));
    EXPECT_EQ(collect(registry(kInstalled), report).condition, "Service Recommended");

    // Older systems write "Check Battery" for what their window calls "Service Recommended".
    const BatteryInfo older = collect(registry(kInstalled), powerReport(R"({
        "_name": "spbattery_information",
        "sppower_battery_charge_info": {"sppower_battery_at_warn_level": "FALSE",
            "sppower_battery_current_capacity": 3071, "sppower_battery_fully_charged": "FALSE",
            "sppower_battery_is_charging": "FALSE", "sppower_battery_max_capacity": 4102},
        "sppower_battery_health_info": {"sppower_battery_cycle_count": 1187,
            "sppower_battery_health": "Check Battery"}})"));
    EXPECT_EQ(older.condition + " " + std::string(tintName(older.conditionTint())), "Check Battery red");
    // The colour by the words in the condition, without case.
    const std::pair<const char*, const char*> colours[] = {{"Service Recommended", "red"},
                                                           {"GOOD", "green"},
                                                           {"Fair", "yellow"},
                                                           {"-", "secondary"},
                                                           {"Check", "secondary"}};
    for (const auto& [condition, colour] : colours) {
        BatteryInfo b;
        b.condition = condition;
        EXPECT_EQ(tintName(b.conditionTint()), colour) << condition;
    }

    // A battery without a reported condition is "Normal"; a reported "-" counts as none.
    const std::string present = registry(kInstalled);
    const auto conditionFrom = [&](const char* value) {
        return collect(present,
                       powerReport(health(std::string(R"("sppower_battery_health": )") + value)))
            .condition;
    };
    EXPECT_EQ(collect(present).condition, "Normal");
    EXPECT_EQ(conditionFrom(R"("-")"), "Normal");
    EXPECT_EQ(conditionFrom(R"("")"), "");
    EXPECT_EQ(collect(registry("")).condition, "-");
}

TEST(Battery, UnreadablePowerReportKeepsRegistryValues) {
    const std::string reg = readFixture("mac-portable/ioreg-AppleSmartBattery.plist");
    const std::string expected = describe(collect(reg));
    ASSERT_EQ(expected.substr(0, 4), "PCA-");
    for (const std::string& report :
         {std::string("{\"SPPowerDataType\": [{\"sppower_battery_health_info\""),
          std::string(R"({"SPPowerDataType": {"sppower_battery_health_info": {}}})"),
          std::string(R"({"SPPowerDataType": [3]})"), std::string(R"([{"SPPowerDataType": []}])"),
          std::string(R"({"SPPowerDataType": []})")}) {
        EXPECT_EQ(describe(collect(reg, report)), expected) << report;
    }
}

TEST(BatteryReplay, BinaryRegistryReadsLikeXml) {
    FakePlatform xml;
    xml.setIoreg(readFixture("mac-portable/ioreg-AppleSmartBattery.plist"));
    FakePlatform binary;
    binary.setIoreg(readFixture("plist/AppleSmartBattery-portable.bplist"));
    EXPECT_EQ(describe(batteryOf(binary)), describe(batteryOf(xml)));
}

// Several batteries read as one: capacities and currents add up, the worst condition, the
// highest cycle count and temperature stand; the system's own percentages only for one.
TEST(Battery, SeveralBatteriesReadAsOne) {
    BatteryFacts a;
    a.designCapacity = 3000, a.fullCapacity = 2700, a.currentCapacity = 1350;
    a.cycleCount = 100, a.voltage = 12.0, a.current = -1.0, a.temperature = 30.0;
    a.discharging = true, a.condition = "Good", a.chargePercent = 48.0;
    BatteryFacts b;
    b.designCapacity = 2000, b.fullCapacity = 1800, b.currentCapacity = 900;
    b.cycleCount = 150, b.voltage = 11.5, b.current = -0.5, b.temperature = 35.0;
    b.charging = true, b.fullyCharged = true, b.serial = "B2", b.condition = "Overheat";
    BatteryFacts huge;
    huge.designCapacity = huge.fullCapacity = huge.currentCapacity = INT64_MAX;
    struct Case {
        PowerFacts facts;
        std::string expected;
    };
    const Case table[] = {
        {{{a, b}, false, 90},
         "P--- | 150/0 | 90 | 50 | Overheat | 35 | 12 | -1.5 | 5000/4500/2250 | 90 | B2"},
        // None discharging: one charging is enough; no estimate yet.
        {{{b, b}, true, std::nullopt},
         "PCAF | 150/0 | 90 | 50 | Overheat | 35 | 11.5 | -1 | 4000/3600/1800 | -1 | B2"},
        {{{b}, true, 0},
         "PCAF | 150/0 | 90 | 50 | Overheat | 35 | 11.5 | -0.5 | 2000/1800/900 | -1 | B2"},
        {{{a}, false, 65535},
         "P--- | 100/0 | 90 | 48 | Good | 30 | 12 | -1 | 3000/2700/1350 | -1 | "},
        // Capacities at the top of the range (a corrupt capture) add up without wrapping.
        {{{huge, huge}, false, std::nullopt},
         "P--- | 0/0 | 100 | 100 | Normal | 0 | 0 | 0 | " + std::to_string(INT64_MAX) + "/" +
             std::to_string(INT64_MAX) + "/" + std::to_string(INT64_MAX) + " | -1 | "},
    };
    for (const Case& c : table)
        EXPECT_EQ(describe(collectBattery(c.facts)), c.expected);
}

}  // namespace
}  // namespace orvane
