#include <gtest/gtest.h>

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
using record_text::describe;

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

// The kernel-only Mac with a hardware report of one item holding `members`.
HardwareInfo withHardwareItem(const std::string& members) {
    FakePlatform p = kernelOnlyMac();
    p.setProfiler("SPHardwareDataType", R"({"SPHardwareDataType": [{)" + members + "}]}");
    return hardwareOf(p);
}

TEST(Hardware, ProcessorCountFromDigitRuns) {
    struct Case {
        const char* processors;  // the member as JSON text
        std::int64_t total, performance, efficiency;
    };
    const Case table[] = {
        {R"("proc 12:8:4")", 12, 8, 4},
        {R"("proc 10:4:6:0")", 10, 4, 6},  // current systems add a fourth count
        {R"("proc 8")", 8, 0, 0},
        {R"("proc 10:8")", 10, 0, 0},
        {R"("24:16:8:99")", 24, 16, 8},
        // A run too large for 64 bits is dropped; the others move up.
        {R"("proc 99999999999999999999:8:4")", 8, 0, 0},
        // No digits, not text, or zero: the kernel's count.
        {R"("proc")", 8, 0, 0},
        {"12", 8, 0, 0},
        {R"("proc 0")", 8, 0, 0},
    };
    for (const auto& c : table) {
        const HardwareInfo hw =
            withHardwareItem(std::string(R"("number_processors": )") + c.processors);
        EXPECT_EQ(std::tie(hw.totalCores, hw.performanceCores, hw.efficiencyCores),
                  std::tie(c.total, c.performance, c.efficiency))
            << c.processors;
    }
}

TEST(Hardware, ModelNameThenIdentifierThenMac) {
    const std::tuple<const char*, const char*, const char*> table[] = {
        {R"("machine_name": "Mac mini", "machine_model": "Macmini9,1")", "Mac mini", "Macmini9,1"},
        {R"("machine_name": 7, "machine_model": "Macmini9,1")", "Macmini9,1", "Macmini9,1"},
        // Neither: "Mac", and the identifier comes from the kernel.
        {R"("serial_number": "X")", "Mac", "MacBookAir10,1"},
        // Empty texts are taken as they are; an empty identifier falls back to the kernel.
        {R"("machine_name": "", "machine_model": "")", "", "MacBookAir10,1"}};
    for (const auto& [members, name, identifier] : table) {
        const HardwareInfo hw = withHardwareItem(members);
        EXPECT_EQ(hw.modelName, name) << members;
        EXPECT_EQ(hw.modelIdentifier, identifier) << members;
    }
}

TEST(Hardware, ItemFieldsAndKernelFallbacks) {
    // No "chip_type": the brand string. Serial and memory only from text.
    EXPECT_EQ(describe(withHardwareItem(R"("machine_model": "MacBookAir10,1",
                                           "serial_number": "C02ABC", "physical_memory": "8 GB")")),
              "MacBookAir10,1 | MacBookAir10,1 | Apple M1 | 8:0:0 | 8 GB Unified Memory | C02ABC | "
              "macOS Sonoma 14.5  |  | L");
    const HardwareInfo typed =
        withHardwareItem(R"("chip_type": "Apple M3", "serial_number": 5, "physical_memory": 8)");
    EXPECT_EQ(std::tie(typed.chip, typed.serialNumber, typed.memoryGB),
              std::make_tuple("Apple M3", "", "17 GB"));

    // A report that counts as missing: nothing of it is used and the chip is not taken from
    // the kernel either.
    for (const char* json :
         {"",  // the tool cannot be started
          R"({"SPHardwareDataType": [{"machine_name": "MacBook)", R"({"SPHardwareDataType": []})",
          R"({"SPHardwareDataType": [{"machine_name": "MacBook Pro"}, 3]})",
          R"({"OtherDataType": [{"machine_name": "MacBook Pro"}]})"}) {
        FakePlatform p = kernelOnlyMac();
        if (*json) p.setProfiler("SPHardwareDataType", json);
        const HardwareInfo hw = hardwareOf(p);
        EXPECT_EQ(describe(hw),
                  "Mac | MacBookAir10,1 |  | 8:0:0 | 17 GB Unified Memory |  | macOS Sonoma 14.5 "
                  " |  | L")
            << json;
        EXPECT_EQ(hw.gpuCores, 0);
    }

    // Nothing can be read at all; a failed memory read (0) claims no "0 GB".
    FakePlatform nothing;
    EXPECT_EQ(describe(hardwareOf(nothing)),
              "Mac |  |  | 0:0:0 |  Unified Memory |  | macOS  "
              " |  | -");
}

TEST(Hardware, MemoryTypeFirstRuleThatGivesAValue) {
    const std::pair<const char*, const char*> table[] = {
        {"", "Unified Memory"},  // the tool cannot be started
        {R"({"SPMemoryDataType": []})", "Unified Memory"},
        {R"({"SPMemoryDataType": [{"dimm_type": "LPDDR5", "dimm_manufacturer": "Hynix"}]})",
         "LPDDR5"},
        // Present but empty: taken as it is, no further fallback.
        {R"({"SPMemoryDataType": [{"dimm_type": "", "dimm_manufacturer": "Hynix"}]})", ""},
        {R"({"SPMemoryDataType": [{"dimm_type": 4, "dimm_manufacturer": "Hynix"}]})", "Hynix"},
        {R"({"SPMemoryDataType": [{"dimm_manufacturer": "",
             "_items": [{"dimm_type": "DDR4"}, {"dimm_type": "DDR3"}]}]})",
         "DDR4"},
        {R"({"SPMemoryDataType": [{"_items": []}]})", "Unified Memory"},
        {R"({"SPMemoryDataType": [{"_items": [{"dimm_size": "8 GB"}]}]})", "Unified Memory"},
        {R"({"SPMemoryDataType": [{"_items": [{"dimm_type": "DDR4"}, "x"]}]})", "Unified Memory"},
        {R"({"SPMemoryDataType": [{"_items": {"dimm_type": "DDR4"}}]})", "Unified Memory"}};
    for (const auto& [json, type] : table) {
        FakePlatform p = kernelOnlyMac();
        if (*json) p.setProfiler("SPMemoryDataType", json);
        EXPECT_EQ(hardwareOf(p).memoryType, type) << json;
    }
}

// A MacBook by its identifier or, since identifiers lost the family word, by its model name.
TEST(Hardware, LaptopAndSymbolFromIdentifierAndName) {
    const std::tuple<const char*, const char*, bool, const char*> table[] = {
        {"Mac14,3", "Mac mini", false, "desktopcomputer"},
        {"Mac17,2", "MacBook Pro", true, "laptopcomputer"},
        {"MacBookAir10,1", "Mac", true, "laptopcomputer"},
        {"MACBOOKPRO18,3", "", true, "laptopcomputer"},
        {"Macmini9,1", "Mac mini", false, "macmini"},
        {"MacPro7,1", "Mac Pro", false, "macpro.gen3"},
        {"iMac21,1", "iMac", false, "desktopcomputer"}};
    for (const auto& [model, name, laptop, symbol] : table) {
        const HardwareInfo hw = withHardwareItem(std::string(R"("machine_model": ")") + model +
                                                 R"(", "machine_name": ")" + name + "\"");
        EXPECT_EQ(hw.isLaptop, laptop) << model;
        EXPECT_EQ(hw.symbol(), symbol) << model;
    }
}

TEST(Hardware, OperatingSystem) {
    const std::pair<std::int64_t, const char*> names[] = {
        {10, "macOS"},        {11, "macOS Big Sur"}, {12, "macOS Monterey"}, {13, "macOS Ventura"},
        {14, "macOS Sonoma"}, {15, "macOS Sequoia"}, {16, "macOS"},          {25, "macOS"},
        {26, "macOS Tahoe"},  {27, "macOS"},         {0, "macOS"},           {-14, "macOS"}};
    for (const auto& [major, name] : names)
        EXPECT_EQ(macOSName(major), name) << major;

    // The patch only from 1; 0.0.0 is the platform's answer for an unreadable version.
    const std::tuple<OsVersion, const char*, const char*> versions[] = {
        {{14, 5, 0}, "14.5", "macOS Sonoma"},
        {{11, 7, 10}, "11.7.10", "macOS Big Sur"},
        {{10, 15, -1}, "10.15", "macOS"},
        {{0, 0, 0}, "", "macOS"}};
    for (const auto& [version, text, name] : versions) {
        FakePlatform p = kernelOnlyMac();
        p.version = version;
        const HardwareInfo hw = hardwareOf(p);
        EXPECT_EQ(hw.macOSVersion, text) << text;
        EXPECT_EQ(hw.macOSName, name) << text;
    }

    // A non-Mac system names itself and states its form factor; each text stands on its own,
    // what is missing follows the Mac rules.
    struct Os {
        std::optional<std::string> name, text;
        std::optional<bool> portable;
        const char* shown;
        bool laptop;
    };
    const Os systems[] = {{"Debian GNU/Linux", "12", false, "Debian GNU/Linux 12", false},
                          {"Debian GNU/Linux", std::nullopt, true, "Debian GNU/Linux 12.0", true},
                          {std::nullopt, "", std::nullopt, "macOS Monterey ", true}};
    for (const Os& os : systems) {
        HardwareFacts f;
        f.modelIdentifier = "MacBookPro18,3";
        f.portable = os.portable, f.osName = os.name, f.osVersionText = os.text;
        f.osVersion = OsVersion{12, 0, 0};
        const HardwareInfo hw = collectHardware(f);
        EXPECT_EQ(hw.macOSName + " " + hw.macOSVersion, os.shown);
        EXPECT_EQ(hw.isLaptop, os.laptop) << os.shown;
    }
}

TEST(Hardware, BuildUptimeAndHost) {
    FakePlatform p = kernelOnlyMac();
    p.setOutput(kSwVers, {"-buildVersion"}, "  23F79\n\n");
    p.uptimeSeconds = 93784.5;
    p.host = "studio";
    const HardwareInfo hw = hardwareOf(p);
    EXPECT_EQ(hw.macOSBuild, "23F79");
    EXPECT_EQ(hw.uptime, 93784.5);
    EXPECT_EQ(hw.hostname, "studio");
    p.setOutput(kSwVers, {"-buildVersion"}, "23F\xff\n");  // not UTF-8
    EXPECT_EQ(hardwareOf(p).macOSBuild, "");
}

}  // namespace
}  // namespace orvane
