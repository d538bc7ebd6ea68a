#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <regex>

#include "service/Collectors.h"
#include "service/platform/Capture.h"
#include "service/platform/FactsJson.h"
#include "service/platform/ReplayPlatform.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = ORVANE_FIXTURES;

fs::path tempDir(const std::string& name) {
    fs::path p = fs::temp_directory_path() / ("orvane-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

void write(const fs::path& p, const std::string& text) {
    std::ofstream(p) << text;
}

struct Captured {
    std::string result;  // popen output
    int status = -1;
};

// Runs the report; `unprivileged`: as nobody when the tests run as root, so that permissions
// apply.
Captured runReport(const std::string& args, bool unprivileged = false) {
    Captured c;
    const std::string as = unprivileged && ::geteuid() == 0
                               ? "setpriv --reuid=65534 --regid=65534 --clear-groups "
                               : "";
    const std::string cmd = as + ORVANE_REPORT_BIN + " " + args + " 2>&1";
    FILE* f = ::popen(cmd.c_str(), "r");
    if (!f) return c;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        c.result.append(buf, n);
    const int st = ::pclose(f);
    c.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return c;
}

// Masks the fresh row identities, which differ on every run.
std::string withoutIds(std::string json) {
    static const std::regex id(R"("id": "[0-9a-f-]{36}")");
    return std::regex_replace(json, id, R"("id": "-")");
}

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A platform that answers a replay's facts but keeps its Mac sources to itself, as any
// non-Mac platform does.
class FactsOnly final : public Platform {
  public:
    explicit FactsOnly(const Platform& p) : p_(p) {}
    HardwareFacts hardware() const override { return p_.hardware(); }
    PowerFacts power() const override { return p_.power(); }
    std::vector<VolumeFacts> volumes() const override { return p_.volumes(); }
    std::vector<GpuFacts> graphics() const override { return p_.graphics(); }
    std::int64_t installedMemory() const override { return p_.installedMemory(); }
    LiveInputs sampleLive() const override { return p_.sampleLive(); }

  private:
    const Platform& p_;
};

}  // namespace

TEST(Replay, MapsCommandLinesToCaptureFiles) {
    using Line = std::tuple<std::string, std::vector<std::string>, std::string>;
    const Line table[] = {
        {kSystemProfiler, {"SPPowerDataType", "-json"}, "system_profiler-SPPowerDataType.json"},
        {kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}, "ioreg-AppleSmartBattery.plist"},
        {kSwVers, {"-buildVersion"}, "sw_vers-buildVersion.txt"},
        // Anything else is not in a capture, and cannot escape the directory.
        {kSystemProfiler, {"SP/../../etc/passwd", "-json"}, ""},
        {kSystemProfiler, {"SPPowerDataType"}, ""},
        {"/bin/sh", {"-c", "true"}, ""}};
    for (const auto& [path, args, file] : table)
        EXPECT_EQ(MacCaptureSource::fileFor(path, args), file) << path;
}

TEST(Replay, LiveSamplesAdvanceAndTheLastRepeats) {
    const fs::path dir = tempDir("live");
    write(dir / "live.json", R"({"samples":[
        {"uptime":1,"pageSize":4096,"vm":{"active":1},"swapUsed":5,"cpuTicks":[[1,2,3,4]]},
        {"uptime":2,"pageSize":4096,"vm":null,"swapUsed":null,"cpuTicks":null},
        {"uptime":3,"pageSize":-1,"vm":{"active":1},"swapUsed":-5,"cpuTicks":[[1,2,3]]}]})");
    ReplayPlatform p(dir);
    const LiveInputs a = p.sampleLive();
    EXPECT_EQ(a.uptime, 1);
    ASSERT_TRUE(a.vm && a.swapUsed && a.cpuTicks);
    EXPECT_EQ(a.vm->active, 1u);
    EXPECT_EQ(a.vm->inactive, 0u);
    EXPECT_EQ(*a.swapUsed, 5u);
    EXPECT_EQ(a.cpuTicks->at(0), (CpuTicks{1, 2, 3, 4}));
    const LiveInputs b = p.sampleLive();
    EXPECT_EQ(b.uptime, 2);
    EXPECT_FALSE(b.vm || b.swapUsed || b.cpuTicks);
    for (int i = 0; i < 3; ++i) {
        const LiveInputs c = p.sampleLive();  // malformed values are failed reads
        EXPECT_EQ(c.uptime, 3);
        EXPECT_FALSE(c.vm || c.swapUsed || c.cpuTicks);
    }
    fs::remove_all(dir);
}

TEST(Replay, MissingAndMalformedFilesReadAsNothing) {
    const fs::path dir = tempDir("bad");
    write(dir / "kernel.json", R"({"hw.ncpu":"eight","hw.model":7,"hw.memsize":17179869184})");
    write(dir / "host.json", "{not json");
    write(dir / "live.json", R"({"samples":"no"})");
    MacCaptureSource p(dir);
    EXPECT_EQ(p.sysctlInt("hw.ncpu"), 0);
    EXPECT_EQ(p.sysctlString("hw.model"), "");
    EXPECT_EQ(p.sysctlInt("hw.memsize"), 17179869184);
    EXPECT_EQ(p.hostName(), "");
    EXPECT_EQ(p.osVersion(), OsVersion{});
    EXPECT_TRUE(p.runData(kSwVers, {"-buildVersion"}).empty());
    EXPECT_FALSE(p.sampleLive().cpuTicks);
    EXPECT_EQ(MacCaptureSource(dir / "does-not-exist").hostName(), "");

    // A facts document this program cannot read is not taken for one.
    for (const char* facts : {R"({"format": "orvane-facts", "version": 2})",
                              R"({"format": "other", "version": 1})", "[]", "{"}) {
        write(dir / "facts.json", facts);
        EXPECT_FALSE(ReplayPlatform(dir).holdsFacts()) << facts;
    }
    fs::remove_all(dir);
}

// A capture of a Mac keeps its tools' output; a capture of any other machine keeps its facts.
// Either way the replay answers the same facts and samples as the machine captured.
TEST(Capture, RoundTripReproducesTheFacts) {
    for (const char* name :
         {"mac-portable", "mac-desktop", "mac-older", "mac-broken", "mac-failed"}) {
        for (const bool asFacts : {false, true}) {
            SCOPED_TRACE(std::string(name) + (asFacts ? " as facts" : ""));
            const ReplayPlatform original(kFixtures / name);
            const FactsOnly factsOnly(original);
            const fs::path dir = tempDir(std::string("capture-") + name);
            ASSERT_EQ(writeCapture(asFacts ? static_cast<const Platform&>(factsOnly) : original,
                                   dir, {3, std::chrono::milliseconds(0)}),
                      "");
            const ReplayPlatform copy(dir);
            const ReplayPlatform fresh(kFixtures / name);
            EXPECT_EQ(copy.holdsFacts(), asFacts);
            EXPECT_EQ(copy.hardware(), fresh.hardware());
            EXPECT_EQ(copy.power(), fresh.power());
            EXPECT_EQ(copy.volumes(), fresh.volumes());
            EXPECT_EQ(copy.graphics(), fresh.graphics());
            EXPECT_EQ(copy.installedMemory(), fresh.installedMemory());
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(copy.sampleLive(), fresh.sampleLive());
            fs::remove_all(dir);
        }
    }
}

// Every field of every record, for each captured machine and fake Linux tree, as the report
// prints it: files checked by hand against their sources.
TEST(ReportTool, RecordsOfEveryFixture) {
    std::vector<std::pair<std::string, std::string>> machines;
    for (const char* name : {"mac-portable", "mac-desktop", "mac-older", "mac-broken", "mac-failed",
                             "plist", "mac-current", "mac-vm", "mac-mini-m1"})
        machines.emplace_back(name, "--replay " + (kFixtures / name).string());
#if defined(__linux__)
    for (const char* tree : {"desktop", "laptop", "laptop-charge", "workstation"})
        machines.emplace_back(std::string("linux-") + tree,
                              "--sysroot " + (kFixtures / "linux" / tree).string());
#endif
    for (const auto& [name, source] : machines) {
        const Captured c = runReport(source + " --json --samples 3 --interval 0");
        EXPECT_EQ(c.status, 0) << name;
        std::string records = withoutIds(c.result);
        // A fake tree's volumes are sized by the disk it lies on.
        if (name.rfind("linux-", 0) == 0) {
            static const std::regex size(
                R"re("(freeBytes|totalBytes|usedBytes|usedFraction)": [0-9.e+-]+)re");
            records = std::regex_replace(records, size, R"re("$1": "-")re");
        }
        EXPECT_EQ(records, readText(kFixtures / "records" / (name + ".json"))) << name;
    }
}

// Each format of three captures, whole, against files checked by hand; --json and
// --format json print the same.
TEST(ReportTool, EachFormatOfThreeCaptures) {
    for (const char* name : {"mac-portable", "mac-desktop", "mac-current"})
        for (const auto& [format, ending] : {std::pair{"text", ".txt"},
                                             {"markdown", ".md"},
                                             {"json", ".json"},
                                             {"openmetrics", ".prom"}}) {
            const Captured c = runReport("--replay " + (kFixtures / name).string() + " --format " +
                                         format + " --samples 3 --interval 0");
            EXPECT_EQ(c.status, 0) << name << " " << format;
            EXPECT_EQ(withoutIds(c.result),
                      readText(kFixtures / "records" / (std::string(name) + ending)))
                << name << " " << format;
        }
}

TEST(ReportTool, BadArgumentsExitWithStatusTwo) {
    // A symbolic link to itself, and a directory under one nobody may enter.
    const fs::path dir = tempDir("paths");
    fs::create_symlink("loop", dir / "loop");
    fs::create_directories(dir / "locked" / "capture");
    fs::permissions(dir / "locked", fs::perms::none);
    const std::string loop = (dir / "loop").string();
    const std::string locked = (dir / "locked" / "capture").string();
    for (const std::string& args : std::vector<std::string>{
             "--bogus", "--replay /does/not/exist", "--replay", "--samples 0", "--samples x",
             "--interval -1", "--replay " + loop, "--sysroot " + loop, "--replay " + locked,
             "--sysroot " + locked, "--format", "--format html", "--format JSON"}) {
        const Captured c = runReport(args, true);
        EXPECT_EQ(c.status, 2) << args;
        EXPECT_EQ(std::count(c.result.begin(), c.result.end(), '\n'), 1) << c.result;
    }
    EXPECT_EQ(runReport("--help").status, 0);
    EXPECT_EQ(runReport("--version").status, 0);
    fs::permissions(dir / "locked", fs::perms::owner_all);
    fs::remove_all(dir);
}

// A capture directory that cannot be read, a file too large for a capture and numbers beyond
// any integer: each is said on stderr and the rest of the report still shows.
TEST(ReportTool, UnreadableAndOversizedCapturesAreSaidAndSkipped) {
    const fs::path dir = tempDir("unreadable");
    fs::copy(kFixtures / "mac-portable", dir / "closed");
    fs::permissions(dir / "closed", fs::perms::none);
    Captured c = runReport("--replay " + (dir / "closed").string() + " --samples 1", true);
    EXPECT_EQ(c.status, 0);
    EXPECT_NE(c.result.find("orvane-report: cannot read capture directory"), std::string::npos)
        << c.result;
    EXPECT_NE(c.result.find("Battery"), std::string::npos) << c.result;
    fs::permissions(dir / "closed", fs::perms::owner_all);

    fs::copy(kFixtures / "mac-portable", dir / "large");
    fs::resize_file(dir / "large" / "live.json", kMaxCaptureFileBytes + 1);
    write(dir / "large" / "host.json", R"({"osVersion": [1e300, -1e300, 14.9], "uptime": 1e300})");
    const ReplayPlatform replay(dir / "large");
    EXPECT_EQ(replay.problems(),
              std::vector<std::string>{"cannot read " + (dir / "large" / "live.json").string() +
                                       ": larger than 8 MB"});
    EXPECT_EQ(replay.hardware().osVersion, (OsVersion{INT64_MAX, INT64_MIN, 14}));
    c = runReport("--replay " + (dir / "large").string() + " --json --samples 1");
    EXPECT_EQ(c.status, 0) << c.result;
    fs::remove_all(dir);
}
