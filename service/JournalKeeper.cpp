#include "service/JournalKeeper.h"

#include <ctime>

#include "service/platform/ReplayPlatform.h"

namespace orvane {

namespace fs = std::filesystem;

JournalKeeper::JournalKeeper(Options options) : options_(std::move(options)) {}

std::shared_ptr<JournalKeeper> JournalKeeper::ofCapture(fs::path dir) {
    std::shared_ptr<JournalKeeper> k(new JournalKeeper);
    k->options_.record = false;
    k->capture_ = std::move(dir);
    return k;
}

std::shared_ptr<JournalKeeper> JournalKeeper::forPlatform(std::shared_ptr<const Platform> platform,
                                                          const fs::path& root, Options options) {
    if (const auto* replay = dynamic_cast<const ReplayPlatform*>(platform.get()))
        return ofCapture(replay->dir());
    if (!options.stableId)
        options.stableId = [platform, root] { return stableMachineId(root, *platform); };
    return std::make_shared<JournalKeeper>(std::move(options));
}

JournalState JournalKeeper::state(History history) const {
    return {std::move(history), options_.record, capture_.has_value(), options_.readOnly};
}

std::unique_ptr<Journal> JournalKeeper::open(bool create, std::vector<JournalNotice>& notices) {
    std::error_code ec;
    if (!create && !fs::exists(options_.journal, ec)) return nullptr;
    if (stableId_.empty() && options_.stableId) stableId_ = options_.stableId();
    std::string error;
    auto journal = Journal::open(options_.journal, stableId_, options_.journalOptions, &error);
    if (journal && !journal->notice().empty())
        notices.push_back({JournalNotice::Kind::movedAside, journal->notice()});
    if (!journal && create && !faultSaid_) {
        faultSaid_ = true;
        notices.push_back({JournalNotice::Kind::notRecorded, error});
    }
    return journal;
}

JournalKeeper::Update JournalKeeper::collected(const BatteryInfo& battery,
                                               const std::vector<VolumeInfo>& volumes) {
    Update u;
    if (capture_) {
        if (!shown_) u.state = state(historyOfCapture(*capture_).value_or(History{}));
        shown_ = true;
        return u;
    }
    const std::int64_t now = options_.clock ? options_.clock() : std::time(nullptr);
    const bool due =
        options_.record && !options_.readOnly &&
        (!lastAttempt_ || now >= *lastAttempt_ + options_.interval || now < *lastAttempt_);
    if (!due && shown_) return u;
    shown_ = true;
    if (due) {
        // Counted before trying: a journal that cannot be written is tried again an interval
        // later, not after every collection.
        lastAttempt_ = now;
        ++attempts_;
    }
    std::unique_ptr<Journal> journal = open(due, u.notices);
    if (journal && due) {
        const RecordResult r = journal->record(battery, volumes, now);
        if (r.ok) {
            faultSaid_ = false;
        } else if (!faultSaid_) {
            faultSaid_ = true;
            u.notices.push_back({JournalNotice::Kind::notRecorded, r.error});
        }
    }
    u.state = state(journal ? journal->history() : History{});
    return u;
}

JournalKeeper::Update JournalKeeper::setRecording(bool on) {
    Update u;
    if (capture_ || on == options_.record) return u;
    options_.record = on;
    std::unique_ptr<Journal> journal = open(false, u.notices);
    u.state = state(journal ? journal->history() : History{});
    return u;
}

JournalKeeper::Update JournalKeeper::forget() {
    Update u;
    if (capture_) return u;
    if (const std::string error = Journal::forget(options_.journal); !error.empty()) {
        u.notices.push_back({JournalNotice::Kind::notCleared, error});
        std::vector<JournalNotice> ignored;
        std::unique_ptr<Journal> journal = open(false, ignored);
        u.state = state(journal ? journal->history() : History{});
        return u;
    }
    u.state = state({});
    return u;
}

}  // namespace orvane
