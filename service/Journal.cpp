#include "service/Journal.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>

#include "service/Collectors.h"
#include "service/Sha256.h"
#include "service/platform/ReplayPlatform.h"

namespace orvane {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Each step brings the schema from the version before it to its own (index + 1).
const char* const kMigrations[] = {
    R"sql(
    CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
    CREATE TABLE battery(
        id INTEGER PRIMARY KEY, time INTEGER NOT NULL, machine TEXT NOT NULL,
        curve INTEGER NOT NULL, battery TEXT NOT NULL, design_mah INTEGER, full_mah INTEGER,
        cycles INTEGER, health REAL, condition TEXT, temperature REAL);
    CREATE INDEX battery_by_machine ON battery(machine, id);
    CREATE TABLE volume(
        id INTEGER PRIMARY KEY, time INTEGER NOT NULL, machine TEXT NOT NULL,
        curve INTEGER NOT NULL, volume TEXT NOT NULL, name TEXT, total_bytes INTEGER,
        free_bytes INTEGER);
    CREATE INDEX volume_by_machine ON volume(machine, volume, id);
    )sql",
};
static_assert(std::size(kMigrations) == Journal::kSchemaVersion);

constexpr std::int64_t kDay = 86400;
// A clock set back by less than this (a time-server correction) keeps the curve.
constexpr std::int64_t kClockJumpBack = 600;

bool isCorrupt(int rc) {
    return rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB;
}

std::string utcText(std::int64_t t, const char* format) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (!gmtime_r(&tt, &tm)) return {};
    char buf[32];
    return std::strftime(buf, sizeof buf, format, &tm) ? buf : "";
}

std::optional<std::int64_t> parseUtc(const std::string& s) {
    std::tm tm{};
    int consumed = 0;
    if (std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2dZ%n", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                    &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &consumed) != 6 ||
        consumed != static_cast<int>(s.size()))
        return std::nullopt;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    return static_cast<std::int64_t>(timegm(&tm));
}

fs::path withSuffix(const fs::path& p, const char* suffix) {
    return fs::path(p.string() + suffix);
}

// Moves a database that cannot be used aside, with its write-ahead log, under a dated name
// next to it; the name it got.
fs::path moveAside(const fs::path& path) {
    const std::string stamp = utcText(std::time(nullptr), "%Y%m%d-%H%M%S");
    fs::path aside;
    for (int n = 0;; ++n) {
        aside =
            path.parent_path() / (path.stem().string() + ".corrupt-" + stamp +
                                  (n ? "-" + std::to_string(n) : "") + path.extension().string());
        if (!fs::exists(aside)) break;
    }
    std::error_code ec;
    fs::rename(path, aside, ec);
    fs::rename(withSuffix(path, "-wal"), withSuffix(aside, "-wal"), ec);
    fs::remove(withSuffix(path, "-shm"), ec);
    return aside;
}

enum class Opened { ok, corrupt, failed };

struct Attempt {
    Opened state = Opened::failed;
    std::string why;
};

Attempt failure(Opened state, std::string why) {
    return {state, std::move(why)};
}

// Opens the file and brings its schema up to date inside one write transaction, so that two
// programs creating it at once do it once.
Attempt openAndMigrate(sqlite::Database& db, const fs::path& path, const JournalOptions& o) {
    int rc = db.open(path.string(), true);
    auto classify = [&](int code) {
        return failure(isCorrupt(code) ? Opened::corrupt : Opened::failed, db.message());
    };
    if (rc != SQLITE_OK) return classify(rc);
    db.busyTimeout(o.busyTimeoutMs);
    {
        sqlite::Statement wal(db, "PRAGMA journal_mode=WAL");
        if (rc = wal.step(); rc != SQLITE_ROW) return classify(rc);
    }
    // With a write-ahead log this cannot corrupt the file; a power cut may lose the last point.
    db.exec("PRAGMA synchronous=NORMAL");
    {
        sqlite::Statement check(db, "PRAGMA quick_check(1)");
        if (rc = check.step(); rc != SQLITE_ROW) return classify(rc);
        if (check.text(0) != "ok") return failure(Opened::corrupt, check.text(0));
    }
    if (rc = db.exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) return classify(rc);
    const std::int64_t version = db.integer("PRAGMA user_version").value_or(0);
    if (version > Journal::kSchemaVersion) {
        db.exec("ROLLBACK");
        return failure(Opened::corrupt,
                       "written by a newer Orvane (schema " + std::to_string(version) + ")");
    }
    for (std::int64_t v = version; v < Journal::kSchemaVersion; ++v)
        if (rc = db.exec(kMigrations[v]); rc != SQLITE_OK) {
            Attempt a = classify(rc);
            db.exec("ROLLBACK");
            return a;
        }
    const std::string setVersion =
        "PRAGMA user_version = " + std::to_string(Journal::kSchemaVersion);
    if (version < Journal::kSchemaVersion) db.exec(setVersion.c_str());
    db.exec("INSERT OR IGNORE INTO meta(key, value) VALUES('salt', hex(randomblob(16)))");
    if (rc = db.exec("COMMIT"); rc != SQLITE_OK) {
        Attempt a = classify(rc);
        db.exec("ROLLBACK");
        return a;
    }
    // A size cap in pages, as a quota the disk itself may impose sooner.
    const std::int64_t pageSize = db.integer("PRAGMA page_size").value_or(4096);
    const std::string cap = "PRAGMA max_page_count = " +
                            std::to_string(std::max<std::int64_t>(o.maxBytes / pageSize, 1));
    db.exec(cap.c_str());
    return {Opened::ok, {}};
}

BatteryPoint batteryRow(const sqlite::Statement& s) {
    return {s.integer(0), s.integer(1), s.text(2), s.integer(3),         s.integer(4),
            s.integer(5), s.real(6),    s.text(7), s.optional<double>(8)};
}

VolumePoint volumeRow(const sqlite::Statement& s) {
    return {s.integer(0), s.integer(1), s.text(2), s.text(3), s.integer(4), s.integer(5)};
}

// Whether a point goes in, and on which curve, given the series' last point.
struct Placement {
    bool store = false;
    std::int64_t curve = 1;
};

template <typename Point>
Placement place(const std::optional<Point>& last, std::int64_t now, bool sameThing, bool changed) {
    if (!last) return {true, 1};
    if (!sameThing || now < last->time - kClockJumpBack) return {true, last->curve + 1};
    const bool newDay = now / kDay != last->time / kDay;
    return {changed || newDay, last->curve};
}

}  // namespace

// ---- history ------------------------------------------------------------------------------

std::vector<BatteryPoint> History::currentBattery() const {
    if (battery.empty()) return {};
    std::vector<BatteryPoint> out;
    for (const BatteryPoint& p : battery)
        if (p.curve == battery.back().curve) out.push_back(p);
    return out;
}

std::vector<std::string> History::volumeNames() const {
    std::vector<std::string> out;
    for (const VolumePoint& p : volumes)
        if (std::find(out.begin(), out.end(), p.volume) == out.end()) out.push_back(p.volume);
    return out;
}

std::vector<VolumePoint> History::currentVolume(const std::string& volume) const {
    std::vector<VolumePoint> out;
    for (const VolumePoint& p : volumes)
        if (p.volume == volume) {
            if (!out.empty() && out.back().curve != p.curve) out.clear();
            out.push_back(p);
        }
    return out;
}

std::string historyToJson(const History& h) {
    json battery = json::array(), volumes = json::array();
    for (const BatteryPoint& p : h.battery) {
        json j = {{"time", utcText(p.time, "%Y-%m-%dT%H:%M:%SZ")},
                  {"curve", p.curve},
                  {"battery", p.battery},
                  {"designCapacity", p.designCapacity},
                  {"fullCapacity", p.fullCapacity},
                  {"cycleCount", p.cycleCount},
                  {"healthPercent", p.healthPercent},
                  {"condition", p.condition}};
        if (p.temperature) j["temperature"] = *p.temperature;
        battery.push_back(std::move(j));
    }
    for (const VolumePoint& p : h.volumes)
        volumes.push_back({{"time", utcText(p.time, "%Y-%m-%dT%H:%M:%SZ")},
                           {"curve", p.curve},
                           {"volume", p.volume},
                           {"name", p.name},
                           {"totalBytes", p.totalBytes},
                           {"freeBytes", p.freeBytes}});
    const json doc = {
        {"version", 1}, {"machine", h.machine}, {"battery", battery}, {"volumes", volumes}};
    return doc.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
}

History historyFromJson(std::string_view text) {
    History h;
    const json doc = json::parse(text, nullptr, false);
    if (!doc.is_object()) return h;
    auto str = [](const json& o, const char* key) {
        const auto it = o.find(key);
        return it != o.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    auto num = [](const json& o, const char* key) -> std::optional<double> {
        const auto it = o.find(key);
        if (it == o.end() || !it->is_number()) return std::nullopt;
        const double v = it->get<double>();
        return std::isfinite(v) ? std::optional(v) : std::nullopt;
    };
    // Counts and sizes are never negative, and small enough that a difference of two fits.
    auto integer = [&](const json& o, const char* key) {
        const double v = num(o, key).value_or(0);
        return v >= 0 && v < 4e18 ? static_cast<std::int64_t>(v) : 0;
    };
    // Health beyond these bounds is no reading: it would only skew a fit.
    auto health = [&](const json& o) {
        const double v = num(o, "healthPercent").value_or(0);
        return v >= 0 && v <= 1000 ? v : 0;
    };
    h.machine = str(doc, "machine");
    auto each = [&](const char* key, auto add) {
        const auto it = doc.find(key);
        if (it == doc.end() || !it->is_array()) return;
        for (const json& o : *it) {
            if (!o.is_object()) continue;
            if (const auto t = parseUtc(str(o, "time"))) add(o, *t);
        }
    };
    each("battery", [&](const json& o, std::int64_t t) {
        h.battery.push_back({t, integer(o, "curve"), str(o, "battery"),
                             integer(o, "designCapacity"), integer(o, "fullCapacity"),
                             integer(o, "cycleCount"), health(o), str(o, "condition"),
                             num(o, "temperature")});
    });
    each("volumes", [&](const json& o, std::int64_t t) {
        h.volumes.push_back({t, integer(o, "curve"), str(o, "volume"), str(o, "name"),
                             integer(o, "totalBytes"), integer(o, "freeBytes")});
    });
    return h;
}

std::optional<History> historyOfCapture(const fs::path& dir) {
    const auto bytes = readCaptureFile(dir / "journal.json");
    if (!bytes) return std::nullopt;
    return historyFromJson(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

// ---- where and who ------------------------------------------------------------------------

fs::path defaultJournalPath() {
    const char* home = std::getenv("HOME");
#if defined(__APPLE__)
    if (!home || !*home) return {};
    return fs::path(home) / "Library" / "Application Support" / "Orvane" / "journal.sqlite";
#else
    const char* state = std::getenv("XDG_STATE_HOME");
    // XDG_STATE_HOME holding a relative path is to be ignored, as the XDG base directories say.
    if (state && *state == '/') return fs::path(state) / "orvane" / "journal.sqlite";
    if (!home || !*home) return {};
    return fs::path(home) / ".local" / "state" / "orvane" / "journal.sqlite";
#endif
}

std::string stableMachineId(const fs::path& root, const Platform& platform) {
    for (const char* file : {"etc/machine-id", "var/lib/dbus/machine-id"}) {
        std::ifstream in(root / file);
        std::string id;
        // 32 lower-case hex digits; "uninitialized" or an empty file during first boot.
        if (in >> id && id.size() == 32 &&
            id.find_first_not_of("0123456789abcdef") == std::string::npos)
            return "machine-id:" + id;
    }
    const HardwareInfo hardware = collectHardware(platform.hardware());
    if (!hardware.serialNumber.empty()) return "serial:" + hardware.serialNumber;
    return "host:" + hardware.hostname;
}

// ---- the journal --------------------------------------------------------------------------

std::unique_ptr<Journal> Journal::open(const fs::path& path, const std::string& stableId,
                                       const JournalOptions& options, std::string* error) {
    auto fail = [&](const std::string& why) -> std::unique_ptr<Journal> {
        if (error) *error = why;
        return nullptr;
    };
    if (path.empty()) return fail("no place for the journal: HOME is not set");
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    if (ec) return fail("cannot create " + path.parent_path().string() + ": " + ec.message());

    std::unique_ptr<Journal> j(new Journal);
    j->path_ = path;
    Attempt a = openAndMigrate(j->db_, path, options);
    if (a.state == Opened::corrupt) {
        j->db_.close();
        const fs::path aside = moveAside(path);
        j->notice_ = "The journal " + path.string() + " could not be read (" + a.why +
                     "): moved aside to " + aside.filename().string() + ", a fresh one started";
        a = openAndMigrate(j->db_, path, options);
    }
    if (a.state != Opened::ok)
        return fail("cannot open the journal " + path.string() + ": " + a.why);
    j->salt_ = j->db_.text("SELECT value FROM meta WHERE key = 'salt'").value_or("");
    j->machine_ = j->hashed(stableId);
    return j;
}

std::string Journal::hashed(const std::string& id) const {
    return sha256Hex(salt_ + "\n" + id).substr(0, 16);
}

RecordResult Journal::record(const BatteryInfo& battery, const std::vector<VolumeInfo>& volumes,
                             std::int64_t now) {
    RecordResult r;
    auto fail = [&](int) {
        r.error = "cannot record into " + path_.string() + ": " + db_.message();
        r.stored = 0;
        db_.exec("ROLLBACK");
        return r;
    };
    if (int rc = db_.exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) return fail(rc);

    // A value the battery did not state is stored as 0, as before it was told apart.
    const std::int64_t designMah = battery.designCapacity.value_or(0);
    const std::int64_t fullMah = battery.maxCapacity.value_or(0);
    const std::int64_t cycles = battery.cycleCount.value_or(0);
    const double health = battery.healthPercent.value_or(0);
    if (battery.present && (fullMah > 0 || health > 0)) {
        const std::string id =
            hashed("battery:" + battery.serial + ":" + std::to_string(designMah));
        sqlite::Statement last(db_,
                               "SELECT time, curve, battery, design_mah, full_mah, cycles, health,"
                               " condition, temperature FROM battery WHERE machine = ?"
                               " ORDER BY id DESC LIMIT 1");
        last.bind(1, machine_);
        std::optional<BatteryPoint> prev;
        if (int rc = last.step(); rc == SQLITE_ROW)
            prev = batteryRow(last);
        else if (rc != SQLITE_DONE)
            return fail(rc);
        const bool changed = prev && (prev->fullCapacity != fullMah || prev->cycleCount != cycles ||
                                      std::abs(prev->healthPercent - health) >= 0.05 ||
                                      prev->condition != battery.condition);
        const Placement at = place(prev, now, prev && prev->battery == id, changed);
        if (at.store) {
            sqlite::Statement ins(db_,
                                  "INSERT INTO battery(time, machine, curve, battery, design_mah,"
                                  " full_mah, cycles, health, condition, temperature)"
                                  " VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            ins.bind(1, now).bind(2, machine_).bind(3, at.curve).bind(4, id);
            ins.bind(5, designMah).bind(6, fullMah);
            ins.bind(7, cycles).bind(8, health);
            ins.bind(9, battery.condition);
            ins.bind(10, battery.temperature);
            if (int rc = ins.step(); rc != SQLITE_DONE) return fail(rc);
            ++r.stored;
        }
    }

    for (const VolumeInfo& v : volumes) {
        if (v.totalBytes <= 0 || v.mountPoint.empty()) continue;
        sqlite::Statement last(db_,
                               "SELECT time, curve, volume, name, total_bytes, free_bytes FROM"
                               " volume WHERE machine = ? AND volume = ? ORDER BY id DESC LIMIT 1");
        last.bind(1, machine_).bind(2, v.mountPoint);
        std::optional<VolumePoint> prev;
        if (int rc = last.step(); rc == SQLITE_ROW)
            prev = volumeRow(last);
        else if (rc != SQLITE_DONE)
            return fail(rc);
        // A change of a hundredth of the volume counts; a resized volume starts afresh.
        const bool changed =
            prev &&
            (std::abs(prev->freeBytes - v.freeBytes) >= v.totalBytes / 100 || prev->name != v.name);
        const Placement at = place(prev, now, prev && prev->totalBytes == v.totalBytes, changed);
        if (!at.store) continue;
        sqlite::Statement ins(db_,
                              "INSERT INTO volume(time, machine, curve, volume, name, total_bytes,"
                              " free_bytes) VALUES(?, ?, ?, ?, ?, ?, ?)");
        ins.bind(1, now).bind(2, machine_).bind(3, at.curve).bind(4, v.mountPoint);
        ins.bind(5, v.name).bind(6, v.totalBytes).bind(7, std::max<std::int64_t>(v.freeBytes, 0));
        if (int rc = ins.step(); rc != SQLITE_DONE) return fail(rc);
        ++r.stored;
    }
    if (int rc = db_.exec("COMMIT"); rc != SQLITE_OK) return fail(rc);
    r.ok = true;
    return r;
}

History Journal::history() {
    History h;
    h.machine = machine_;
    sqlite::Statement b(db_,
                        "SELECT time, curve, battery, design_mah, full_mah, cycles, health,"
                        " condition, temperature FROM battery WHERE machine = ? ORDER BY id");
    b.bind(1, machine_);
    while (b.step() == SQLITE_ROW)
        h.battery.push_back(batteryRow(b));
    sqlite::Statement v(db_,
                        "SELECT time, curve, volume, name, total_bytes, free_bytes FROM volume"
                        " WHERE machine = ? ORDER BY id");
    v.bind(1, machine_);
    while (v.step() == SQLITE_ROW)
        h.volumes.push_back(volumeRow(v));
    return h;
}

std::string Journal::forget(const fs::path& path) {
    if (path.empty()) return "no place for the journal: HOME is not set";
    std::error_code ec;
    for (const char* suffix : {"-wal", "-shm", ""}) {
        fs::remove(withSuffix(path, suffix), ec);
        if (ec) return "cannot delete " + withSuffix(path, suffix).string() + ": " + ec.message();
    }
    return {};
}

}  // namespace orvane
