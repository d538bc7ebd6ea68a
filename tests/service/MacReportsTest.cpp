// The Mac's reports and registry statistics decoded into records, row by row of
// tests/fixtures/decoding/mac-reports.json and mac-battery.json: each row gives a report's items
// (or its raw text) and the records they show.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "service/Fmt.h"
#include "service/platform/mac/MacDecoders.h"
#include "tests/service/Captures.h"
#include "tests/service/CollectorsFakePlatform.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using collectors_test::kernelOnlyMac;
using collectors_test::xmlPlist;
using record_text::describe;
using Texts = std::vector<std::string>;

// A registry answer given as JSON, written as the XML property list the registry prints.
std::string plistOf(const nlohmann::json& v) {
    std::string out;
    if (v.is_object()) {
        for (const auto& [key, value] : v.items())
            out += "<key>" + key + "</key>" + plistOf(value);
        return "<dict>" + out + "</dict>";
    }
    if (v.is_array()) {
        for (const auto& value : v)
            out += plistOf(value);
        return "<array>" + out + "</array>";
    }
    if (v.is_boolean()) return v.get<bool>() ? "<true/>" : "<false/>";
    if (v.is_string()) return "<string>" + v.get<std::string>() + "</string>";
    return (v.is_number_float() ? "<real>" : "<integer>") + v.dump() +
           (v.is_number_float() ? "</real>" : "</integer>");
}

// A row's registry statistics as they show: a disk's name and counters, or a GPU's load.
Texts showsStatistics(const std::string& report, const nlohmann::json& row) {
    const auto value = [&](const char* key) {
        const std::string text = row.value(key, nlohmann::json()).dump();
        return *decodeJson(
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };
    if (report == "IOAccelerator") {
        const std::optional<double> load = decodeMacGpuLoad(value("PerformanceStatistics"));
        return {load ? Fmt::format("%g", *load) : "-"};
    }
    const auto d = decodeMacDisk(value("Statistics"), value("BSD Name"), value("Whole"),
                                 value("Protocol Characteristics"));
    return d ? Texts{d->name + " " + std::to_string(d->readBytes) + " " +
                     std::to_string(d->writtenBytes)}
             : Texts{};
}

// What a Mac shows of one report: the hardware line, the battery, the volumes, or the graphics
// processors followed by the displays.
Texts shows(const std::string& report, const FakePlatform& mac) {
    if (report == "AppleSmartBattery") return {describe(batteryOf(mac))};
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
    for (const char* file : {"decoding/mac-reports.json", "decoding/mac-battery.json"}) {
        const auto tables = nlohmann::json::parse(std::ifstream(capturePath(file)));
        for (const auto& [report, rows] : tables.items()) {
            if (!rows.is_array()) continue;
            for (const auto& row : rows) {
                if (report.starts_with("IO")) {
                    EXPECT_EQ(showsStatistics(report, row), row["shows"].get<Texts>()) << row;
                    continue;
                }
                // The battery as the collector tests read it, without kernel values.
                FakePlatform mac = report == "AppleSmartBattery" ? FakePlatform() : kernelOnlyMac();
                if (row.contains("registry")) mac.setIoreg(xmlPlist(plistOf(row["registry"])));
                if (!row.value("registryText", "").empty())
                    mac.setIoreg(row["registryText"].get<std::string>());
                if (row.contains("power"))
                    mac.setProfiler("SPPowerDataType",
                                    nlohmann::json{{"SPPowerDataType", row["power"]}}.dump());
                if (row.contains("items"))
                    mac.setProfiler(report, nlohmann::json{{report, row["items"]}}.dump());
                if (!row.value("text", "").empty())
                    mac.setProfiler(report, row["text"].get<std::string>());
                if (row.contains("symbol"))
                    EXPECT_EQ(symbolName(hardwareOf(mac).symbol()), row["symbol"]) << row;
                else
                    EXPECT_EQ(shows(report, mac), row["shows"].get<Texts>())
                        << report << " " << row;
            }
        }
    }
}

}  // namespace
}  // namespace orvane
