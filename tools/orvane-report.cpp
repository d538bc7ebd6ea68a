// orvane-report: the service without a window. One full load, then live samples, then a
// text (or JSON) report of every record.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <iostream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "service/Fmt.h"
#include "service/SystemService.h"
#include "service/platform/Capture.h"
#include "service/platform/HostPlatform.h"
#include "service/platform/ReplayPlatform.h"

using namespace orvane;
using nlohmann::json;

namespace {

// The main queue of this program: tasks posted from any thread, run by main() in order.
class TaskLoop {
  public:
    MainQueue queue() {
        return [this](std::function<void()> task) {
            {
                std::lock_guard lock(mutex_);
                tasks_.push_back(std::move(task));
            }
            wake_.notify_one();
        };
    }
    // Runs tasks until `done` holds (checked after each task) or the deadline passes.
    void runUntil(const std::function<bool()>& done, std::chrono::steady_clock::time_point until) {
        while (!done()) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex_);
                if (!wake_.wait_until(lock, until, [&] { return !tasks_.empty(); })) return;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }
    // Runs the tasks already posted.
    void drain() {
        runUntil(
            [this] {
                std::lock_guard lock(mutex_);
                return tasks_.empty();
            },
            std::chrono::steady_clock::now());
    }

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
};

struct Options {
    bool json = false;
    std::string replay;
    std::string capture;
    std::string sysroot = "/";
    int samples = 2;
    double interval = 1.0;
};

const char* kUsage =
    "Usage: orvane-report [options]\n"
    "Prints what Orvane knows about this machine: hardware, operating system, battery,\n"
    "storage, graphics and displays, processor and memory use.\n"
    "\n"
    "Options:\n"
    "  --json              print the records as JSON\n"
    "  --replay DIR        read a captured machine from DIR instead of this one\n"
    "  --capture DIR       write a capture of this machine to DIR\n"
    "  --sysroot DIR       read /proc and /sys under DIR (Linux)\n"
    "  --samples N         live samples to take, at least 1 (default 2)\n"
    "  --interval SECONDS  time between live samples (default 1.0)\n"
    "  --help              show this help\n"
    "  --version           show the version\n";

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "orvane-report: " << message << "\n";
    std::exit(2);
}

// Why `dir` cannot be read as a directory ("does not exist", "cannot be read: Too many levels
// of symbolic links"); empty when it can.
std::string directoryProblem(const std::string& dir) {
    std::error_code ec;
    const auto status = std::filesystem::status(dir, ec);
    if (status.type() == std::filesystem::file_type::not_found) return "does not exist";
    if (ec) return "cannot be read: " + ec.message();
    if (status.type() != std::filesystem::file_type::directory) return "is not a directory";
    return {};
}

Options parse(int argc, char** argv) {
    Options o;
    auto value = [&](int& i, const std::string& name) -> std::string {
        if (i + 1 >= argc) fail("option " + name + " needs a value");
        return argv[++i];
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (a == "--version") {
            std::cout << "orvane-report " << ORVANE_VERSION << "\n";
            std::exit(0);
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--replay") {
            o.replay = value(i, a);
        } else if (a == "--capture") {
            o.capture = value(i, a);
        } else if (a == "--sysroot") {
            o.sysroot = value(i, a);
        } else if (a == "--samples") {
            const std::string v = value(i, a);
            try {
                std::size_t used = 0;
                o.samples = std::stoi(v, &used);
                if (used != v.size() || o.samples < 1 || o.samples > 3600) throw 0;
            } catch (...) {
                fail("--samples needs a whole number from 1 to 3600, not '" + v + "'");
            }
        } else if (a == "--interval") {
            const std::string v = value(i, a);
            try {
                std::size_t used = 0;
                o.interval = std::stod(v, &used);
                if (used != v.size() || !(o.interval >= 0) || o.interval > 3600) throw 0;
            } catch (...) {
                fail("--interval needs a number of seconds from 0 to 3600, not '" + v + "'");
            }
        } else {
            fail("unknown option '" + a + "' (see --help)");
        }
    }
    if (!o.replay.empty())
        if (const std::string why = directoryProblem(o.replay); !why.empty())
            fail("replay directory '" + o.replay + "' " + why);
    if (!o.replay.empty() && o.sysroot != "/") fail("--replay and --sysroot exclude each other");
    if (o.sysroot != "/")
        if (const std::string why = directoryProblem(o.sysroot); !why.empty())
            fail("sysroot '" + o.sysroot + "' " + why);
    return o;
}

json toJson(const SystemService& s) {
    const HardwareInfo& h = s.hardware();
    const BatteryInfo& b = s.battery();
    const LiveMetrics& l = s.live();
    json volumes = json::array();
    for (const auto& v : s.volumes())
        volumes.push_back({{"id", v.id().toString()},
                           {"name", v.name},
                           {"mountPoint", v.mountPoint},
                           {"fileSystem", v.fileSystem},
                           {"totalBytes", v.totalBytes},
                           {"freeBytes", v.freeBytes},
                           {"isInternal", v.isInternal},
                           {"isBoot", v.isBoot},
                           {"usedBytes", v.usedBytes()},
                           {"usedFraction", v.usedFraction()}});
    json displays = json::array();
    for (const auto& d : s.displays())
        displays.push_back({{"id", d.id().toString()},
                            {"name", d.name},
                            {"resolution", d.resolution},
                            {"uiResolution", d.uiResolution},
                            {"isMain", d.isMain},
                            {"isBuiltIn", d.isBuiltIn},
                            {"connectionType", d.connectionType},
                            {"refreshRate", d.refreshRate}});
    json graphics = json::array();
    for (const auto& g : s.graphics())
        graphics.push_back({{"id", g.id().toString()},
                            {"name", g.name},
                            {"vendor", g.vendor},
                            {"cores", g.cores},
                            {"metalSupport", g.metalSupport},
                            {"driver", g.driver}});
    return {
        {"hardware",
         {{"modelName", h.modelName},
          {"modelIdentifier", h.modelIdentifier},
          {"chip", h.chip},
          {"totalCores", h.totalCores},
          {"performanceCores", h.performanceCores},
          {"efficiencyCores", h.efficiencyCores},
          {"gpuCores", h.gpuCores},
          {"memoryGB", h.memoryGB},
          {"memoryType", h.memoryType},
          {"serialNumber", h.serialNumber},
          {"macOSName", h.macOSName},
          {"macOSVersion", h.macOSVersion},
          {"macOSBuild", h.macOSBuild},
          {"uptime", h.uptime},
          {"hostname", h.hostname},
          {"isLaptop", h.isLaptop},
          {"symbol", h.symbol()}}},
        {"battery",
         {{"present", b.present},
          {"cycleCount", b.cycleCount},
          {"designCycleCount", b.designCycleCount},
          {"healthPercent", b.healthPercent},
          {"condition", b.condition},
          {"chargePercent", b.chargePercent},
          {"isCharging", b.isCharging},
          {"onAC", b.onAC},
          {"fullyCharged", b.fullyCharged},
          {"temperature", b.temperature},
          {"voltage", b.voltage},
          {"amperage", b.amperage},
          {"designCapacity", b.designCapacity},
          {"maxCapacity", b.maxCapacity},
          {"currentCapacity", b.currentCapacity},
          {"timeRemaining", b.timeRemaining},
          {"serial", b.serial},
          {"conditionColorName", b.conditionColorName()}}},
        {"volumes", volumes},
        {"displays", displays},
        {"graphics", graphics},
        {"live",
         {{"cpuUserPct", l.cpuUserPct},
          {"cpuSystemPct", l.cpuSystemPct},
          {"cpuIdlePct", l.cpuIdlePct},
          {"perCore", l.perCore},
          {"memUsedBytes", l.memUsedBytes},
          {"memTotalBytes", l.memTotalBytes},
          {"memAppBytes", l.memAppBytes},
          {"memWiredBytes", l.memWiredBytes},
          {"memCompressedBytes", l.memCompressedBytes},
          {"memCachedBytes", l.memCachedBytes},
          {"swapUsedBytes", l.swapUsedBytes},
          {"memPressure", l.memPressure},
          {"uptime", l.uptime},
          {"cpuBusyPct", l.cpuBusyPct()},
          {"memUsedFraction", l.memUsedFraction()}}},
        {"loaded", s.loaded()},
    };
}

std::string orDash(const std::string& s) {
    return s.empty() ? "-" : s;
}
std::string pct(double v) {
    return Fmt::format("%.1f%%", v);
}

void printText(const SystemService& s) {
    const HardwareInfo& h = s.hardware();
    const BatteryInfo& b = s.battery();
    const LiveMetrics& l = s.live();
    auto row = [](const std::string& label, const std::string& value) {
        std::printf("  %-18s %s\n", label.c_str(), value.c_str());
    };
    std::printf("%s\n", h.modelName.c_str());
    row("Model", orDash(h.modelIdentifier));
    row("Chip", orDash(h.chip));
    std::string cores = std::to_string(h.totalCores);
    if (h.performanceCores > 0 || h.efficiencyCores > 0)
        cores += " (" + std::to_string(h.performanceCores) + "P + " +
                 std::to_string(h.efficiencyCores) + "E)";
    row("Cores", cores);
    row("Memory", orDash(h.memoryGB) + (h.memoryType.empty() ? "" : " " + h.memoryType));
    row("Serial number", orDash(h.serialNumber));
    row("System", orDash(h.macOSName) + " " + h.macOSVersion +
                      (h.macOSBuild.empty() ? "" : " (" + h.macOSBuild + ")"));
    row("Host name", orDash(h.hostname));
    row("Uptime", Fmt::duration(h.uptime));

    std::printf("\nBattery\n");
    if (!b.present) {
        row("Installed", "no");
    } else {
        row("Charge", Fmt::format("%.0f%%", b.chargePercent) +
                          (b.isCharging     ? ", charging"
                           : b.fullyCharged ? ", fully charged"
                                            : "") +
                          (b.onAC ? ", on power adapter" : ", on battery"));
        row("Health", Fmt::format("%.0f%%", b.healthPercent) + " (" + b.condition + ")");
        row("Cycles",
            std::to_string(b.cycleCount) +
                (b.designCycleCount > 0 ? " of " + std::to_string(b.designCycleCount) : ""));
        row("Capacity", std::to_string(b.currentCapacity) + " / " + std::to_string(b.maxCapacity) +
                            " mAh (design " + std::to_string(b.designCapacity) + " mAh)");
        row("Electrical", Fmt::format("%.2f V", b.voltage) + ", " +
                              Fmt::format("%.2f A", b.amperage) + ", " +
                              Fmt::format("%.1f °C", b.temperature));
        row("Time remaining",
            b.timeRemaining < 0 ? "calculating" : Fmt::duration(b.timeRemaining * 60.0));
        row("Serial", orDash(b.serial));
    }

    std::printf("\nStorage\n");
    if (s.volumes().empty()) row("Volumes", "none read");
    for (const auto& v : s.volumes())
        row(v.name, Fmt::bytes(v.freeBytes) + " free of " + Fmt::bytes(v.totalBytes) + ", " +
                        orDash(v.fileSystem) + ", " + orDash(v.mountPoint) +
                        (v.isBoot ? ", startup" : "") + (v.isInternal ? "" : ", external"));

    std::printf("\nGraphics\n");
    if (s.graphics().empty()) row("Processors", "none read");
    for (const auto& g : s.graphics())
        row(g.name, orDash(g.vendor) + (g.cores.empty() ? "" : ", " + g.cores + " cores") +
                        (g.metalSupport.empty() ? "" : ", " + g.metalSupport) +
                        (g.driver.empty() ? "" : ", driver " + g.driver));
    for (const auto& d : s.displays())
        row(d.name, orDash(d.resolution) + (d.refreshRate.empty() ? "" : " @ " + d.refreshRate) +
                        ", " + orDash(d.connectionType) + (d.isMain ? ", main" : "") +
                        (d.isBuiltIn ? ", built in" : ""));

    std::printf("\nPerformance\n");
    row("Processor", pct(l.cpuUserPct) + " user, " + pct(l.cpuSystemPct) + " system, " +
                         pct(l.cpuIdlePct) + " idle");
    std::string coresLine;
    for (std::size_t i = 0; i < l.perCore.size(); ++i)
        coresLine += (i ? " " : "") + Fmt::format("%.0f%%", l.perCore[i] * 100);
    row("Per core", orDash(coresLine));
    row("Memory used", Fmt::bytes(l.memUsedBytes) + " of " + Fmt::bytes(l.memTotalBytes));
    row("App / wired", Fmt::bytes(l.memAppBytes) + " / " + Fmt::bytes(l.memWiredBytes));
    row("Compressed", Fmt::bytes(l.memCompressedBytes));
    row("Cached", Fmt::bytes(l.memCachedBytes));
    row("Swap used", Fmt::bytes(l.swapUsedBytes));
    row("Pressure", Fmt::format("%.0f%%", l.memPressure * 100));
}

}  // namespace

int main(int argc, char** argv) {
    const Options opt = parse(argc, argv);
    const auto interval = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::duration<double>(opt.interval));

    std::shared_ptr<const Platform> platform;
    if (!opt.replay.empty()) {
        auto replay = std::make_shared<ReplayPlatform>(opt.replay);
        // What could not be read is said once; the report shows what could.
        for (const std::string& problem : replay->problems())
            std::cerr << "orvane-report: " << problem << "\n";
        platform = std::move(replay);
    } else
        platform = makeHostPlatform(opt.sysroot);

    if (!opt.capture.empty()) {
        const std::string error = writeCapture(*platform, opt.capture, {opt.samples, interval});
        if (!error.empty()) {
            std::cerr << "orvane-report: " << error << "\n";
            return 1;
        }
        std::cout << "Capture written to " << opt.capture << "\n";
        return 0;
    }

    TaskLoop loop;
    auto svc = SystemService::create(platform, loop.queue());
    svc->loadAll();
    // Every tool has its own time limit, so the full load always ends; this is a backstop.
    loop.runUntil([&] { return svc->loaded(); },
                  std::chrono::steady_clock::now() + std::chrono::minutes(10));
    for (int i = 1; i < opt.samples; ++i) {
        std::this_thread::sleep_for(interval);
        svc->updateLive();
        loop.drain();
    }
    loop.drain();

    if (opt.json)
        std::cout << toJson(*svc).dump(2) << "\n";
    else
        printText(*svc);
    return 0;
}
