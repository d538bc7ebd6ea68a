// The Linux platform's facts: the fake trees whole (what each one shows is listed in
// tests/fixtures/linux), then one table per rule family written into scratch trees, and the
// live sample of a changing /proc.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "service/Collectors.h"
#include "service/platform/FactsJson.h"
#include "tests/service/LinuxTestSupport.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using namespace linux_test;
using record_text::describe;

TEST(LinuxTrees, FactsOfEachTree) {
    for (const char* name : {"laptop", "laptop-charge", "desktop"}) {
        EXPECT_EQ(factsToJson(factsOf(LinuxPlatform(fixtureTree(name), pathSizes()))),
                  readText(fixtureTree(std::string(name) + ".facts.json")))
            << name;
    }
    // An empty root knows nothing beyond the platform's own placeholders.
    ScratchTree empty;
    const LinuxPlatform p(empty.root());
    EXPECT_EQ(factsToJson(factsOf(p)), readText(fixtureTree("empty.facts.json")));
    EXPECT_EQ(p.sampleLive(), LiveInputs{});
}

// Each case's files written into a scratch tree under `base`; the record of that tree.
template <typename Describe>
void expectRules(const std::string& file, const std::string& base, Describe describeRecord) {
    forEachCase(file, [&](const std::string& files, const std::string& expected) {
        ScratchTree tree;
        tree.writeAll(files, base);
        std::string record = describeRecord(LinuxPlatform(tree.root()));
        record.erase(record.find_last_not_of(' ') + 1);
        EXPECT_EQ(record, expected) << files;
    });
}

TEST(LinuxRules, IdentityFormFactorCoresAndSystem) {
    expectRules("hardware-rules.txt", "",
                [](const Platform& p) { return describe(collectHardware(p.hardware())); });
}

TEST(LinuxRules, BatteryUnitsSignsEstimatesAndGaps) {
    expectRules("battery-rules.txt", "sys/class/power_supply/BAT0/",
                [](const Platform& p) { return describe(collectBattery(p.power())); });
}

// Which supplies count, and two batteries: their power facts as one line of JSON.
TEST(LinuxRules, WhichSuppliesCountAndTwoBatteries) {
    expectRules("supply-rules.txt", "sys/class/power_supply/", [](const Platform& p) {
        return nlohmann::json::parse(factsToJson(MachineFacts{{}, p.power(), {}, {}, 0}))["power"]
            .dump();
    });
}

// /proc/stat missing at first, then rewritten in place with a counter past 2^32: the file is
// opened once it appears, read again from its start, and the busy fraction spans the wrap.
TEST(LinuxLive, ChangingStatAcrossA32BitWrap) {
    ScratchTree tree;
    tree.write("proc/meminfo", "MemTotal: 1048576 kB\nActive: 4096 kB\nInactive: 4096 kB\n");
    const LinuxPlatform platform(tree.root());
    EXPECT_FALSE(platform.sampleLive().cpuTicks);

    tree.write("proc/stat", "cpu 0 0 0 0\ncpu0 4294967290 0 100 1000 0 0 0 0\n");
    const LiveSample first = collectLive(LiveMetrics{}, {}, platform);
    ASSERT_TRUE(first.ticks);
    // The kernel's 64-bit counter passed 2^32: 4294967300 is 4 after truncation.
    tree.write("proc/stat", "cpu 0 0 0 0\ncpu0 4294967300 0 110 1080 0 0 0 0\nintr 0\n");
    const LiveSample second = collectLive(first.metrics, *first.ticks, platform);
    EXPECT_EQ(second.metrics.perCore, std::vector<double>{0.2});  // 10 user + 10 system of 100
    EXPECT_DOUBLE_EQ(second.metrics.cpuUserPct, 10.0);
    EXPECT_DOUBLE_EQ(second.metrics.cpuIdlePct, 80.0);
    EXPECT_EQ(second.metrics.memTotalBytes, 1048576LL * 1024);
}

}  // namespace
}  // namespace orvane
