// The journal of health over time: what is stored and on which curve, the faults it survives,
// two writers at once, the trends, and orvane-report's journal commands.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>
#include <tuple>

#include "service/HealthTrend.h"
#include "service/HistoryReport.h"
#include "service/Journal.h"
#include "service/JournalKeeper.h"
#include "service/Sha256.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
    const fs::path p =
        fs::temp_directory_path() / ("orvane-journal-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::unique_ptr<Journal> openJournal(const fs::path& file, const JournalOptions& o = {}) {
    std::string error;
    auto j = Journal::open(file, "machine-id:test", o, &error);
    EXPECT_TRUE(j) << error;
    return j;
}

BatteryInfo battery(std::int64_t full, std::int64_t cycles = 100, std::string serial = "B1") {
    BatteryInfo b;
    b.present = true;
    b.designCapacity = 6000;
    b.maxCapacity = full;
    b.cycleCount = cycles;
    b.healthPercent = full * 100.0 / 6000;
    b.condition = "Normal";
    b.serial = std::move(serial);
    return b;
}

constexpr std::int64_t kT0 = 1767225600;  // 2026-01-01T00:00:00Z
constexpr std::int64_t kDay = 86400;

// Runs orvane-report, after `prefix` (setpriv and its options) when given.
std::string run(const std::string& args, int* status, const std::string& prefix = "") {
    const std::string cmd = prefix + ORVANE_REPORT_BIN + " " + args + " 2>&1";
    FILE* f = ::popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    for (std::size_t n; f && (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        out.append(buf, n);
    const int st = f ? ::pclose(f) : -1;
    *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

}  // namespace

// Each observation in turn: how many points it stores and the curve the battery is then on.
TEST(Journal, StoresChangesADailyPointAndStartsCurvesAfresh) {
    const fs::path dir = scratch("curves");
    auto j = openJournal(dir / "journal.sqlite");
    const VolumeInfo root("Disk", "/", "ext4", 1000, 400, true, true);
    struct Step {
        const char* what;
        std::int64_t time;
        BatteryInfo battery;
        std::int64_t freeBytes;
        int stored;
        std::int64_t curve;
    } steps[] = {
        {"first observation", kT0, battery(5400), 400, 2, 1},
        {"an hour on, nothing changed", kT0 + 3600, battery(5400), 405, 0, 1},
        {"full charge capacity fell", kT0 + 7200, battery(5390), 405, 1, 1},
        {"a cycle more, disk filled by 1%", kT0 + 9000, battery(5390, 101), 390, 2, 1},
        {"the next day: a daily point", kT0 + kDay, battery(5390, 101), 390, 2, 1},
        {"battery replaced", kT0 + kDay + 60, battery(6000, 1, "B2"), 390, 1, 2},
        {"clock corrected back a minute", kT0 + kDay, battery(6000, 1, "B2"), 390, 0, 2},
        {"clock jumped back a week", kT0 - 7 * kDay, battery(6000, 1, "B2"), 390, 2, 3},
    };
    for (const Step& s : steps) {
        VolumeInfo v = root;
        v.freeBytes = s.freeBytes;
        const RecordResult r = j->record(s.battery, {v}, s.time);
        ASSERT_TRUE(r.ok) << s.what << ": " << r.error;
        EXPECT_EQ(r.stored, s.stored) << s.what;
        EXPECT_EQ(j->history().battery.back().curve, s.curve) << s.what;
    }
    const History h = j->history();
    EXPECT_EQ(h.battery.size(), 6u);
    EXPECT_EQ(h.currentBattery().size(), 1u);
    EXPECT_EQ(h.currentVolume("/").size(), 1u);
    // Not the serial in clear, anywhere in the file.
    std::ifstream in(dir / "journal.sqlite", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes.find("machine-id:test"), std::string::npos);
    EXPECT_EQ(h.machine.size(), 16u);
    // JSON holds the same points.
    EXPECT_EQ(historyFromJson(historyToJson(h)), h);
}

// A file that is not a journal this build can use is moved aside and a fresh one started.
TEST(Journal, MovesAnUnreadableFileAsideAndStartsAfresh) {
    const fs::path dir = scratch("corrupt");
    {
        auto j = openJournal(dir / "good.sqlite");
        ASSERT_TRUE(j->record(battery(5000), {}, kT0).ok);
    }
    std::ifstream good(dir / "good.sqlite", std::ios::binary);
    const std::string valid{std::istreambuf_iterator<char>(good), {}};
    struct Case {
        const char* what;
        std::string bytes;
        const char* sql;  // run on a valid journal instead, when given
    } cases[] = {
        {"random bytes", std::string(5000, '\x5a'), nullptr},
        {"truncated", valid.substr(0, valid.size() / 2), nullptr},
        {"a newer schema", "", "PRAGMA user_version = 99"},
    };
    for (const Case& c : cases) {
        const fs::path sub = dir / c.what, file = sub / "journal.sqlite";
        fs::create_directories(sub);
        if (c.sql) {
            fs::copy_file(dir / "good.sqlite", file);
            sqlite3* db = nullptr;
            sqlite3_open(file.c_str(), &db);
            sqlite3_exec(db, c.sql, nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else {
            std::ofstream(file, std::ios::binary) << c.bytes;
        }
        auto j = openJournal(file);
        ASSERT_TRUE(j) << c.what;
        EXPECT_NE(j->notice().find("moved aside to journal.corrupt-"), std::string::npos)
            << c.what << ": " << j->notice();
        EXPECT_TRUE(j->history().empty()) << c.what;
        EXPECT_TRUE(j->record(battery(5000), {}, kT0).ok) << c.what;
        int files = 0;
        for (const auto& e : fs::directory_iterator(sub))
            files += e.path().filename().string().rfind("journal.corrupt-", 0) == 0;
        EXPECT_EQ(files, 1) << c.what;
    }
}

// Where nothing can be written, recording says why and nothing else breaks.
TEST(Journal, SaysWhyWhenItCannotWrite) {
    const fs::path dir = scratch("nowrite");
    std::ofstream(dir / "file") << "x";
    std::string error;
    EXPECT_FALSE(Journal::open(dir / "file" / "journal.sqlite", "id", &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;

    // The size cap stands in for a full disk: the first write past it fails, and all of it.
    JournalOptions small;
    small.maxBytes = 8 * 4096;
    auto j = openJournal(dir / "full.sqlite", small);
    std::vector<VolumeInfo> many;
    for (int i = 0; i < 400; ++i)
        many.emplace_back("Volume " + std::to_string(i),
                          "/mnt/" + std::string(200, 'v') + std::to_string(i), "ext4", 1000, 500,
                          false, false);
    const RecordResult r = j->record(battery(5000), many, kT0);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("full"), std::string::npos) << r.error;
    EXPECT_TRUE(j->history().empty());
    EXPECT_TRUE(j->record(battery(5000), {}, kT0).ok);
}

// The app and the timer at once: every distinct observation stored once, the same one once.
TEST(Journal, TwoWritersLoseAndDuplicateNothing) {
    const fs::path file = scratch("writers") / "journal.sqlite";
    openJournal(file);  // created once, so that the writers open an existing file
    constexpr int kEach = 40;
    auto writer = [&](std::int64_t base) {
        auto j = openJournal(file);
        for (int i = 0; i < kEach; ++i)
            ASSERT_TRUE(j->record(battery(base + i), {}, kT0 + i).ok);
    };
    auto same = [&] { ASSERT_TRUE(openJournal(file)->record(battery(9999), {}, kT0 + kDay).ok); };
    for (auto phase :
         {std::vector<std::function<void()>>{[&] { writer(3000); }, [&] { writer(4000); }},
          std::vector<std::function<void()>>{same, same, same}}) {
        std::vector<std::thread> threads;
        for (auto& f : phase)
            threads.emplace_back(f);
        for (auto& t : threads)
            t.join();
    }
    std::multiset<std::int64_t> seen, expected = {9999};
    for (const BatteryPoint& p : openJournal(file)->history().battery)
        seen.insert(p.fullCapacity);
    for (int i = 0; i < kEach; ++i)
        expected.insert({3000 + i, 4000 + i});
    EXPECT_EQ(seen, expected);
}

// Projections, case by case: points as (day, value), newest last.
TEST(HealthTrend, ProjectsOnlyWhatTheDataSupports) {
    struct Case {
        const char* what;
        std::vector<std::pair<double, double>> points;
        TrendReason reason;
        double days = 0;  // to the projected time, from the newest point
    };
    auto line = [](int n, double step, double from, double perDay) {
        std::vector<std::pair<double, double>> p;
        for (int i = 0; i < n; ++i)
            p.emplace_back(i * step, from + perDay * i * step);
        return p;
    };
    auto spiked = line(12, 6, 90, -0.05);
    spiked[5].second = 40;                // one wild reading
    auto bent = line(40, 10, 99, -0.05);  // steep wear long ago, then flat for 90 days
    for (auto& p : bent)
        if (p.first > 300) p.second = bent[30].second;
    const Case cases[] = {
        {"three weeks", line(20, 1, 95, -0.05), TrendReason::needsMonth},
        {"three points", line(3, 30, 95, -0.05), TrendReason::needsPoints},
        {"flat", line(10, 7, 95, 0), TrendReason::steady},
        {"rising", line(10, 7, 95, 0.01), TrendReason::steady},
        {"worn out", line(10, 7, 79.5, -0.01), TrendReason::reached},
        {"falling, with an outlier", spiked, TrendReason::none, (90 - 0.05 * 66 - 80) / 0.05},
        {"only the last 90 days count", bent, TrendReason::steady},
    };
    for (const Case& c : cases) {
        std::vector<BatteryPoint> curve;
        for (const auto& [day, health] : c.points) {
            curve.emplace_back();
            curve.back().time = kT0 + std::llround(day * kDay);
            curve.back().healthPercent = health;
        }
        const Trend t = batteryTrend(curve);
        EXPECT_EQ(t.reason, c.reason) << c.what;
        if (c.reason == TrendReason::none) {
            EXPECT_NEAR(double(*t.when - curve.back().time) / kDay, c.days, 1) << c.what;
        }
    }
    // A disk 500 of 1000 GB full, filling by 1 GB a day: full in about 16 months.
    std::vector<VolumePoint> disk;
    for (int i = 0; i < 60; ++i)
        disk.push_back({kT0 + i * kDay, 1, "/", "Disk", 1000'000'000'000,
                        560'000'000'000 - i * 1'000'000'000LL});
    const Trend t = volumeTrend(disk);
    ASSERT_TRUE(t.when);
    EXPECT_EQ(monthsUntil(*t.when, disk.back().time), 16);
}

TEST(Journal, ReadsOnlyWellFormedPointsFromJson) {
    const std::string docs[] = {"",
                                "[]",
                                "{\"battery\": 3}",
                                "{\"battery\": [1, {}]}",
                                R"({"battery": [{"time": "yesterday"}]})",
                                R"({"volumes": [{"time": "2026-01-01T00:00:00Zjunk"}]})"};
    for (const std::string& d : docs)
        EXPECT_TRUE(historyFromJson(d).empty()) << d;
    const History h = historyFromJson(
        R"({"battery": [{"time": "2026-01-01T00:00:00Z", "fullCapacity": 1e300, "temperature": "hot"}]})");
    ASSERT_EQ(h.battery.size(), 1u);
    EXPECT_EQ(h.battery[0].time, kT0);
    EXPECT_EQ(h.battery[0].fullCapacity, 0);
    EXPECT_FALSE(h.battery[0].temperature);
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex(std::string(56, 'a')).substr(0, 8), "b35439a4");  // two tail blocks
}

// The app's recording: at start, then not within the interval (unless the clock went back);
// nothing while switched off; a journal that cannot be written is said once and the keeper
// goes on; a capture is only read.
TEST(JournalKeeper, RecordsAtStartThenHourlyOnlyWhileOnAndSaysAFaultOnce) {
    const fs::path dir = scratch("keeper");
    std::int64_t now = kT0;
    JournalKeeper::Options o;
    o.journal = dir / "journal.sqlite";
    o.stableId = [] { return "machine-id:test"; };
    o.clock = [&] { return now; };
    JournalKeeper keeper(o);
    enum Step { collect, off, on, forget };
    const struct {
        std::int64_t at;  // seconds after kT0
        Step step;
        int attempts;
        std::size_t points;
    } steps[] = {
        {0, collect, 1, 1},    {1800, collect, 1, 1}, {3599, collect, 1, 1}, {3600, collect, 2, 2},
        {3700, off, 2, 2},     {9000, collect, 2, 2}, {9000, on, 2, 2},      {9001, collect, 3, 3},
        {9500, collect, 3, 3}, {100, collect, 4, 4},  {200, forget, 4, 0},   {300, collect, 4, 0},
    };
    for (const auto& s : steps) {
        now = kT0 + s.at;
        const BatteryInfo b = battery(5000 - keeper.attempts() - static_cast<int>(s.at % 7));
        const JournalKeeper::Update u = s.step == collect  ? keeper.collected(b, {})
                                        : s.step == forget ? keeper.forget()
                                                           : keeper.setRecording(s.step == on);
        SCOPED_TRACE(s.at);
        EXPECT_EQ(keeper.attempts(), s.attempts);
        EXPECT_TRUE(u.notices.empty());
        if (u.state) {
            EXPECT_EQ(u.state->history.battery.size(), s.points);
            EXPECT_EQ(u.state->recording, s.step != off);
        }
    }

    std::ofstream(dir / "file") << "x";
    o.journal = dir / "file" / "journal.sqlite";
    JournalKeeper broken(o);
    int notices = 0;
    for (std::int64_t t : {0, 3600, 7200}) {
        now = kT0 + t;
        const JournalKeeper::Update u = broken.collected(battery(5000), {});
        notices += static_cast<int>(u.notices.size());
        ASSERT_TRUE(u.state);
        EXPECT_TRUE(u.state->history.empty());
    }
    EXPECT_EQ(broken.attempts(), 3);
    EXPECT_EQ(notices, 1);

    const auto capture = JournalKeeper::ofCapture(fs::path(ORVANE_FIXTURES) / "mac-portable");
    const JournalKeeper::Update shown = capture->collected(battery(5000), {});
    ASSERT_TRUE(shown.state && shown.state->capture);
    EXPECT_EQ(shown.state->history.battery.size(), 620u);
    EXPECT_FALSE(capture->collected(battery(5000), {}).state);
    EXPECT_EQ(capture->attempts(), 0);
}

#if defined(__linux__)
// orvane-report --record three times as the battery wears, then --history; --capture takes
// the points along and a replay shows them; --forget deletes the journal.
TEST(Journal, ReportToolRecordsShowsCapturesAndForgets) {
    const fs::path dir = scratch("tool");
    const fs::path tree = dir / "tree", journal = dir / "state" / "journal.sqlite";
    fs::copy(fs::path(ORVANE_FIXTURES) / "linux" / "laptop", tree,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    const std::string with = " --sysroot " + tree.string() + " --journal " + journal.string();
    int status = 0;
    for (const char* full : {"51300000", "51200000", "51100000"}) {
        std::ofstream(tree / "sys/class/power_supply/BAT0/energy_full") << full << "\n";
        const std::string out = run("--record" + with, &status);
        EXPECT_EQ(status, 0) << out;
    }
    const std::string json = run("--history --format json" + with, &status);
    EXPECT_EQ(status, 0);
    const History h = historyFromJson(json);
    ASSERT_EQ(h.battery.size(), 3u) << json;
    EXPECT_GT(h.battery[0].fullCapacity, h.battery[1].fullCapacity);
    EXPECT_GT(h.battery[1].fullCapacity, h.battery[2].fullCapacity);
    EXPECT_NE(json.find("\"reason\": \"Needs a month of history\""), std::string::npos);

    run("--capture " + (dir / "capture").string() + " --samples 1" + with, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(historyFromJson(
                  run("--history --format json --replay " + (dir / "capture").string(), &status)),
              h);
    EXPECT_NE(run("--history --format csv" + with, &status).find("battery,"), std::string::npos);

    run("--capture " + (dir / "bare").string() + " --samples 1 --no-journal" + with, &status);
    EXPECT_TRUE(fs::exists(dir / "bare" / "live.json") && !fs::exists(dir / "bare/journal.json"));

    // Where the journal cannot be written, the recording fails and says why: a directory that
    // cannot be made, and one that is read-only (as nobody, when the tests run as root).
    fs::create_directories(dir / "readonly");
    fs::permissions(dir, fs::perms::all);
    fs::permissions(dir / "readonly", fs::perms::owner_read | fs::perms::owner_exec |
                                          fs::perms::group_read | fs::perms::group_exec |
                                          fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(tree, fs::perms::all);
    const std::string nobody =
        ::geteuid() == 0 ? "--reuid=65534 --regid=65534 --clear-groups " : "";
    const std::string readonly = (dir / "readonly" / "journal.sqlite").string();
    for (const auto& [as, file, why] :
         {std::tuple{"", "/proc/orvane/journal.sqlite", "cannot create /proc/orvane"},
          {nobody.empty() ? "" : "setpriv", readonly.c_str(), "unable to open"}}) {
        const std::string prefix = *as ? std::string(as) + " " + nobody : "";
        const std::string out =
            run("--record --sysroot " + tree.string() + " --journal " + file, &status, prefix);
        EXPECT_NE(out.find(why), std::string::npos) << out;
        EXPECT_EQ(status, 1) << out;
    }

    run("--forget" + with, &status);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(fs::exists(journal));
}
#endif
