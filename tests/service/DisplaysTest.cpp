#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/CollectorsFakePlatform.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using Lists = std::pair<std::vector<DisplayInfo>, std::vector<GraphicsInfo>>;

Lists collect(const std::string& json) {
    FakePlatform p;
    if (!json.empty()) p.setProfiler("SPDisplaysDataType", json);
    return collectDisplays(p);
}

Lists collectGpus(const std::string& items) {
    return collect(R"({"SPDisplaysDataType": [)" + items + "]}");
}

GraphicsInfo oneGpu(const std::string& members) {
    const auto [displays, graphics] = collectGpus("{" + members + "}");
    EXPECT_EQ(graphics.size(), 1u) << members;
    return graphics.empty() ? GraphicsInfo() : graphics[0];
}

DisplayInfo oneDisplay(const std::string& members) {
    const auto [displays, graphics] =
        collectGpus(R"({"_name": "GPU", "spdisplays_ndrvs": [{)" + members + "}]}");
    EXPECT_EQ(displays.size(), 1u) << members;
    return displays.empty() ? DisplayInfo() : displays[0];
}

TEST(Displays, GraphicsFields) {
    GraphicsInfo g = oneGpu(R"("_name": "Apple M2 Pro", "sppci_cores": "19",
                               "spdisplays_vendor": "sppci_vendor_Apple",
                               "spdisplays_metalfamily": "spdisplays_metal3")");
    EXPECT_EQ(g.name, "Apple M2 Pro");
    EXPECT_EQ(g.cores, "19");
    EXPECT_EQ(g.vendor, "Apple");
    EXPECT_EQ(g.metalSupport, "Metal3");

    g = oneGpu(R"("sppci_cores": 19, "spdisplays_vendor": 4098)");
    EXPECT_EQ(g.name, "GPU");
    EXPECT_EQ(g.cores, "");  // a number is not accepted
    EXPECT_EQ(g.vendor, "");
    EXPECT_EQ(g.metalSupport, "");
}

TEST(Displays, VendorTokens) {
    const std::pair<const char*, const char*> table[] = {{"sppci_vendor_Apple", "Apple"},
                                                         {"sppci_vendor_amd", "amd"},
                                                         {"Intel", "Intel"},
                                                         {"sppci_vendorNVIDIA", "NVIDIA"},
                                                         {"sppci_vendor_", ""},
                                                         {"ATI (sppci_vendor_amd)", "ATI (amd)"},
                                                         {"sppci_vendor_sppci_vendor_x", "x"}};
    for (const auto& [token, vendor] : table) {
        EXPECT_EQ(oneGpu(std::string(R"("spdisplays_vendor": ")") + token + "\"").vendor, vendor)
            << token;
    }
}

TEST(Displays, MetalSupport) {
    const std::pair<const char*, const char*> table[] = {
        {R"("spdisplays_metalfamily": "spdisplays_metal3")", "Metal3"},
        {R"("spdisplays_metalfamily": "spdisplays_METAL family 2")", "Metal Family 2"},
        // Only under the second key: stripped, not capitalised.
        {R"("spdisplays_mtlgpufamilysupport": "spdisplays_metal3")", "metal3"},
        {R"("spdisplays_metalfamily": "spdisplays_metal2",
            "spdisplays_mtlgpufamilysupport": "spdisplays_metal3")",
         "Metal2"},
        {R"("spdisplays_metalfamily": 3, "spdisplays_mtlgpufamilysupport": "spdisplays_metal3")",
         "metal3"},
        {R"("spdisplays_mtlgpufamilysupport": true)", ""},
        {R"("spdisplays_metalfamily": "")", ""}};
    for (const auto& [members, metal] : table) {
        EXPECT_EQ(oneGpu(members).metalSupport, metal) << members;
    }
}

TEST(Displays, DisplayFields) {
    const DisplayInfo d = oneDisplay(R"("_name": "Color LCD",
        "_spdisplays_pixels": "3024 x 1964",
        "_spdisplays_resolution": "1512 x 982 @ 120.00Hz",
        "spdisplays_resolution": "1512 x 982 @ 120.00Hz",
        "spdisplays_main": "spdisplays_yes",
        "spdisplays_display_type": "spdisplays_built-in_liquid_retina_xdr",
        "spdisplays_connection_type": "spdisplays_internal")");
    EXPECT_EQ(d.name, "Color LCD");
    EXPECT_EQ(d.resolution, "3024 x 1964");
    EXPECT_EQ(d.uiResolution, "1512 x 982 @ 120.00Hz");
    EXPECT_EQ(d.refreshRate, "120.00Hz");
    EXPECT_TRUE(d.isMain);
    EXPECT_TRUE(d.isBuiltIn);
    EXPECT_EQ(d.connectionType, "Internal");

    const DisplayInfo bare = oneDisplay("");
    EXPECT_EQ(bare.name, "Display");
    EXPECT_EQ(bare.resolution, "");
    EXPECT_EQ(bare.uiResolution, "");
    EXPECT_EQ(bare.refreshRate, "");
    EXPECT_FALSE(bare.isMain);
    EXPECT_FALSE(bare.isBuiltIn);
    EXPECT_EQ(bare.connectionType, "");
}

TEST(Displays, Resolution) {
    struct Case {
        const char* members;
        const char* resolution;
        const char* uiResolution;
        const char* refreshRate;
    };
    const Case table[] = {
        {R"("_spdisplays_resolution": "A", "spdisplays_resolution": "B")", "A", "B", ""},
        {R"("_spdisplays_resolution": 1, "spdisplays_resolution": "B")", "B", "B", ""},
        {R"("_spdisplays_resolution": "A")", "A", "", ""},
        {R"("_spdisplays_resolution": "A", "_spdisplays_pixels": "P")", "P", "", ""},
        {R"("_spdisplays_resolution": "A", "_spdisplays_pixels": "")", "A", "", ""},
        {R"("_spdisplays_pixels": 3024)", "", "", ""},
        {R"("spdisplays_resolution": "1920 x 1080 @ 60.00Hz")", "1920 x 1080 @ 60.00Hz",
         "1920 x 1080 @ 60.00Hz", "60.00Hz"},
        {R"("spdisplays_resolution": "1920 x 1080@\t60 Hz \t")", "1920 x 1080@\t60 Hz \t",
         "1920 x 1080@\t60 Hz \t", "60 Hz"},
        // Only the first "@" splits; the rate comes from the public text only.
        {R"("spdisplays_resolution": "a @ b @ c")", "a @ b @ c", "a @ b @ c", "b @ c"},
        {R"("spdisplays_resolution": "1920 x 1080 @ ")", "1920 x 1080 @ ", "1920 x 1080 @ ", ""},
        {R"("_spdisplays_resolution": "1512 x 982 @ 120.00Hz")", "1512 x 982 @ 120.00Hz", "", ""},
        {R"x("spdisplays_resolution": "2560 x 1440 (QHD)")x", "2560 x 1440 (QHD)",
         "2560 x 1440 (QHD)", ""}};
    for (const auto& c : table) {
        const DisplayInfo d = oneDisplay(c.members);
        EXPECT_EQ(d.resolution, c.resolution) << c.members;
        EXPECT_EQ(d.uiResolution, c.uiResolution) << c.members;
        EXPECT_EQ(d.refreshRate, c.refreshRate) << c.members;
    }
}

TEST(Displays, MainOnlyFromTheYesToken) {
    const std::pair<const char*, bool> table[] = {{R"("spdisplays_main": "spdisplays_yes")", true},
                                                  {R"("spdisplays_main": "spdisplays_no")", false},
                                                  {R"("spdisplays_main": "yes")", false},
                                                  {R"("spdisplays_main": "SPDISPLAYS_YES")", false},
                                                  {R"("spdisplays_main": true)", false},
                                                  {R"("spdisplays_main": 1)", false}};
    for (const auto& [members, main] : table) {
        EXPECT_EQ(oneDisplay(members).isMain, main) << members;
    }
}

TEST(Displays, TypeAndConnection) {
    struct Case {
        const char* members;
        bool builtIn;
        const char* connection;
    };
    const Case table[] = {
        {R"("spdisplays_display_type": "spdisplays_built-in_retina_lcd")", true,
         "Built-in Retina Lcd"},
        {R"("spdisplays_display_type": "spdisplays_BUILT-IN")", true, "Built-in"},
        {R"("spdisplays_display_type": "spdisplays_RetinaLCD")", true, "Retinalcd"},
        {R"("spdisplays_display_type": "spdisplays_lcd")", false, "Lcd"},
        {R"("spdisplays_display_type": "built in")", false, "Built In"},
        {R"("spdisplays_display_type": "spdisplays_lcd__wide")", false, "Lcd  Wide"},
        {R"("spdisplays_display_type": 3)", false, ""},
        // The connection type replaces the display type's text, not the built-in flag.
        {R"("spdisplays_display_type": "spdisplays_retina",
            "spdisplays_connection_type": "spdisplays_display_port")",
         true, "Display Port"},
        {R"("spdisplays_connection_type": "spdisplays_internal")", false, "Internal"},
        {R"("spdisplays_display_type": "spdisplays_lcd", "spdisplays_connection_type": 1)", false,
         "Lcd"},
        {R"("spdisplays_connection_type": "")", false, ""}};
    for (const auto& c : table) {
        const DisplayInfo d = oneDisplay(c.members);
        EXPECT_EQ(d.isBuiltIn, c.builtIn) << c.members;
        EXPECT_EQ(d.connectionType, c.connection) << c.members;
    }
}

TEST(Displays, GroupedByGraphicsProcessor) {
    auto [displays, graphics] = collectGpus(
        R"({"_name": "A", "spdisplays_ndrvs": [{"_name": "A1"}, {"_name": "A2"}]},
           {"_name": "B"},
           {"_name": "C", "spdisplays_ndrvs": [{"_name": "C1"}]},
           {"_name": "D", "spdisplays_ndrvs": {"_name": "D1"}},
           {"_name": "E", "spdisplays_ndrvs": [{"_name": "E1"}, "E2"]},
           {"_name": "F", "spdisplays_ndrvs": []})");
    ASSERT_EQ(graphics.size(), 6u);
    EXPECT_EQ(graphics[1].name, "B");
    EXPECT_EQ(graphics[5].name, "F");
    ASSERT_EQ(displays.size(), 3u);
    EXPECT_EQ(displays[0].name, "A1");
    EXPECT_EQ(displays[1].name, "A2");
    EXPECT_EQ(displays[2].name, "C1");
}

TEST(Displays, UnreadableReportGivesEmptyLists) {
    for (const std::string& json :
         {std::string(), std::string("{\"SPDisplaysDataType\": [{\"_name\""),
          std::string(R"([{"SPDisplaysDataType": [{"_name": "GPU"}]}])"),
          std::string(R"({"SPDisplaysDataType": {"_name": "GPU"}})"),
          std::string(R"({"SPDisplaysDataType": [{"_name": "GPU"}, 1]})"),
          std::string(R"({"SPDisplaysDataType": []})"), std::string("null")}) {
        const auto [displays, graphics] = collect(json);
        EXPECT_TRUE(displays.empty()) << json;
        EXPECT_TRUE(graphics.empty()) << json;
    }
}

TEST(Displays, FreshIdentifiersAndCommandLine) {
    FakePlatform p;
    p.setProfiler("SPDisplaysDataType", R"({"SPDisplaysDataType": [{"spdisplays_ndrvs": [{}]}]})");
    const auto a = collectDisplays(p);
    const auto b = collectDisplays(p);
    EXPECT_NE(a.first.at(0).id(), b.first.at(0).id());
    EXPECT_NE(a.second.at(0).id(), b.second.at(0).id());
    EXPECT_EQ(p.calls.front(),
              (FakePlatform::CommandLine{kSystemProfiler, {"SPDisplaysDataType", "-json"}}));
}

Lists replayDisplays(const char* machine) {
    return collectDisplays(ReplayPlatform(std::string(ORVANE_FIXTURES) + "/" + machine));
}

TEST(DisplaysReplay, Portable) {
    const auto [displays, graphics] = replayDisplays("mac-portable");
    ASSERT_EQ(graphics.size(), 1u);
    EXPECT_EQ(graphics[0].name, "Apple M2 Pro");
    EXPECT_EQ(graphics[0].vendor, "Apple");
    EXPECT_EQ(graphics[0].cores, "19");
    EXPECT_EQ(graphics[0].metalSupport, "metal3");
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0].name, "Color LCD");
    EXPECT_EQ(displays[0].resolution, "3024 x 1964");
    EXPECT_EQ(displays[0].refreshRate, "120.00Hz");
    EXPECT_EQ(displays[0].connectionType, "Internal");
    EXPECT_TRUE(displays[0].isMain);
    EXPECT_TRUE(displays[0].isBuiltIn);
    EXPECT_EQ(displays[1].name, "UltraView 27");
    EXPECT_EQ(displays[1].resolution, "3840 x 2160");
    EXPECT_EQ(displays[1].uiResolution, "1920 x 1080 @ 60.00Hz");
    EXPECT_EQ(displays[1].refreshRate, "60.00Hz");
    EXPECT_EQ(displays[1].connectionType, "");
    EXPECT_FALSE(displays[1].isMain);
    EXPECT_FALSE(displays[1].isBuiltIn);
}

TEST(DisplaysReplay, DesktopAndOlder) {
    auto [displays, graphics] = replayDisplays("mac-desktop");
    ASSERT_EQ(graphics.size(), 1u);
    EXPECT_EQ(graphics[0].cores, "32");
    EXPECT_EQ(graphics[0].metalSupport, "Metal3");
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_EQ(displays[0].name, "UltraView 32");
    EXPECT_EQ(displays[0].connectionType, "Displayport");
    EXPECT_TRUE(displays[0].isMain);
    EXPECT_FALSE(displays[0].isBuiltIn);

    std::tie(displays, graphics) = replayDisplays("mac-older");
    ASSERT_EQ(graphics.size(), 1u);
    EXPECT_EQ(graphics[0].name, "Radeon Pro 570X");
    EXPECT_EQ(graphics[0].vendor, "amd");
    EXPECT_EQ(graphics[0].cores, "");
    EXPECT_EQ(graphics[0].metalSupport, "Metal2");
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_EQ(displays[0].resolution, "5120 x 2880");
    EXPECT_EQ(displays[0].refreshRate, "");
    EXPECT_EQ(displays[0].connectionType, "Built-in Retina Lcd");
    EXPECT_TRUE(displays[0].isBuiltIn);
}

TEST(DisplaysReplay, BrokenAndFailed) {
    for (const char* machine : {"mac-broken", "mac-failed"}) {
        const auto [displays, graphics] = replayDisplays(machine);
        EXPECT_TRUE(displays.empty()) << machine;
        EXPECT_TRUE(graphics.empty()) << machine;
    }
}

}  // namespace
}  // namespace orvane
