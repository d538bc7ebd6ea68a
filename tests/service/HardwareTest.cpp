#include <gtest/gtest.h>

#include <string>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/CollectorsFakePlatform.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;

std::string hardwareJson(const std::string& itemMembers) {
    return R"({"SPHardwareDataType": [{)" + itemMembers + "}]}";
}

// A Mac whose kernel values all read, so every fallback has something to take.
FakePlatform kernelOnlyMac() {
    FakePlatform p;
    p.strings["hw.model"] = "MacBookAir10,1";
    p.strings["machdep.cpu.brand_string"] = "Apple M1";
    p.ints["hw.ncpu"] = 8;
    p.ints["hw.memsize"] = 17179869184;
    p.version = {14, 5, 0};
    return p;
}

struct CoresCase {
    const char* processors;  // the member as JSON text
    std::int64_t total, performance, efficiency;
};

class ProcessorCount : public ::testing::TestWithParam<CoresCase> {};

TEST_P(ProcessorCount, DigitRunsGiveCores) {
    FakePlatform p = kernelOnlyMac();
    p.setProfiler("SPHardwareDataType",
                  hardwareJson(std::string(R"("number_processors": )") + GetParam().processors));
    const HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.totalCores, GetParam().total);
    EXPECT_EQ(hw.performanceCores, GetParam().performance);
    EXPECT_EQ(hw.efficiencyCores, GetParam().efficiency);
}

INSTANTIATE_TEST_SUITE_P(
    Hardware, ProcessorCount,
    ::testing::Values(CoresCase{R"("proc 12:8:4")", 12, 8, 4},
                      CoresCase{R"("proc 8:4:4")", 8, 4, 4}, CoresCase{R"("proc 8")", 8, 0, 0},
                      CoresCase{R"("proc 10:8")", 10, 0, 0},
                      CoresCase{R"("24:16:8:99")", 24, 16, 8},
                      // A run too large for 64 bits is dropped; the others move up.
                      CoresCase{R"("proc 99999999999999999999:8:4")", 8, 0, 0},
                      CoresCase{R"("proc 007:3:4")", 7, 3, 4},
                      // No usable digits, a number, or nothing: the kernel's count.
                      CoresCase{R"("proc")", 8, 0, 0}, CoresCase{R"("")", 8, 0, 0},
                      CoresCase{"8", 8, 0, 0}, CoresCase{"12.0", 8, 0, 0},
                      CoresCase{"null", 8, 0, 0}, CoresCase{R"(["12"])", 8, 0, 0},
                      // Zero from the report is no count: the kernel's count replaces it.
                      CoresCase{R"("proc 0")", 8, 0, 0}));

struct NameCase {
    const char* members;
    const char* modelName;
    const char* modelIdentifier;
};

class ModelNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ModelNames, NameThenModelThenMac) {
    FakePlatform p = kernelOnlyMac();
    p.setProfiler("SPHardwareDataType", hardwareJson(GetParam().members));
    const HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.modelName, GetParam().modelName);
    EXPECT_EQ(hw.modelIdentifier, GetParam().modelIdentifier);
}

INSTANTIATE_TEST_SUITE_P(
    Hardware, ModelNames,
    ::testing::Values(
        NameCase{R"("machine_name": "Mac mini", "machine_model": "Macmini9,1")", "Mac mini",
                 "Macmini9,1"},
        NameCase{R"("machine_model": "Macmini9,1")", "Macmini9,1", "Macmini9,1"},
        NameCase{R"("machine_name": 7, "machine_model": "Macmini9,1")", "Macmini9,1", "Macmini9,1"},
        // Neither: "Mac", and the identifier comes from the kernel.
        NameCase{R"("serial_number": "X")", "Mac", "MacBookAir10,1"},
        // Empty texts are taken as they are; an empty identifier falls back to the kernel.
        NameCase{R"("machine_name": "", "machine_model": "")", "", "MacBookAir10,1"}));

TEST(Hardware, ItemFieldsAndChipFallback) {
    FakePlatform p = kernelOnlyMac();
    p.setProfiler("SPHardwareDataType",
                  hardwareJson(R"("machine_name": "MacBook Air", "machine_model": "MacBookAir10,1",
                                  "serial_number": "C02ABC", "physical_memory": "8 GB")"));
    HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.chip, "Apple M1");  // no "chip_type": the brand string
    EXPECT_EQ(hw.serialNumber, "C02ABC");
    EXPECT_EQ(hw.memoryGB, "8 GB");
    EXPECT_TRUE(hw.isLaptop);

    p.setProfiler("SPHardwareDataType", hardwareJson(R"("chip_type": "Apple M3", "serial_number": 5,
                                  "physical_memory": 8)"));
    hw = collectHardware(p);
    EXPECT_EQ(hw.chip, "Apple M3");
    EXPECT_EQ(hw.serialNumber, "");
    EXPECT_EQ(hw.memoryGB, "17 GB");  // not text: from "hw.memsize"
}

// Outputs under which the hardware report counts as missing: nothing of it is used and the
// chip is not taken from the kernel either.
class UnreadableHardwareReport : public ::testing::TestWithParam<const char*> {};

TEST_P(UnreadableHardwareReport, KernelFallbacksOnly) {
    FakePlatform p = kernelOnlyMac();
    if (*GetParam()) p.setProfiler("SPHardwareDataType", GetParam());
    const HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.modelName, "Mac");
    EXPECT_EQ(hw.chip, "");
    EXPECT_EQ(hw.serialNumber, "");
    EXPECT_EQ(hw.modelIdentifier, "MacBookAir10,1");
    EXPECT_EQ(hw.totalCores, 8);
    EXPECT_EQ(hw.performanceCores, 0);
    EXPECT_EQ(hw.memoryGB, "17 GB");
    EXPECT_EQ(hw.memoryType, "Unified Memory");
    EXPECT_EQ(hw.gpuCores, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Hardware, UnreadableHardwareReport,
    ::testing::Values("",  // the tool cannot be started
                      R"({"SPHardwareDataType": [{"machine_name": "MacBook)",  // truncated
                      R"([{"machine_name": "MacBook Pro"}])",                  // not an object
                      R"({"SPHardwareDataType": []})",
                      R"({"SPHardwareDataType": {"machine_name": "MacBook Pro"}})",
                      R"({"SPHardwareDataType": [{"machine_name": "MacBook Pro"}, 3]})",
                      R"({"SPHardwareDataType": ["MacBook Pro"]})",
                      R"({"OtherDataType": [{"machine_name": "MacBook Pro"}]})"));

TEST(Hardware, KernelReadsFailingToo) {
    FakePlatform p;  // nothing at all can be read
    const HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.modelName, "Mac");
    EXPECT_EQ(hw.modelIdentifier, "");
    EXPECT_FALSE(hw.isLaptop);  // replaced in every load, even from an empty identifier
    EXPECT_EQ(hw.totalCores, 0);
    // A failed memory read answers 0: no "0 GB" claim.
    EXPECT_EQ(hw.memoryGB, "");
    EXPECT_EQ(hw.memoryType, "Unified Memory");
    EXPECT_EQ(hw.macOSVersion, "");
    EXPECT_EQ(hw.macOSName, "macOS");
    EXPECT_EQ(hw.macOSBuild, "");
}

struct MemoryCase {
    const char* json;  // empty: the tool cannot be started
    const char* memoryType;
};

class MemoryType : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(MemoryType, FirstRuleThatGivesAValue) {
    FakePlatform p = kernelOnlyMac();
    if (*GetParam().json) p.setProfiler("SPMemoryDataType", GetParam().json);
    EXPECT_EQ(collectHardware(p).memoryType, GetParam().memoryType);
}

INSTANTIATE_TEST_SUITE_P(
    Hardware, MemoryType,
    ::testing::Values(
        MemoryCase{"", "Unified Memory"}, MemoryCase{"{not json", "Unified Memory"},
        MemoryCase{R"({"SPMemoryDataType": []})", "Unified Memory"},
        MemoryCase{R"({"SPMemoryDataType": {"dimm_type": "DDR4"}})", "Unified Memory"},
        MemoryCase{
            R"({"SPMemoryDataType": [{"dimm_type": "LPDDR5", "dimm_manufacturer": "Hynix"}]})",
            "LPDDR5"},
        // Present but empty: taken as it is, no further fallback.
        MemoryCase{R"({"SPMemoryDataType": [{"dimm_type": "", "dimm_manufacturer": "Hynix"}]})",
                   ""},
        MemoryCase{R"({"SPMemoryDataType": [{"dimm_type": 4, "dimm_manufacturer": "Hynix"}]})",
                   "Hynix"},
        MemoryCase{R"({"SPMemoryDataType": [{"dimm_manufacturer": "",
                      "_items": [{"dimm_type": "DDR4"}, {"dimm_type": "DDR3"}]}]})",
                   "DDR4"},
        MemoryCase{R"({"SPMemoryDataType": [{"_items": []}]})", "Unified Memory"},
        MemoryCase{R"({"SPMemoryDataType": [{"_items": [{"dimm_size": "8 GB"}]}]})",
                   "Unified Memory"},
        MemoryCase{R"({"SPMemoryDataType": [{"_items": [{"dimm_type": "DDR4"}, "x"]}]})",
                   "Unified Memory"},
        MemoryCase{R"({"SPMemoryDataType": [{"_items": {"dimm_type": "DDR4"}}]})",
                   "Unified Memory"}));

struct IdentifierCase {
    const char* model;
    bool isLaptop;
    const char* symbol;
};

class LaptopFromIdentifier : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(LaptopFromIdentifier, FamilyWordDecides) {
    FakePlatform p = kernelOnlyMac();
    p.setProfiler("SPHardwareDataType",
                  hardwareJson(std::string(R"("machine_model": ")") + GetParam().model + "\""));
    const HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.isLaptop, GetParam().isLaptop);
    EXPECT_EQ(hw.symbol(), GetParam().symbol);
}

INSTANTIATE_TEST_SUITE_P(Hardware, LaptopFromIdentifier,
                         ::testing::Values(IdentifierCase{"Mac14,3", false, "desktopcomputer"},
                                           IdentifierCase{"MacBookAir10,1", true, "laptopcomputer"},
                                           IdentifierCase{"MACBOOKPRO18,3", true, "laptopcomputer"},
                                           IdentifierCase{"Macmini9,1", false, "macmini"},
                                           IdentifierCase{"MacPro7,1", false, "macpro.gen3"},
                                           IdentifierCase{"iMac21,1", false, "desktopcomputer"}));

struct VersionCase {
    OsVersion version;
    const char* text;
    const char* name;
};

class OsVersionText : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OsVersionText, VersionAndMarketingName) {
    FakePlatform p = kernelOnlyMac();
    p.version = GetParam().version;
    const HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.macOSVersion, GetParam().text);
    EXPECT_EQ(hw.macOSName, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Hardware, OsVersionText,
                         ::testing::Values(VersionCase{{14, 5, 0}, "14.5", "macOS Sonoma"},
                                           VersionCase{{14, 5, 1}, "14.5.1", "macOS Sonoma"},
                                           VersionCase{{15, 0, 0}, "15.0", "macOS Sequoia"},
                                           VersionCase{{26, 1, 0}, "26.1", "macOS Tahoe"},
                                           VersionCase{{16, 0, 0}, "16.0", "macOS"},
                                           VersionCase{{11, 7, 10}, "11.7.10", "macOS Big Sur"},
                                           VersionCase{{10, 15, -1}, "10.15", "macOS"},
                                           // The platform's answer for an unreadable version.
                                           VersionCase{{0, 0, 0}, "", "macOS"}));

TEST(Hardware, MarketingNames) {
    const std::pair<std::int64_t, const char*> table[] = {
        {10, "macOS"},        {11, "macOS Big Sur"}, {12, "macOS Monterey"}, {13, "macOS Ventura"},
        {14, "macOS Sonoma"}, {15, "macOS Sequoia"}, {16, "macOS"},          {25, "macOS"},
        {26, "macOS Tahoe"},  {27, "macOS"},         {0, "macOS"},           {-14, "macOS"}};
    for (const auto& [major, name] : table)
        EXPECT_EQ(macOSName(major), name) << major;
}

TEST(Hardware, NonMacSystemNamesItself) {
    FakePlatform p = kernelOnlyMac();
    p.version = {12, 0, 0};
    p.name = "Debian GNU/Linux";
    p.versionText = "12";
    HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.macOSName, "Debian GNU/Linux");
    EXPECT_EQ(hw.macOSVersion, "12");

    // Each text stands on its own; what is missing follows the Mac rules.
    p.versionText.reset();
    hw = collectHardware(p);
    EXPECT_EQ(hw.macOSName, "Debian GNU/Linux");
    EXPECT_EQ(hw.macOSVersion, "12.0");
    p.name.reset();
    p.versionText = "";
    hw = collectHardware(p);
    EXPECT_EQ(hw.macOSName, "macOS Monterey");
    EXPECT_EQ(hw.macOSVersion, "");
}

TEST(Hardware, BuildUptimeHostAndCommandLines) {
    FakePlatform p = kernelOnlyMac();
    p.setOutput(kSwVers, {"-buildVersion"}, "  23F79\n\n");
    p.uptimeSeconds = 93784.5;
    p.host = "studio";
    HardwareInfo hw = collectHardware(p);
    EXPECT_EQ(hw.macOSBuild, "23F79");
    EXPECT_EQ(hw.uptime, 93784.5);
    EXPECT_EQ(hw.hostname, "studio");

    const std::vector<FakePlatform::CommandLine> expected = {
        {kSystemProfiler, {"SPHardwareDataType", "-json"}},
        {kSystemProfiler, {"SPMemoryDataType", "-json"}},
        {kSwVers, {"-buildVersion"}}};
    EXPECT_EQ(p.calls, expected);

    p.setOutput(kSwVers, {"-buildVersion"},
                "23F\xff"
                "79\n");  // not UTF-8
    EXPECT_EQ(collectHardware(p).macOSBuild, "");
}

// End to end: the capture directories, checked by hand against their files.
HardwareInfo replayHardware(const char* machine) {
    return collectHardware(ReplayPlatform(std::string(ORVANE_FIXTURES) + "/" + machine));
}

TEST(HardwareReplay, Portable) {
    const HardwareInfo hw = replayHardware("mac-portable");
    EXPECT_EQ(hw.modelName, "MacBook Pro");
    EXPECT_EQ(hw.modelIdentifier, "MacBookPro18,3");
    EXPECT_EQ(hw.chip, "Apple M2 Pro");
    EXPECT_EQ(hw.totalCores, 12);
    EXPECT_EQ(hw.performanceCores, 8);
    EXPECT_EQ(hw.efficiencyCores, 4);
    EXPECT_EQ(hw.memoryGB, "32 GB");
    EXPECT_EQ(hw.memoryType, "LPDDR5");
    EXPECT_EQ(hw.serialNumber, "C02TEST0PRO1");
    EXPECT_EQ(hw.macOSName, "macOS Sonoma");
    EXPECT_EQ(hw.macOSVersion, "14.5");
    EXPECT_EQ(hw.macOSBuild, "23F79");
    EXPECT_EQ(hw.uptime, 93784.5);
    EXPECT_EQ(hw.hostname, "Robins-MacBook-Pro");
    EXPECT_TRUE(hw.isLaptop);
    EXPECT_EQ(hw.symbol(), "laptopcomputer");
}

TEST(HardwareReplay, Desktop) {
    const HardwareInfo hw = replayHardware("mac-desktop");
    EXPECT_EQ(hw.modelName, "Mac Studio");
    EXPECT_EQ(hw.modelIdentifier, "Mac13,1");
    EXPECT_EQ(hw.chip, "Apple M1 Max");
    EXPECT_EQ(hw.totalCores, 10);
    EXPECT_EQ(hw.performanceCores, 8);
    EXPECT_EQ(hw.efficiencyCores, 2);
    EXPECT_EQ(hw.memoryGB, "64 GB");
    EXPECT_EQ(hw.macOSName, "macOS Sequoia");
    EXPECT_EQ(hw.macOSVersion, "15.1");
    EXPECT_FALSE(hw.isLaptop);
    EXPECT_EQ(hw.symbol(), "desktopcomputer");
}

TEST(HardwareReplay, OlderIntel) {
    const HardwareInfo hw = replayHardware("mac-older");
    EXPECT_EQ(hw.modelName, "iMac");
    EXPECT_EQ(hw.chip, "Intel(R) Core(TM) i5-8600 CPU @ 3.10GHz");
    EXPECT_EQ(hw.totalCores, 6);  // a number in the report: from "hw.ncpu"
    EXPECT_EQ(hw.performanceCores, 0);
    EXPECT_EQ(hw.memoryType, "DDR4");  // from the first module
    EXPECT_EQ(hw.macOSName, "macOS Ventura");
    EXPECT_EQ(hw.macOSVersion, "13.6.7");
    EXPECT_EQ(hw.macOSBuild, "22H123");
    EXPECT_EQ(hw.symbol(), "desktopcomputer");
}

TEST(HardwareReplay, Broken) {
    const HardwareInfo hw = replayHardware("mac-broken");
    EXPECT_EQ(hw.modelName, "Mac");
    EXPECT_EQ(hw.chip, "");
    EXPECT_EQ(hw.modelIdentifier, "");
    EXPECT_EQ(hw.totalCores, 4);
    EXPECT_EQ(hw.memoryGB, "");
    EXPECT_EQ(hw.memoryType, "Unified Memory");
    EXPECT_EQ(hw.macOSBuild, "");
    EXPECT_EQ(hw.hostname, "broken");
}

TEST(HardwareReplay, Failed) {
    const HardwareInfo hw = replayHardware("mac-failed");
    EXPECT_EQ(hw.modelName, "Mac");
    EXPECT_EQ(hw.chip, "");
    EXPECT_EQ(hw.modelIdentifier, "MacBookAir10,1");
    EXPECT_EQ(hw.totalCores, 8);
    EXPECT_EQ(hw.memoryGB, "17 GB");
    EXPECT_EQ(hw.memoryType, "Unified Memory");
    EXPECT_EQ(hw.macOSVersion, "14.5");
    EXPECT_EQ(hw.macOSBuild, "");
    EXPECT_TRUE(hw.isLaptop);
}

}  // namespace
}  // namespace orvane
