// The health history one service shows. For this machine it records the battery and the volumes
// into the journal after a collection, at start and then at most once an interval, and reads the
// points back; a capture's journal.json is only read, never recorded into, so a replayed machine
// never writes into the user's journal. Used on one thread at a time: the service's collect queue.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "service/Journal.h"
#include "service/Records.h"
#include "service/platform/Platform.h"

namespace orvane {

// What the pages show of the journal.
struct JournalState {
    History history;
    bool recording = false;  // this machine's points are being recorded
    bool capture = false;    // the points are a capture's, only shown
    bool readOnly = false;   // this run only reads (a screenshot run, another root)
    bool operator==(const JournalState&) const = default;
};

// Something the user is told about the journal, once.
struct JournalNotice {
    enum class Kind { movedAside, notRecorded, notCleared };
    Kind kind = Kind::notRecorded;
    std::string detail;  // one line, from the journal
    bool operator==(const JournalNotice&) const = default;
};

class JournalKeeper {
  public:
    // Seconds since 1970, UTC.
    using Clock = std::function<std::int64_t()>;

    struct Options {
        std::filesystem::path journal;
        // The machine's stable id, asked for (on the queue) when the journal is first opened.
        std::function<std::string()> stableId;
        bool record = true;
        bool readOnly = false;  // never records, whatever `record` says
        std::int64_t interval = 3600;
        Clock clock;  // the system's clock when empty
        JournalOptions journalOptions;
    };

    // What a step changed: the state to publish when it changed, and what to tell the user.
    struct Update {
        std::optional<JournalState> state;
        std::vector<JournalNotice> notices;
    };

    // This machine's journal at `options.journal`.
    explicit JournalKeeper(Options options);
    // A capture's journal.json in `dir`: shown, never recorded into.
    static std::shared_ptr<JournalKeeper> ofCapture(std::filesystem::path dir);
    // The keeper for a service of `platform`: the capture's for a replayed machine, else this
    // machine's journal (`options.record` off: only read, when the file exists).
    static std::shared_ptr<JournalKeeper> forPlatform(std::shared_ptr<const Platform> platform,
                                                      const std::filesystem::path& root,
                                                      Options options);

    // After a collection: records when due (the first time, then once `interval` has passed or
    // the clock went back), and gives the points when they may have changed.
    Update collected(const BatteryInfo& battery, const std::vector<VolumeInfo>& volumes);
    // Recording switched on or off; switched on, the next collection records when due.
    Update setRecording(bool on);
    // Deletes the journal ("Clear History…"); recording goes on at its next due time.
    Update forget();

    // Whether the points are a capture's.
    bool capture() const { return capture_.has_value(); }
    // How many recordings were attempted.
    int attempts() const { return attempts_; }

  private:
    JournalKeeper() = default;
    std::unique_ptr<Journal> open(bool create, std::vector<JournalNotice>& notices);
    JournalState state(History history) const;

    Options options_;
    std::optional<std::filesystem::path> capture_;
    std::optional<std::int64_t> lastAttempt_;
    bool shown_ = false;
    // A fault already said: later ones are not, until a recording succeeds again.
    bool faultSaid_ = false;
    std::string stableId_;
    int attempts_ = 0;
};

}  // namespace orvane
