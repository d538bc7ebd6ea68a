// Size and free space of mounted filesystems, asked with a deadline: a query that hangs (a
// dead network or FUSE server, a failing disk) must not stall the collection. Each query runs
// on a thread of its own; one that has not answered by the deadline is left behind, and its
// mount point is skipped until that query has returned. Callers asking for a path whose
// query is already running (and not yet overdue) wait for that same query.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

struct FsSpace {
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;  // what an unprivileged user can still write
    bool operator==(const FsSpace&) const = default;
};

// Size of the filesystem mounted at a path; nothing when it cannot be asked.
using FsSpaceFunction = std::function<std::optional<FsSpace>(const std::string& path)>;

class FsSpaceProbe {
  public:
    FsSpaceProbe(FsSpaceFunction query, std::chrono::milliseconds timeout);

    // One answer per path, in order; empty where the query failed, did not answer within the
    // timeout, or an earlier query of the same path has been running longer than that.
    std::vector<std::optional<FsSpace>> query(const std::vector<std::string>& paths) const;

    // statvfs: total = blocks × fragment size, free = blocks available to users × fragment
    // size. Nothing for a path that is not a directory (a bind-mounted file).
    static std::optional<FsSpace> statvfsSpace(const std::string& path);

  private:
    struct State;
    FsSpaceFunction query_;
    std::chrono::milliseconds timeout_;
    std::shared_ptr<State> state_;
};

}  // namespace orvane
