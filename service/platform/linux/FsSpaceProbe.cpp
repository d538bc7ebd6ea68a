#include "service/platform/linux/FsSpaceProbe.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

namespace orvane {

struct FsSpaceProbe::State {
    std::mutex mutex;
    std::condition_variable answered;
    std::set<std::string> running;  // paths whose query has not returned yet
};

namespace {

// The answers of one call, shared with the query threads, which may outlive the call.
struct Batch {
    std::vector<std::optional<FsSpace>> answers;
    std::size_t outstanding = 0;
};

}  // namespace

FsSpaceProbe::FsSpaceProbe(FsSpaceFunction query, std::chrono::milliseconds timeout)
    : query_(std::move(query)), timeout_(timeout), state_(std::make_shared<State>()) {}

std::vector<std::optional<FsSpace>> FsSpaceProbe::query(
    const std::vector<std::string>& paths) const {
    auto batch = std::make_shared<Batch>();
    batch->answers.resize(paths.size());
    if (!query_) return batch->answers;

    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    std::unique_lock lock(state_->mutex);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!state_->running.insert(paths[i]).second) continue;  // still hanging
        ++batch->outstanding;
        try {
            std::thread([state = state_, batch, query = query_, path = paths[i], i] {
                std::optional<FsSpace> answer;
                try {
                    answer = query(path);
                } catch (...) {
                    answer.reset();
                }
                std::lock_guard guard(state->mutex);
                batch->answers[i] = answer;
                --batch->outstanding;
                state->running.erase(path);
                state->answered.notify_all();
            }).detach();
        } catch (const std::system_error&) {
            // No thread to be had: this path goes without a size this time.
            --batch->outstanding;
            state_->running.erase(paths[i]);
        }
    }
    state_->answered.wait_until(lock, deadline, [&] { return batch->outstanding == 0; });
    // Late answers land in the shared batch, which nobody reads any more.
    return batch->answers;
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
