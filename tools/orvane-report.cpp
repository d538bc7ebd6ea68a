// orvane-report: the service without a window. One full load, then live samples, then a
// report of every record as text, Markdown, JSON or Prometheus metrics.

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>

#include "service/Collectors.h"
#include "service/HistoryReport.h"
#include "service/Journal.h"
#include "service/Report.h"
#include "service/SystemService.h"
#include "service/TaskLoop.h"
#include "service/platform/Capture.h"
#include "service/platform/HostPlatform.h"
#include "service/platform/ReplayPlatform.h"

using namespace orvane;

namespace {

struct Options {
    ReportFormat format = ReportFormat::text;
    std::string replay;
    std::string capture;
    std::string sysroot = "/";
    int samples = 2;
    double interval = 1.0;
    // The journal of health over time.
    std::string formatName;  // --format as given: a report's or the history's
    std::optional<HistoryFormat> historyFormat;
    std::filesystem::path journal = defaultJournalPath();
    bool record = false;
    bool history = false;
    bool forget = false;
    bool noJournal = false;
};

#if defined(__APPLE__)
#define JOURNAL_DEFAULT "~/Library/Application Support/Orvane/journal.sqlite"
#else
#define JOURNAL_DEFAULT "$XDG_STATE_HOME/orvane/journal.sqlite"
#endif

const char* kUsage =
    "Usage: orvane-report [options]\n"
    "Prints what Orvane knows about this machine: hardware, operating system, battery,\n"
    "storage, graphics and displays, processor and memory use.\n"
    "\n"
    "Options:\n"
    "  --format FORMAT     text (the default), markdown, json, or openmetrics: the\n"
    "                      Prometheus text format, for the node_exporter textfile collector\n"
    "  --json              the same as --format json\n"
    "  --replay DIR        read a captured machine from DIR instead of this one\n"
    "  --capture DIR       write a capture of this machine to DIR\n"
    "  --sysroot DIR       read /proc and /sys under DIR (Linux)\n"
    "  --samples N         live samples to take, at least 1 (default 2)\n"
    "  --interval SECONDS  time between live samples (default 1.0)\n"
    "\n"
    "The journal of battery wear and disk use over time:\n"
    "  --record            record this machine's battery and volumes in the journal\n"
    "  --history           print the journal's points (with --replay: the capture's);\n"
    "                      --format text (the default), json or csv\n"
    "  --forget            delete the journal\n"
    "  --journal FILE      the journal to use (default " JOURNAL_DEFAULT
    ")\n"
    "  --no-journal        neither read nor record the journal: reports and captures\n"
    "                      leave its projections and points out\n"
    "\n"
    "  -h, --help          show this help\n"
    "  -v, --version       show the version\n";

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "orvane-report: " << message << "\n";
    std::exit(2);
}

// Writes `text` to standard output and makes sure it arrived: a report that could not be
// written whole (a full disk, a closed pipe) is an error, so that a script keeps its last good
// output. The exit status of the program.
int emit(const std::string& text) {
    std::fflush(stdout);
    errno = 0;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
    const int error = errno;
    if (std::fclose(stdout) != 0 || !written) {
        std::cerr << "orvane-report: cannot write the report: "
                  << std::strerror(written ? errno : (error ? error : EIO)) << "\n";
        return 1;
    }
    return 0;
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
        } else if (a == "--version" || a == "-v") {
            std::cout << "orvane-report " << ORVANE_VERSION << "\n";
            std::exit(0);
        } else if (a == "--json") {
            o.formatName = "json";
        } else if (a == "--format") {
            o.formatName = value(i, a);
        } else if (a == "--record") {
            o.record = true;
        } else if (a == "--history") {
            o.history = true;
        } else if (a == "--forget") {
            o.forget = true;
        } else if (a == "--no-journal") {
            o.noJournal = true;
        } else if (a == "--journal") {
            o.journal = value(i, a);
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
    if (o.history && !o.formatName.empty()) {
        o.historyFormat = historyFormatNamed(o.formatName);
        if (!o.historyFormat)
            fail("--history prints text, json or csv, not '" + o.formatName + "'");
    } else if (!o.formatName.empty()) {
        const std::optional<ReportFormat> format = reportFormatNamed(o.formatName);
        if (!format)
            fail("--format needs text, markdown, json or openmetrics, not '" + o.formatName + "'");
        o.format = *format;
    }
    if (o.record + o.history + o.forget + !o.capture.empty() > 1)
        fail("--record, --history, --forget and --capture exclude each other");
    if (o.noJournal && (o.record || o.history || o.forget))
        fail("--no-journal excludes --record, --history and --forget");
    if (o.record && !o.replay.empty()) fail("--record records this machine, not a replay");
    if (!o.replay.empty())
        if (const std::string why = directoryProblem(o.replay); !why.empty())
            fail("replay directory '" + o.replay + "' " + why);
    if (!o.replay.empty() && o.sysroot != "/") fail("--replay and --sysroot exclude each other");
    if (o.sysroot != "/")
        if (const std::string why = directoryProblem(o.sysroot); !why.empty())
            fail("sysroot '" + o.sysroot + "' " + why);
    return o;
}

// The journal, when one exists; nothing (having said why) when it cannot be opened.
std::unique_ptr<Journal> existingJournal(const Options& o, const Platform& platform) {
    std::error_code ec;
    if (o.journal.empty() || !std::filesystem::exists(o.journal, ec)) return nullptr;
    std::string error;
    auto journal = Journal::open(o.journal, stableMachineId(o.sysroot, platform), &error);
    if (!error.empty()) std::cerr << "orvane-report: " << error << "\n";
    if (journal && !journal->notice().empty())
        std::cerr << "orvane-report: " << journal->notice() << "\n";
    return journal;
}

// The points a report or capture adds: the replayed capture's, or this machine's journal's.
std::optional<History> historyFor(const Options& o, const Platform& platform) {
    if (o.noJournal) return std::nullopt;
    if (!o.replay.empty()) return historyOfCapture(o.replay);
    if (auto journal = existingJournal(o, platform)) return journal->history();
    return std::nullopt;
}

// --record, --history and --forget; the exit status.
int journalCommand(const Options& o, const Platform& platform) {
    if (o.forget) {
        std::error_code ec;
        const bool existed = std::filesystem::exists(o.journal, ec);
        if (const std::string error = Journal::forget(o.journal); !error.empty()) {
            std::cerr << "orvane-report: " << error << "\n";
            return 1;
        }
        std::cout << (existed ? "Deleted the journal " : "No journal at ") << o.journal.string()
                  << "\n";
        return 0;
    }
    if (o.history) {
        return emit(formatHistory(historyFor(o, platform).value_or(History{}),
                                  o.historyFormat.value_or(HistoryFormat::text)));
    }
    std::string error;
    auto journal = Journal::open(o.journal, stableMachineId(o.sysroot, platform), &error);
    if (journal && !journal->notice().empty())
        std::cerr << "orvane-report: " << journal->notice() << "\n";
    if (!journal) {
        std::cerr << "orvane-report: " << error << "\n";
        return 1;
    }
    const RecordResult r = journal->record(collectBattery(platform.power()),
                                           collectVolumes(platform.volumes()), std::time(nullptr));
    if (!r.ok) {
        std::cerr << "orvane-report: " << r.error << "\n";
        return 1;
    }
    std::cout << "Recorded " << r.stored << (r.stored == 1 ? " point" : " points") << " in "
              << o.journal.string() << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Options opt = parse(argc, argv);
    const auto interval = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::duration<double>(opt.interval));

    std::shared_ptr<const Platform> platform;
    if (!opt.replay.empty()) {
        auto replay = std::make_shared<ReplayPlatform>(opt.replay);
        // A capture that cannot be read whole is not reported as a machine; what was left out
        // of one that was read is said.
        for (const std::string& problem : replay->problems())
            std::cerr << "orvane-report: " << problem << "\n";
        if (!replay->problems().empty()) return 2;
        for (const std::string& note : replay->notes())
            std::cerr << "orvane-report: " << opt.replay << ": " << note << "\n";
        platform = std::move(replay);
    } else
        platform = makeHostPlatform(opt.sysroot);

    if (opt.record || opt.history || opt.forget) return journalCommand(opt, *platform);

    if (!opt.capture.empty()) {
        const auto history = historyFor(opt, *platform);
        const std::string error = writeCapture(*platform, opt.capture, {opt.samples, interval},
                                               history ? historyToJson(*history) : "");
        if (!error.empty()) {
            std::cerr << "orvane-report: " << error << "\n";
            return 1;
        }
        return emit("Capture written to " + opt.capture + "\n");
    }

    TaskLoop loop;
    auto svc = SystemService::create(platform, loop.queue());
    int samples = 0;  // live samples published
    svc->subscribe([&](SystemService::Field f) { samples += f == SystemService::Field::live; });
    svc->loadAll();
    // Every tool has its own time limit, so the full load always ends; this is a backstop.
    loop.runUntil([&] { return svc->loaded() && samples == 1; }, std::chrono::minutes(10));
    // Sensors and throughput: rates need two reads at least a second apart.
    int sensorReads = 0, sensorsAsked = 0;
    svc->subscribe(
        [&](SystemService::Field f) { sensorReads += f == SystemService::Field::sensors; });
    sensorsAsked += svc->updateSensors();
    for (int i = 1; i < opt.samples; ++i) {
        std::this_thread::sleep_for(interval);
        loop.runPending();  // publishes the sensors read before, so the next read may start
        svc->updateLive();
        sensorsAsked += svc->updateSensors();
        loop.runUntil([&] { return samples > i; }, std::chrono::minutes(1));
    }
    loop.runUntil([&] { return sensorReads >= sensorsAsked; }, std::chrono::minutes(1));
    svc->stop();  // a read still running finishes now, before the loop it posts to goes
    loop.runPending();

    std::string text = formatReport(svc->snapshot(), opt.format);
    if (opt.format == ReportFormat::openmetrics)
        if (const auto history = historyFor(opt, *platform)) text += historyMetrics(*history);
    return emit(text);
}
