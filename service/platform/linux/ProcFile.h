// A /proc file kept open and read again from its start on every call: the kernel produces
// fresh content for each read from offset 0, and rereading an open file costs about half of
// opening it anew. Used for the counters read every second.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>

namespace orvane {

class ProcFile {
  public:
    explicit ProcFile(std::string path) : path_(std::move(path)) {}
    ~ProcFile();
    ProcFile(const ProcFile&) = delete;
    ProcFile& operator=(const ProcFile&) = delete;

    // Replaces `out` with the file's content, at most `cap` bytes. False (and `out` empty)
    // when the file cannot be opened or read, or is not a regular file; the next call then
    // tries to open it again. Safe to call from several threads.
    bool read(std::string& out, std::size_t cap);

  private:
    const std::string path_;
    std::mutex mutex_;
    int fd_ = -1;
};

}  // namespace orvane
