#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/Captures.h"
#include "tests/service/CollectorsFakePlatform.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using record_text::describe;
using Lists = std::pair<std::vector<DisplayInfo>, std::vector<GraphicsInfo>>;
using Texts = std::vector<std::string>;

Lists collect(const std::string& json) {
    FakePlatform p;
    if (!json.empty()) p.setProfiler("SPDisplaysDataType", json);
    return displaysOf(p);
}

Lists collectGpus(const std::string& items) {
    return collect(R"({"SPDisplaysDataType": [)" + items + "]}");
}

// The one graphics processor, or the one display, of a report around `members`.
std::string oneGpu(const std::string& members) {
    const auto graphics = collectGpus("{" + members + "}").second;
    return graphics.size() == 1 ? describe(graphics[0])
                                : "count " + std::to_string(graphics.size());
}
std::string oneDisplay(const std::string& members) {
    const auto displays =
        collectGpus(R"({"_name": "GPU", "spdisplays_ndrvs": [{)" + members + "}]}").first;
    return displays.size() == 1 ? describe(displays[0])
                                : "count " + std::to_string(displays.size());
}

TEST(Displays, GraphicsProcessor) {
    const std::pair<const char*, const char*> table[] = {
        {R"("_name": "Apple M2 Pro", "sppci_cores": "19", "spdisplays_vendor": "sppci_vendor_Apple",
            "spdisplays_metalfamily": "spdisplays_metal3")",
         "Apple M2 Pro | Apple | 19 | Metal3"},
        // Numbers are not accepted.
        {R"("sppci_cores": 19, "spdisplays_vendor": 4098)", "GPU |  |  | "},
        // Every vendor token removed, with or without its underscore.
        {R"x("spdisplays_vendor": "ATI (sppci_vendor_amd)")x", "GPU | ATI (amd) |  | "},
        {R"("spdisplays_vendor": "sppci_vendorNVIDIA")", "GPU | NVIDIA |  | "},
        {R"("spdisplays_vendor": "sppci_vendor_sppci_vendor_x")", "GPU | x |  | "},
        // The metal family is capitalised per word; the second key is only stripped.
        {R"("spdisplays_metalfamily": "spdisplays_METAL family 2")", "GPU |  |  | Metal Family 2"},
        {R"("spdisplays_mtlgpufamilysupport": "spdisplays_metal3")", "GPU |  |  | metal3"},
        {R"("spdisplays_metalfamily": "spdisplays_metal2",
            "spdisplays_mtlgpufamilysupport": "spdisplays_metal3")",
         "GPU |  |  | Metal2"},
        {R"("spdisplays_metalfamily": 3, "spdisplays_mtlgpufamilysupport": "spdisplays_metal3")",
         "GPU |  |  | metal3"},
        {R"("spdisplays_mtlgpufamilysupport": true)", "GPU |  |  | "},
        // An untranslated token is no name: the model, when there is one.
        {R"("_name": "kHW_AppleM1Item", "sppci_model": "Apple M1")", "Apple M1 |  |  | "},
        {R"("_name": "spdisplays_display", "sppci_model": "")", "GPU |  |  | "},
        {R"("_name": "spdisplays_display", "sppci_model": 7)", "GPU |  |  | "},
        {R"("_name": "Apple kHW_M1", "sppci_model": "Apple M1")", "Apple kHW_M1 |  |  | "}};
    for (const auto& [members, expected] : table)
        EXPECT_EQ(oneGpu(members), expected) << members;
}

TEST(Displays, Display) {
    const std::pair<const char*, const char*> table[] = {
        {R"("_name": "Color LCD", "_spdisplays_pixels": "3024 x 1964",
            "_spdisplays_resolution": "1512 x 982 @ 120.00Hz",
            "spdisplays_resolution": "1512 x 982 @ 120.00Hz", "spdisplays_main": "spdisplays_yes",
            "spdisplays_display_type": "spdisplays_built-in_liquid_retina_xdr",
            "spdisplays_connection_type": "spdisplays_internal")",
         "Color LCD | 3024 x 1964 | 1512 x 982 @ 120.00Hz | 120.00Hz | Internal | MB"},
        {"", "Display |  |  |  |  | --"},
        // Resolution: pixels, else the private text, else the public one; the UI resolution
        // and refresh rate come from the public text only, split at its first "@".
        {R"("_spdisplays_resolution": "A", "spdisplays_resolution": "B")",
         "Display | A | B |  |  | --"},
        {R"("_spdisplays_resolution": 1, "spdisplays_resolution": "B")",
         "Display | B | B |  |  | --"},
        {R"("_spdisplays_resolution": "A", "_spdisplays_pixels": "")", "Display | A |  |  |  | --"},
        {R"("_spdisplays_pixels": 3024)", "Display |  |  |  |  | --"},
        // Built-in panels of Apple-silicon Macs state the refresh only in the private text.
        {R"("_spdisplays_resolution": "1512 x 982 @ 120.00Hz")",
         "Display | 1512 x 982 @ 120.00Hz |  | 120.00Hz |  | --"},
        {R"("_spdisplays_resolution": "1 @ 120Hz", "spdisplays_resolution": "1 @ 60Hz")",
         "Display | 1 @ 120Hz | 1 @ 60Hz | 60Hz |  | --"},
        {R"("spdisplays_resolution": "1920 x 1080@\t60 Hz \t")",
         "Display | 1920 x 1080@\t60 Hz \t | 1920 x 1080@\t60 Hz \t | 60 Hz |  | --"},
        {R"("spdisplays_resolution": "a @ b @ c")",
         "Display | a @ b @ c | a @ b @ c | b @ c |  | --"},
        {R"("spdisplays_resolution": "1 @ ")", "Display | 1 @  | 1 @  |  |  | --"},
        // Main only from the exact token.
        {R"("spdisplays_main": "spdisplays_no")", "Display |  |  |  |  | --"},
        {R"("spdisplays_main": "SPDISPLAYS_YES")", "Display |  |  |  |  | --"},
        {R"("spdisplays_main": true)", "Display |  |  |  |  | --"},
        // Built in when the type says "built-in" or "retina" in any case; the text is the
        // type's without the prefix and underscores, capitalised per word.
        {R"("spdisplays_display_type": "spdisplays_BUILT-IN")", "Display |  |  |  | Built-in | -B"},
        {R"("spdisplays_display_type": "spdisplays_RetinaLCD")",
         "Display |  |  |  | Retinalcd | -B"},
        {R"("spdisplays_display_type": "built in")", "Display |  |  |  | Built In | --"},
        {R"("spdisplays_display_type": "spdisplays_lcd__wide")",
         "Display |  |  |  | Lcd  Wide | --"},
        {R"("spdisplays_display_type": 3)", "Display |  |  |  |  | --"},
        // The connection type replaces the type's text, not the built-in flag.
        {R"("spdisplays_display_type": "spdisplays_retina",
            "spdisplays_connection_type": "spdisplays_display_port")",
         "Display |  |  |  | Display Port | -B"},
        {R"("spdisplays_display_type": "spdisplays_lcd", "spdisplays_connection_type": 1)",
         "Display |  |  |  | Lcd | --"},
        {R"("spdisplays_display_type": "spdisplays_lcd", "spdisplays_connection_type": "")",
         "Display |  |  |  |  | --"}};
    for (const auto& [members, expected] : table)
        EXPECT_EQ(oneDisplay(members), expected) << members;
}

TEST(Displays, GroupedByGraphicsProcessor) {
    const auto [displays, graphics] = collectGpus(
        R"({"_name": "A", "spdisplays_ndrvs": [{"_name": "A1"}, {"_name": "A2"}]},
           {"_name": "B"},
           {"_name": "C", "spdisplays_ndrvs": [{"_name": "C1"}]},
           {"_name": "D", "spdisplays_ndrvs": {"_name": "D1"}},
           {"_name": "E", "spdisplays_ndrvs": [{"_name": "E1"}, "E2"]},
           {"_name": "F", "spdisplays_ndrvs": []})");
    std::vector<std::string> names;
    for (const auto& g : graphics)
        names.push_back(g.name);
    for (const auto& d : displays)
        names.push_back(d.name);
    EXPECT_EQ(names, (Texts{"A", "B", "C", "D", "E", "F", "A1", "A2", "C1"}));
}

TEST(Displays, UnreadableReportGivesEmptyLists) {
    for (const std::string& json :
         {std::string(), std::string("{\"SPDisplaysDataType\": [{"),
          std::string(R"({"SPDisplaysDataType": {"_name": "GPU"}})"),
          std::string(R"({"SPDisplaysDataType": [{"_name": "GPU"}, 1]})")}) {
        const auto [displays, graphics] = collect(json);
        EXPECT_TRUE(displays.empty()) << json;
        EXPECT_TRUE(graphics.empty()) << json;
    }
}

TEST(Displays, FreshIdentifiersEachCollection) {
    const std::string json = R"({"SPDisplaysDataType": [{"spdisplays_ndrvs": [{}]}]})";
    const auto a = collect(json);
    const auto b = collect(json);
    EXPECT_NE(a.first.at(0).id(), b.first.at(0).id());
    EXPECT_NE(a.second.at(0).id(), b.second.at(0).id());
}

}  // namespace
}  // namespace orvane
