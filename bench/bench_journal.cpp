// The journal: one recording as `orvane-report --record` and the app do it (open the file,
// check it, store what changed, close), on a journal holding two years of points; and reading
// the history back with its projections, as the pages will. Goal: a recording under 5 ms of
// CPU time.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "service/HealthTrend.h"
#include "service/Journal.h"
#include "service/JournalKeeper.h"

namespace {

namespace fs = std::filesystem;

// A journal filled with the two-year history of the portable Mac capture.
const fs::path& filledJournal() {
    static const fs::path path = [] {
        const fs::path p = fs::temp_directory_path() /
                           ("orvane-bench-journal-" + std::to_string(::getpid())) /
                           "journal.sqlite";
        fs::remove_all(p.parent_path());
        const auto h = orvane::historyOfCapture(std::string(ORVANE_FIXTURES) + "/mac-portable");
        std::string error;
        auto j = orvane::Journal::open(p, "bench", &error);
        for (const auto& b : h->battery) {
            orvane::BatteryInfo info;
            info.present = true;
            info.designCapacity = b.designCapacity;
            info.maxCapacity = b.fullCapacity;
            info.cycleCount = b.cycleCount;
            info.healthPercent = b.healthPercent;
            info.condition = b.condition;
            std::vector<orvane::VolumeInfo> volumes;
            for (const auto& v : h->volumes)
                if (v.time == b.time)
                    volumes.emplace_back(v.name, v.volume, "APFS", v.totalBytes, v.freeBytes, true,
                                         v.volume == "/");
            j->record(info, volumes, b.time);
        }
        return p;
    }();
    return path;
}

void BM_RecordOnce(benchmark::State& state) {
    const fs::path& path = filledJournal();
    orvane::BatteryInfo battery;
    battery.present = true;
    battery.designCapacity = 6000;
    battery.condition = "Good";
    const std::vector<orvane::VolumeInfo> volumes = {
        {"Macintosh HD", "/", "APFS", 1000000000000, 400000000000, true, true}};
    std::int64_t now = 1800000000;
    for (auto _ : state) {
        battery.maxCapacity = 5400 - (now % 7);  // a change each time: a point is written
        battery.healthPercent = static_cast<double>(*battery.maxCapacity) / 60.0;
        std::string error;
        auto j = orvane::Journal::open(path, "bench", &error);
        benchmark::DoNotOptimize(j->record(battery, volumes, now += 3600));
    }
}
BENCHMARK(BM_RecordOnce)->Unit(benchmark::kMillisecond);

// The app's hourly step: the recording above, then the points read back for the pages.
void BM_AppRecordsAndReadsBack(benchmark::State& state) {
    orvane::JournalKeeper::Options o;
    o.journal = filledJournal();
    o.stableId = [] { return "bench"; };
    std::int64_t now = 1900000000;
    o.clock = [&now] { return now; };
    orvane::JournalKeeper keeper(o);
    orvane::BatteryInfo battery;
    battery.present = true;
    battery.designCapacity = 6000;
    const std::vector<orvane::VolumeInfo> volumes = {
        {"Macintosh HD", "/", "APFS", 1000000000000, 400000000000, true, true}};
    for (auto _ : state) {
        now += 3600;
        battery.maxCapacity = 5400 - (now % 7);
        battery.healthPercent = *battery.maxCapacity / 60.0;
        benchmark::DoNotOptimize(keeper.collected(battery, volumes));
    }
}
BENCHMARK(BM_AppRecordsAndReadsBack)->Unit(benchmark::kMillisecond);

void BM_HistoryWithProjections(benchmark::State& state) {
    std::string error;
    auto j = orvane::Journal::open(filledJournal(), "bench", &error);
    for (auto _ : state) {
        const orvane::History h = j->history();
        benchmark::DoNotOptimize(orvane::batteryTrend(h.currentBattery()));
        for (const auto& v : h.volumeNames())
            benchmark::DoNotOptimize(orvane::volumeTrend(h.currentVolume(v)));
    }
}
BENCHMARK(BM_HistoryWithProjections)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
