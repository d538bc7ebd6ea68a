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
    r.live.perCore = {0, 0};   // one sample of the counters: nothing measured yet
    r.volumes = {VolumeInfo("Unsized", "/u", "apfs", 0, 0, true, false),
                 VolumeInfo("x|y\nz", "/b", "apfs", 100, 40, true, false),
                 VolumeInfo("x|y\nz", "/b", "apfs", 200, 50, true, false)};

    EXPECT_EQ(samplesOf(formatReport(r, ReportFormat::openmetrics)),
              (std::vector<std::string>{
                  R"(orvane_machine_info{model="Pro *1*",chip="M)"
                  "\xef\xbf\xbd"
                  R"(",host="a\"b\\c\nd"} 1)",
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

// Text from a capture cannot drive the terminal or reorder what is shown; what was not
// measured reads "-" or null, never 0.
TEST(Report, ControlCharactersEscapedAndUnmeasuredNotZero) {
    Snapshot r;
    r.hardware.modelName = "A\x1b[2JB";
    r.hardware.hostname = "\x1b]0;t\x07 \xc2\x9b \u202Ex\u2067\t\x7f";
    r.live.perCore = {0};
    const std::string host = R"(\x1B]0;t\x07 \u{009B} \u{202E}x\u{2067}\x09\x7F)";
    const std::string text = formatReport(r, ReportFormat::text);
    const std::string markdown = formatReport(r, ReportFormat::markdown);
    for (const std::string& expected :
         std::vector<std::string>{"A\\x1B[2JB\n", "  Host name          " + host + "\n",
                                  "  Processor          -\n", "  Per core           -\n",
                                  "  Memory used        - of -\n", "  Pressure           -\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << text;
    EXPECT_NE(markdown.find(R"(| Host name | \x1B\]0;t\x07 \u{009B} \u{202E}x\u{2067}\x09\x7F |)"),
              std::string::npos)
        << markdown;
    EXPECT_EQ(markdown.rfind("# A\\x1B\\[2JB\n", 0), 0u) << markdown;
    const std::string json = formatReport(r, ReportFormat::json);
    for (const char* key :
         {"cpuIdlePct", "perCore", "cpuBusyPct", "memUsedBytes", "memTotalBytes", "memPressure"})
        EXPECT_NE(json.find("\"" + std::string(key) + "\": null"), std::string::npos) << key;
}
