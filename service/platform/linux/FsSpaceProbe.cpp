#include "service/platform/linux/FsSpaceProbe.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

namespace orvane {

namespace {

// One size query in flight, shared by every caller that waits for the same path and by the
// thread that runs it, which may outlive them all.
struct Pending {
    std::chrono::steady_clock::time_point started;
    bool done = false;
    std::optional<FsSpace> answer;
};

}  // namespace

struct FsSpaceProbe::State {
    std::mutex mutex;
    std::condition_variable answered;
    std::map<std::string, std::shared_ptr<Pending>> running;  // queries not returned yet
};

FsSpaceProbe::FsSpaceProbe(FsSpaceFunction query, std::chrono::milliseconds timeout)
    : query_(std::move(query)), timeout_(timeout), state_(std::make_shared<State>()) {}

std::vector<std::optional<FsSpace>> FsSpaceProbe::query(
    const std::vector<std::string>& paths) const {
    std::vector<std::optional<FsSpace>> answers(paths.size());
    if (!query_) return answers;

    const auto now = std::chrono::steady_clock::now();
    const auto deadline = now + timeout_;
    std::vector<std::shared_ptr<Pending>> waits(paths.size());
    std::unique_lock lock(state_->mutex);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (auto it = state_->running.find(paths[i]); it != state_->running.end()) {
            // Another caller's query of this path: wait for it too, unless it has already had
            // its time and hangs.
            if (now - it->second->started < timeout_) waits[i] = it->second;
            continue;
        }
        auto pending = std::make_shared<Pending>();
        pending->started = now;
        try {
            std::thread([state = state_, pending, query = query_, path = paths[i]] {
                std::optional<FsSpace> answer;
                try {
                    answer = query(path);
                } catch (...) {
                    answer.reset();
                }
                std::lock_guard guard(state->mutex);
                pending->answer = answer;
                pending->done = true;
                if (auto it = state->running.find(path);
                    it != state->running.end() && it->second == pending)
                    state->running.erase(it);
                state->answered.notify_all();
            }).detach();
        } catch (const std::system_error&) {
            continue;  // no thread to be had: this path goes without a size this time
        }
        state_->running.emplace(paths[i], pending);
        waits[i] = std::move(pending);
    }
    state_->answered.wait_until(lock, deadline, [&] {
        return std::all_of(waits.begin(), waits.end(),
                           [](const std::shared_ptr<Pending>& p) { return !p || p->done; });
    });
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (waits[i] && waits[i]->done) answers[i] = waits[i]->answer;
    return answers;
}

std::optional<FsSpace> FsSpaceProbe::statvfsSpace(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) != 0) return std::nullopt;
    FsSpace space;
    space.totalBytes = static_cast<std::uint64_t>(vfs.f_blocks) * vfs.f_frsize;
    space.freeBytes = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    return space;
}

}  // namespace orvane
