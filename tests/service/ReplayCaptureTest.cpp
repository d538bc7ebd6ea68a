#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "service/Collectors.h"
#include "service/platform/Capture.h"
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

Captured runReport(const std::string& args) {
    Captured c;
    const std::string cmd = std::string(ORVANE_REPORT_BIN) + " " + args + " 2>&1";
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

}  // namespace

TEST(Replay, MapsCommandLinesToCaptureFiles) {
    EXPECT_EQ(ReplayPlatform::fileFor(kSystemProfiler, {"SPPowerDataType", "-json"}),
              "system_profiler-SPPowerDataType.json");
    EXPECT_EQ(ReplayPlatform::fileFor(kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}),
              "ioreg-AppleSmartBattery.plist");
    EXPECT_EQ(ReplayPlatform::fileFor(kSwVers, {"-buildVersion"}), "sw_vers-buildVersion.txt");
    // Anything else is not in a capture, and cannot escape the directory.
    EXPECT_EQ(ReplayPlatform::fileFor(kSystemProfiler, {"SP/../../etc/passwd", "-json"}), "");
    EXPECT_EQ(ReplayPlatform::fileFor(kSystemProfiler, {"SPPowerDataType"}), "");
    EXPECT_EQ(ReplayPlatform::fileFor("/bin/sh", {"-c", "true"}), "");
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
    ReplayPlatform p(dir);
    EXPECT_EQ(p.sysctlInt("hw.ncpu"), 0);
    EXPECT_EQ(p.sysctlString("hw.model"), "");
    EXPECT_EQ(p.sysctlInt("hw.memsize"), 17179869184);
    EXPECT_EQ(p.hostName(), "");
    EXPECT_EQ(p.osVersion(), OsVersion{});
    EXPECT_TRUE(p.runData(kSwVers, {"-buildVersion"}).empty());
    EXPECT_FALSE(p.sampleLive().cpuTicks);
    ReplayPlatform none(dir / "does-not-exist");
    EXPECT_EQ(none.hostName(), "");
    fs::remove_all(dir);
}

TEST(Capture, RoundTripReproducesTheRecords) {
    for (const char* name :
         {"mac-portable", "mac-desktop", "mac-older", "mac-broken", "mac-failed"}) {
        SCOPED_TRACE(name);
        ReplayPlatform original(kFixtures / name);
        const fs::path dir = tempDir(std::string("capture-") + name);
        ASSERT_EQ(writeCapture(original, dir, {3, std::chrono::milliseconds(0)}), "");
        ReplayPlatform copy(dir);
        ReplayPlatform fresh(kFixtures / name);

        const HardwareInfo a = collectHardware(fresh), b = collectHardware(copy);
        EXPECT_EQ(a.modelName, b.modelName);
        EXPECT_EQ(a.chip, b.chip);
        EXPECT_EQ(a.totalCores, b.totalCores);
        EXPECT_EQ(a.memoryGB, b.memoryGB);
        EXPECT_EQ(a.macOSVersion, b.macOSVersion);
        EXPECT_EQ(a.macOSBuild, b.macOSBuild);
        EXPECT_EQ(a.hostname, b.hostname);
        EXPECT_EQ(a.isLaptop, b.isLaptop);
        EXPECT_EQ(a.uptime, b.uptime);
        EXPECT_EQ(collectBattery(fresh).cycleCount, collectBattery(copy).cycleCount);
        EXPECT_EQ(collectVolumes(fresh).size(), collectVolumes(copy).size());
        EXPECT_EQ(collectDisplays(fresh).first.size(), collectDisplays(copy).first.size());
        for (int i = 0; i < 3; ++i) {
            const LiveInputs x = fresh.sampleLive(), y = copy.sampleLive();
            EXPECT_EQ(x.uptime, y.uptime);
            EXPECT_EQ(x.vm, y.vm);
            EXPECT_EQ(x.swapUsed, y.swapUsed);
            EXPECT_EQ(x.cpuTicks, y.cpuTicks);
        }
        fs::remove_all(dir);
    }
}

TEST(ReportTool, JsonOfAPortableCapture) {
    const Captured c =
        runReport("--replay " + (kFixtures / "mac-portable").string() + " --json --interval 0");
    ASSERT_EQ(c.status, 0) << c.result;
    const auto j = nlohmann::json::parse(c.result);
    EXPECT_TRUE(j["loaded"].get<bool>());
    EXPECT_EQ(j["hardware"]["modelName"], "MacBook Pro");
    EXPECT_EQ(j["hardware"]["symbol"], "laptopcomputer");
    EXPECT_EQ(j["hardware"]["macOSName"], "macOS Sonoma");
    EXPECT_TRUE(j["battery"]["present"].get<bool>());
    EXPECT_EQ(j["battery"]["conditionColorName"], "green");
    ASSERT_EQ(j["volumes"].size(), 2u);
    EXPECT_TRUE(j["volumes"][0]["isBoot"].get<bool>());
    EXPECT_EQ(j["volumes"][0]["id"].get<std::string>().size(), 36u);
    EXPECT_EQ(j["displays"].size(), 2u);
    EXPECT_EQ(j["live"]["perCore"].size(), 12u);
    const double sum = j["live"]["cpuUserPct"].get<double>() +
                       j["live"]["cpuSystemPct"].get<double>() +
                       j["live"]["cpuIdlePct"].get<double>();
    EXPECT_NEAR(sum, 100.0, 1e-9);
    for (const char* k : {"cpuBusyPct", "memUsedFraction"})
        EXPECT_TRUE(j["live"].contains(k));
    for (const char* k : {"usedBytes", "usedFraction"})
        EXPECT_TRUE(j["volumes"][0].contains(k));
}

TEST(ReportTool, BadArgumentsExitWithStatusTwo) {
    for (const std::string args : {"--bogus", "--replay /does/not/exist", "--replay", "--samples 0",
                                   "--samples x", "--interval -1"}) {
        const Captured c = runReport(args);
        EXPECT_EQ(c.status, 2) << args;
        EXPECT_EQ(std::count(c.result.begin(), c.result.end(), '\n'), 1) << c.result;
    }
    EXPECT_EQ(runReport("--help").status, 0);
    EXPECT_EQ(runReport("--version").status, 0);
}

TEST(ReportTool, MalformedCaptureIsNoError) {
    for (const char* name : {"mac-broken", "mac-failed"}) {
        const Captured c =
            runReport("--replay " + (kFixtures / name).string() + " --json --interval 0");
        EXPECT_EQ(c.status, 0) << name << c.result;
        EXPECT_TRUE(nlohmann::json::parse(c.result)["loaded"].get<bool>());
    }
}
