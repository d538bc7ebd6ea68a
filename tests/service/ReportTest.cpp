// What the whole-report comparisons of the captures cannot show: values that need escaping,
// bytes that are not UTF-8, and facts that are not known.
#include <gtest/gtest.h>

#include <sstream>

#include "service/Report.h"

using namespace orvane;

namespace {

std::vector<std::string> samplesOf(const std::string& metrics) {
    std::vector<std::string> out;
    std::istringstream in(metrics);
    for (std::string line; std::getline(in, line);)
        if (line.rfind('#', 0) != 0) out.push_back(line);
    return out;
}

}  // namespace

TEST(Report, OddValuesAreEscapedAndUnknownFactsLeftOut) {
    Snapshot r;
    r.hardware.modelName = "Pro *1*";
    r.hardware.chip = "M\xff";
    r.hardware.hostname = "a\"b\\c\nd";
    r.battery.present = true;  // and nothing known about it
    r.volumes = {VolumeInfo("Unsized", "/u", "apfs", 0, 0, true, false),
                 VolumeInfo("x|y\nz", "/b", "apfs", 100, 40, true, false),
                 VolumeInfo("x|y\nz", "/b", "apfs", 200, 50, true, false)};

    EXPECT_EQ(samplesOf(formatReport(r, ReportFormat::openmetrics)),
              (std::vector<std::string>{
                  R"(orvane_machine_info{model="Pro *1*",chip="M)"
                  "\xef\xbf\xbd"
                  R"(",host="a\"b\\c\nd"} 1)",
                  "orvane_battery_on_ac 0",
                  R"(orvane_volume_size_bytes{mountpoint="/b",name="x|y\nz",fstype="apfs"} 100)",
                  R"(orvane_volume_free_bytes{mountpoint="/b",name="x|y\nz",fstype="apfs"} 40)",
                  R"(orvane_volume_used_bytes{mountpoint="/b",name="x|y\nz",fstype="apfs"} 60)"}));

    const std::string markdown = formatReport(r, ReportFormat::markdown);
    EXPECT_EQ(markdown.rfind("# Pro \\*1\\*\n", 0), 0u) << markdown;
    EXPECT_NE(markdown.find("| Host name | a\"b\\\\c<br>d |\n"), std::string::npos) << markdown;
    EXPECT_NE(markdown.find("| x\\|y<br>z | "), std::string::npos) << markdown;

    const std::string json = formatReport(r, ReportFormat::json);
    EXPECT_NE(json.find("\"chip\": \"M\xef\xbf\xbd\""), std::string::npos) << json;
}
