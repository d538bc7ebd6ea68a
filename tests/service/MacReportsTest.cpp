// The Mac's reports decoded into records, row by row of tests/fixtures/decoding/mac-reports.json:
// each row gives a report's items (or its raw text) and the records they show.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/service/Captures.h"
#include "tests/service/CollectorsFakePlatform.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using collectors_test::kernelOnlyMac;
using record_text::describe;
using Texts = std::vector<std::string>;

// What a Mac shows of one report: the hardware line, the volumes, or the graphics processors
// followed by the displays.
Texts shows(const std::string& report, const FakePlatform& mac) {
    if (report == "SPStorageDataType") return describe(volumesOf(mac));
    if (report == "SPDisplaysDataType") {
        const auto [displays, graphics] = displaysOf(mac);
        Texts lines = describe(graphics);
        for (const std::string& d : describe(displays))
            lines.push_back("display: " + d);
        return lines;
    }
    return {describe(hardwareOf(mac))};
}

TEST(MacReports, EachRowShowsItsRecords) {
    const auto tables =
        nlohmann::json::parse(std::ifstream(capturePath("decoding/mac-reports.json")));
    for (const auto& [report, rows] : tables.items()) {
        if (!rows.is_array()) continue;
        for (const auto& row : rows) {
            FakePlatform mac = kernelOnlyMac();
            const std::string text = row.contains("text")
                                         ? row["text"].get<std::string>()
                                         : nlohmann::json{{report, row["items"]}}.dump();
            if (!text.empty()) mac.setProfiler(report, text);
            EXPECT_EQ(shows(report, mac), row["shows"].get<Texts>()) << report << " " << row;
        }
    }
}

// The family that starts the identifier, else the one that starts the model name, else the
// form factor.
TEST(MacReports, SymbolFromIdentifierThenNameThenFormFactor) {
    const std::tuple<const char*, const char*, const char*> table[] = {
        {"Mac17,2", "MacBook Pro", "laptopcomputer"},
        {"Mac14,14", "Mac Studio", "macstudio"},
        {"Macmini9,1", "Mac mini", "macmini"},
        {"MacStudio1,1", "", "macstudio"},
        {"MacPro7,1", "Mac Pro", "macpro.gen3"},
        {"iMac21,1", "MacBook", "desktopcomputer"},
        {"iMacPro1,1", "iMac Pro", "desktopcomputer"},
        {"Mac14,8", "Mac Pro", "macpro.gen3"},
        {"Mac16,11", "Mac mini", "macmini"},
        {"Mac16,3", "iMac", "desktopcomputer"},
        {"VirtualMac2,1", "Apple Virtual Machine 1", "desktopcomputer"}};
    for (const auto& [model, name, symbol] : table) {
        FakePlatform mac = kernelOnlyMac();
        mac.setProfiler("SPHardwareDataType",
                        nlohmann::json{{"SPHardwareDataType",
                                        {{{"machine_model", model}, {"machine_name", name}}}}}
                            .dump());
        EXPECT_EQ(symbolName(hardwareOf(mac).symbol()), symbol) << model;
    }
}

}  // namespace
}  // namespace orvane
