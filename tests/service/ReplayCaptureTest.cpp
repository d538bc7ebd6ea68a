#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
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
    // A report that hangs fails the test instead of stopping it.
    const std::string cmd = "timeout 60 " + as + ORVANE_REPORT_BIN + " " + args + " 2>&1";
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
    SensorInputs sampleSensors() const override { return p_.sampleSensors(); }

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
    const auto at = [](double uptime) {
        LiveInputs in;
        in.uptime = uptime;
        return in;
    };
    LiveInputs first = at(1);
    first.vm.emplace().pageSize = 4096;
    first.vm->active = 1;
    first.swapUsed = 5;
    first.cpuTicks = {{1, 2, 3, 4}};
    EXPECT_EQ(p.sampleLive(), first);
    EXPECT_EQ(p.sampleLive(), at(2));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(p.sampleLive(), at(3));  // malformed values are failed reads
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
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(copy.sampleLive(), fresh.sampleLive());
                EXPECT_EQ(copy.sampleSensors(), fresh.sampleSensors());
            }
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

// A capture that cannot be read whole is an error: one line naming the file and the reason,
// exit 2, never a hang, an abort or an empty machine shown as this one.
TEST(ReportTool, CapturesThatCannotBeReadAreRefused) {
    const fs::path dir = tempDir("unreadable");
    using Setup = std::function<void(const fs::path&)>;
    const auto facts = [](std::string text) {
        return [text](const fs::path& d) { write(d / "facts.json", text); };
    };
    const auto link = [](const char* file, const char* to) {
        return [=](const fs::path& d) {
            fs::remove(d / file);
            fs::create_symlink(to, d / file);
        };
    };
    const std::tuple<std::string, Setup, std::string> cases[] = {
        {"closed", [](const fs::path& d) { fs::permissions(d, fs::perms::none); },
         "cannot read capture directory"},
        {"large",
         [](const fs::path& d) { fs::resize_file(d / "live.json", kMaxCaptureFileBytes + 1); },
         "live.json: larger than 8 MB"},
        {"fifo",
         [](const fs::path& d) {
             fs::remove(d / "host.json"), ::mkfifo((d / "host.json").c_str(), 0600);
         },
         "host.json: not a regular file"},
        {"zero", link("kernel.json", "/dev/zero"), "kernel.json: not a regular file"},
        {"mem", link("live.json", "/proc/self/mem"), "live.json: Input/output error"},
        {"version", facts(R"({"format": "orvane-facts", "version": 2})"),
         "facts.json: not a well-formed facts"},
        {"other", facts(R"({"format": "other", "version": 1})"),
         "facts.json: not a well-formed facts"},
        {"garbage", facts(R"({"format": "orvane-facts", "version": 1} x)"), "facts.json: not a"},
        {"nan", facts(R"({"format": "orvane-facts", "version": 1, "installedMemory": NaN})"),
         "facts.json: not a"},
        {"utf16", facts(std::string("{\0\"\0", 4)), "facts.json: not a"},
        {"empty", facts(""), "facts.json: not a"},
    };
    for (const auto& [name, setup, problem] : cases) {
        const fs::path capture = dir / name;
        fs::copy(kFixtures / "mac-portable", capture);
        setup(capture);
        const Captured c = runReport("--replay " + capture.string() + " --samples 1", true);
        EXPECT_EQ(c.status, 2) << name;
        EXPECT_EQ(c.result.rfind("orvane-report: cannot read ", 0), 0u) << c.result;
        EXPECT_NE(c.result.find(capture.string()), std::string::npos) << c.result;
        EXPECT_NE(c.result.find(problem), std::string::npos) << c.result;
        EXPECT_EQ(std::count(c.result.begin(), c.result.end(), '\n'), 1) << c.result;
        fs::permissions(capture, fs::perms::owner_all);
    }
    fs::remove_all(dir);
}

// Files the Mac platform does not use are not read; what a capture claims is kept within
// real ranges, lists within what machines have, and one bad character spoils only itself.
TEST(Replay, ReadsOnlyWhatItUsesWithinRealRanges) {
    const fs::path dir = tempDir("ranges");
    fs::copy(kFixtures / "mac-portable", dir / "mac");
    write(dir / "mac" / "system_profiler-SPUnused.json", "");
    fs::resize_file(dir / "mac" / "system_profiler-SPUnused.json", kMaxCaptureFileBytes + 1);
    ::mkfifo((dir / "mac" / "ioreg-Other.plist").c_str(), 0600);
    write(dir / "mac" / "host.json", R"({"osVersion": [1e300, -1e300, 14.9], "uptime": 1e300})");
    const ReplayPlatform mac(dir / "mac");
    EXPECT_TRUE(mac.problems().empty());
    EXPECT_EQ(mac.hardware().osVersion, std::nullopt);
    EXPECT_EQ(mac.hardware().uptime, 0);

    nlohmann::json doc = {{"format", "orvane-facts"}, {"version", 1}, {"installedMemory", -5}};
    doc["hardware"] = {{"logicalProcessors", -4},
                       {"performanceCores", 4097},
                       {"memoryBytes", 18446744073709551615u},
                       {"uptime", -1},
                       {"serial", "@"}};
    using Json = nlohmann::json;
    doc["power"]["batteries"] = std::vector<Json>(
        17, {{"designCapacity", -4922}, {"chargePercent", 1e308}, {"voltage", 12.5}});
    doc["volumes"] = std::vector<Json>(300, {{"totalBytes", -1}, {"freeBytes", 10}});
    doc["graphics"] = std::vector<Json>(65, {{"displays", Json::array({{{"main", true}}})}});
    doc["graphics"][0]["displays"] = std::vector<nlohmann::json>(70, nlohmann::json::object());
    std::string text = doc.dump();
    text.replace(text.find("\"@\""), 3, "\"A\xff\\ud800\"");  // an invalid byte, a lone surrogate
    fs::create_directories(dir / "facts");
    write(dir / "facts" / "facts.json", text);
    const ReplayPlatform facts(dir / "facts");
    const HardwareFacts h = facts.hardware();
    const auto b = facts.power().batteries;
    const auto v = facts.volumes();
    const auto g = facts.graphics();
    EXPECT_TRUE(facts.problems().empty());
    EXPECT_EQ(h.serial, "A\uFFFD\uFFFD");
    EXPECT_FALSE(h.logicalProcessors || h.performanceCores || h.memoryBytes || h.uptime ||
                 facts.installedMemory() || b[0].designCapacity || b[0].chargePercent ||
                 v[0].totalBytes);
    EXPECT_EQ(std::tuple(b.size(), b[0].voltage, v.size(), v[0].freeBytes, g.size(),
                         g[0].displays.size(), g[1].displays.size()),
              std::tuple(16u, 12.5, 256u, 10, 64u, 64u, 0u));
    EXPECT_EQ(facts.notes(),
              (std::vector<std::string>{
                  "1 of 17 batteries left out: no machine has more than 16",
                  "44 of 300 volumes left out: no machine has more than 256",
                  "6 of 70 displays left out: no machine has more than 64",
                  "1 of 65 graphics processors left out: no machine has more than 64",
                  "63 of 127 displays left out: no machine has more than 64"}));
    fs::remove_all(dir);
}

// A capture or a report that cannot be written whole says why and exits non-zero; it never
// leaves half a capture, never replaces a good one with it, and never writes through a link
// planted in the target.
TEST(CaptureTargets, WritesAreCheckedAndNothingPlantedIsFollowed) {
    const fs::path dir = tempDir("targets");
    const std::string replay = "--replay " + (kFixtures / "mac-portable").string();
    // A previous capture holding a link to a file elsewhere is replaced; the file is not touched.
    fs::create_directories(dir / "cap");
    write(dir / "outside", "keep");
    write(dir / "cap" / "live.json", "{}");
    fs::create_symlink(dir / "outside", dir / "cap" / "host.json");
    Captured c = runReport(replay + " --capture " + (dir / "cap").string());
    EXPECT_EQ(c.status, 0) << c.result;
    EXPECT_EQ(readText(dir / "outside"), "keep");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "cap" / "host.json")));

    // A write that fails part way (files limited to a few blocks): the reason, and the
    // previous capture as it was.
    const std::string before = readText(dir / "cap" / "host.json");
    const std::string limited = "sh -c \"trap '' XFSZ; ulimit -f 1; exec " +
                                std::string(ORVANE_REPORT_BIN) + " " + replay + " --capture ";
    for (const fs::path& target : {dir / "cap", dir / "new"}) {
        FILE* f = ::popen((limited + target.string() + "\" 2>&1").c_str(), "r");
        char buf[512] = {};
        const std::string out(buf, std::fread(buf, 1, sizeof buf - 1, f));
        EXPECT_EQ(WEXITSTATUS(::pclose(f)), 1) << out;
        EXPECT_NE(out.find("File too large"), std::string::npos) << out;
    }
    EXPECT_EQ(readText(dir / "cap" / "host.json"), before);
    EXPECT_FALSE(fs::exists(dir / "new"));
    for (const auto& e : fs::directory_iterator(dir))  // no temporary directory left
        EXPECT_FALSE(e.path().filename().string().starts_with(".")) << e.path();

    // A directory holding anything else is not replaced.
    fs::create_directories(dir / "other");
    write(dir / "other" / "notes.txt", "mine");
    c = runReport(replay + " --capture " + (dir / "other").string());
    EXPECT_EQ(c.status, 1);
    EXPECT_NE(c.result.find("holds other files"), std::string::npos) << c.result;
    EXPECT_EQ(readText(dir / "other" / "notes.txt"), "mine");

    // A report that cannot be written: the cron recipe then keeps its last good file.
    const int status = std::system(("timeout 60 " + std::string(ORVANE_REPORT_BIN) + " " + replay +
                                    " --samples 1 > /dev/full 2> " + (dir / "err").string())
                                       .c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readText(dir / "err"),
              "orvane-report: cannot write the report: No space left on device\n");
    fs::remove_all(dir);
}
