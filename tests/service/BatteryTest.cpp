#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "service/Collectors.h"
#include "tests/service/Captures.h"
#include "tests/service/CollectorsFakePlatform.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using record_text::describe;

// The registry and the power report decoded field by field are rows of
// tests/fixtures/decoding/mac-battery.json; here what needs the captures or the facts.

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

// The colour by the words in the condition, without case.
TEST(Battery, ConditionColour) {
    const std::pair<const char*, const char*> colours[] = {{"Service Recommended", "red"},
                                                           {"Check Battery", "red"},
                                                           {"GOOD", "green"},
                                                           {"Fair", "yellow"},
                                                           {"-", "secondary"},
                                                           {"Check", "secondary"}};
    for (const auto& [condition, colour] : colours) {
        BatteryInfo b;
        b.condition = condition;
        EXPECT_EQ(tintName(b.conditionTint()), colour) << condition;
    }
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
    BatteryFacts broken = a;  // a controller's sentinels: not readings
    broken.temperature = -270.0;
    struct Case {
        PowerFacts facts;
        std::string expected;
    };
    const Case table[] = {
        {{{a, b}, false, 90},
         "P--- | 150/- | 90 | 50 | Overheat | 35 | 12 | -1.5 | 5000/4500/2250 | 90 | B2"},
        // None discharging: one charging is enough; no estimate yet.
        {{{b, b}, true, std::nullopt},
         "PCAF | 150/- | 90 | 50 | Overheat | 35 | 11.5 | -1 | 4000/3600/1800 | -1 | B2"},
        {{{b}, true, 0},
         "PCAF | 150/- | 90 | 50 | Overheat | 35 | 11.5 | -0.5 | 2000/1800/900 | -1 | B2"},
        {{{a}, false, 65535},
         "P--- | 100/- | 90 | 48 | Good | 30 | 12 | -1 | 3000/2700/1350 | -1 | "},
        {{{broken}, false, 59999},
         "P--- | 100/- | 90 | 48 | Good | - | 12 | -1 | 3000/2700/1350 | - | "},
        // Capacities at the top of the range (a corrupt capture) add up without wrapping;
        // what no battery stated stays not read.
        {{{huge, huge}, false, std::nullopt},
         "P--- | -/- | 100 | 100 | Normal | - | - | - | " + std::to_string(INT64_MAX) + "/" +
             std::to_string(INT64_MAX) + "/" + std::to_string(INT64_MAX) + " | -1 | "},
        // No battery and no power source read: nothing claimed.
        {{{}, std::nullopt, std::nullopt}, "---- | -/- | - | - | - | - | - | - | -/-/- | - | "},
    };
    for (const Case& c : table)
        EXPECT_EQ(describe(collectBattery(c.facts)), c.expected);
}

}  // namespace
}  // namespace orvane
