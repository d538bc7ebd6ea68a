// Reads the small text files of /proc, /sys, /dev and /etc under a root directory, so the
// same code reads the running machine (root "/") or a fake tree in the tests. Every read is
// bounded in size, refuses anything but regular files (a FIFO or a device would block or never
// end) and answers "nothing" on any failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class SysFs {
  public:
    // Largest amount read from one file unless the caller says otherwise.
    static constexpr std::size_t kMaxFileBytes = 1 << 20;

    explicit SysFs(std::filesystem::path root = "/");

    const std::filesystem::path& root() const { return root_; }
    // True when the root is the running machine's own root directory.
    bool isHostRoot() const { return hostRoot_; }

    // `rel` ("sys/class/drm" or "/sys/class/drm") under the root.
    std::filesystem::path path(std::string_view rel) const;

    // Replaces `out` with the first `cap` bytes of the regular file at the absolute path
    // `file`. False (and `out` empty) when it cannot be read. Reuses `out`'s storage.
    static bool readAbsolute(const char* file, std::string& out, std::size_t cap = kMaxFileBytes);

    // Content of a regular file under the root, at most `cap` bytes.
    std::optional<std::string> read(std::string_view rel, std::size_t cap = kMaxFileBytes) const;
    // The same, trimmed of white space at both ends (sysfs values end in a newline).
    std::optional<std::string> text(std::string_view rel) const;
    // A trimmed decimal integer; nothing when the file does not hold exactly one.
    std::optional<std::int64_t> integer(std::string_view rel) const;

    bool exists(std::string_view rel) const;
    // Names in a directory, sorted; empty when it cannot be listed.
    std::vector<std::string> list(std::string_view rel) const;
    // Target of a symbolic link, as stored.
    std::optional<std::string> linkTarget(std::string_view rel) const;
    // Where `rel` leads once every link is followed, as a path under the root ("/sys/devices/…");
    // nothing when it does not exist or leads outside the root.
    std::optional<std::string> resolve(std::string_view rel) const;

  private:
    std::filesystem::path root_;
    bool hostRoot_ = false;
};

}  // namespace orvane
