#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "service/Collectors.h"
#include "tests/service/CollectorsFakePlatform.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using collectors_test::kernelOnlyMac;
using record_text::describe;

TEST(Hardware, OperatingSystem) {
    // The patch only from 1; 0.0.0 is the platform's answer for an unreadable version. The
    // name follows the major version.
    const std::tuple<OsVersion, const char*, const char*> versions[] = {
        {{14, 5, 0}, "14.5", "macOS Sonoma"}, {{26, 1, 0}, "26.1", "macOS Tahoe"},
        {{16, 0, 0}, "16.0", "macOS"},        {{11, 7, 10}, "11.7.10", "macOS Big Sur"},
        {{10, 15, -1}, "10.15", "macOS"},     {{0, 0, 0}, "", "macOS"}};
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

    // Nothing can be read at all; a failed memory read (0) claims no "0 GB".
    EXPECT_EQ(describe(hardwareOf(FakePlatform())),
              "Mac |  |  | 0:0:0 |  Unified Memory |  | macOS   |  | -");
}

}  // namespace
}  // namespace orvane
