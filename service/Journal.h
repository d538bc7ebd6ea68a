// The journal of health over time: one SQLite file per user holding the battery's wear and each
// volume's use, one row per observation. Only changes and one point a day are stored, so a year
// is a few hundred kilobytes. Points belong to a machine, named by a salted hash of a stable id
// of it (never a serial number in clear); a replaced battery or a clock that jumped back starts
// a fresh curve, and a trend uses only the newest one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/Records.h"
#include "service/Sqlite.h"
#include "service/platform/Platform.h"

namespace orvane {

// One observation of the battery.
struct BatteryPoint {
    std::int64_t time = 0;   // seconds since 1970, UTC
    std::int64_t curve = 0;  // changes where the battery was replaced or the clock jumped back
    std::string battery;     // salted hash of its serial and design capacity
    std::int64_t designCapacity = 0;  // mAh
    std::int64_t fullCapacity = 0;    // mAh
    std::int64_t cycleCount = 0;
    double healthPercent = 0;
    std::string condition;
    std::optional<double> temperature;  // degrees Celsius
    bool operator==(const BatteryPoint&) const = default;
};

// One observation of a volume, named by its mount point.
struct VolumePoint {
    std::int64_t time = 0;
    std::int64_t curve = 0;  // changes where the volume's size changed or the clock jumped back
    std::string volume;
    std::string name;
    std::int64_t totalBytes = 0;
    std::int64_t freeBytes = 0;
    std::int64_t usedBytes() const { return totalBytes - freeBytes; }
    bool operator==(const VolumePoint&) const = default;
};

// One machine's points, each list in the order they were recorded.
struct History {
    std::string machine;
    std::vector<BatteryPoint> battery;
    std::vector<VolumePoint> volumes;

    bool empty() const { return battery.empty() && volumes.empty(); }
    // The battery's points since its curve last started afresh.
    std::vector<BatteryPoint> currentBattery() const;
    // The volumes, in the order first seen, and one volume's points of its newest curve.
    std::vector<std::string> volumeNames() const;
    std::vector<VolumePoint> currentVolume(const std::string& volume) const;
    bool operator==(const History&) const = default;
};

// The journal as one JSON document (a capture's "journal.json"), and back. Reading is
// lenient: an entry that is not an object or lacks its time is skipped; text that is not such
// a document gives an empty history.
std::string historyToJson(const History& history);
History historyFromJson(std::string_view text);
// The capture's journal in `dir`, when it holds one.
std::optional<History> historyOfCapture(const std::filesystem::path& dir);

// Where the journal lives: $XDG_STATE_HOME/orvane (~/.local/state/orvane) on Linux,
// ~/Library/Application Support/Orvane on a Mac; empty when there is no home directory.
std::filesystem::path defaultJournalPath();

// A stable id of the machine: /etc/machine-id under `root` where there is one, else the
// hardware serial number (a Mac's), else the host name. Hashed before it is stored.
std::string stableMachineId(const std::filesystem::path& root, const Platform& platform);

struct JournalOptions {
    // The file never grows beyond this; a write that would is refused like one to a full disk.
    std::int64_t maxBytes = std::int64_t{64} << 20;
    // How long a writer waits for another one (the app and the timer) before giving up.
    int busyTimeoutMs = 5000;
};

// What one recording did.
struct RecordResult {
    bool ok = false;
    int stored = 0;     // points written: the battery's and the volumes'
    std::string error;  // why nothing was written, when not ok
};

class Journal {
  public:
    // Opens the journal at `path`, creating it and its directory when missing. A file that is
    // corrupt or of a newer schema is moved aside under a dated name and a fresh one started;
    // notice() says so. Nothing (with `error` set) when it cannot be opened or created.
    static std::unique_ptr<Journal> open(const std::filesystem::path& path,
                                         const std::string& stableId, const JournalOptions& options,
                                         std::string* error);
    static std::unique_ptr<Journal> open(const std::filesystem::path& path,
                                         const std::string& stableId, std::string* error) {
        return open(path, stableId, JournalOptions{}, error);
    }

    // Stores what changed since the last point (or the first point of a new UTC day) of the
    // battery, when one is present, and of each volume of known size: all of it, or nothing.
    RecordResult record(const BatteryInfo& battery, const std::vector<VolumeInfo>& volumes,
                        std::int64_t now);
    // This machine's points.
    History history();

    const std::filesystem::path& path() const { return path_; }
    const std::string& machine() const { return machine_; }
    // One line, when the file found was moved aside at opening; else empty.
    const std::string& notice() const { return notice_; }

    // Deletes the journal at `path` with its write-ahead log. Empty, or why it could not.
    static std::string forget(const std::filesystem::path& path);

    // The schema this build writes (PRAGMA user_version).
    static constexpr int kSchemaVersion = 1;

  private:
    Journal() = default;
    std::string hashed(const std::string& id) const;

    sqlite::Database db_;
    std::filesystem::path path_;
    std::string salt_;
    std::string machine_;
    std::string notice_;
};

}  // namespace orvane
