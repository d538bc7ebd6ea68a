// Helpers for the Linux platform tests: the fake trees, scratch trees written by a test and
// fixed filesystem sizes.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "service/platform/linux/LinuxPlatform.h"

namespace orvane::linux_test {

namespace fs = std::filesystem;

inline fs::path fixtureTree(const char* name) {
    return fs::path(ORVANE_FIXTURES) / "linux" / name;
}

// A directory tree written by a test and removed afterwards.
class ScratchTree {
  public:
    explicit ScratchTree(const std::string& tag) {
        static std::atomic<int> counter{0};
        root_ =
            fs::temp_directory_path() / ("orvane-linux-" + tag + "-" + std::to_string(::getpid()) +
                                         "-" + std::to_string(counter++));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~ScratchTree() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

    const fs::path& root() const { return root_; }

    // Files by path under the root, each with its content.
    void write(const std::map<std::string, std::string>& files) const {
        for (const auto& [rel, content] : files)
            write(rel, content);
    }
    void write(const std::string& rel, const std::string& content) const {
        const fs::path p = root_ / rel;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary | std::ios::trunc) << content;
    }
    void link(const std::string& rel, const std::string& target) const {
        const fs::path p = root_ / rel;
        fs::create_directories(p.parent_path());
        fs::create_symlink(target, p);
    }
    void fifo(const std::string& rel) const {
        const fs::path p = root_ / rel;
        fs::create_directories(p.parent_path());
        ::mkfifo(p.c_str(), 0600);
    }
    void dir(const std::string& rel) const { fs::create_directories(root_ / rel); }
    // Copies a fixture tree (links kept as links) into this one.
    void copyFrom(const fs::path& tree) const {
        fs::copy(tree, root_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }

  private:
    fs::path root_;
};

// Sizes by mount point; other mount points have none.
inline LinuxPlatformOptions fixedSizes(std::map<std::string, FsSpace> sizes) {
    LinuxPlatformOptions options;
    options.fsSpace = [sizes =
                           std::move(sizes)](const std::string& path) -> std::optional<FsSpace> {
        const auto it = sizes.find(path);
        if (it == sizes.end()) return std::nullopt;
        return it->second;
    };
    return options;
}

// Sizes for the mount points of the laptop tree.
inline std::map<std::string, FsSpace> laptopSizesForTests() {
    return {{"/", {500'000'000'000, 200'000'000'000}},
            {"/boot/efi", {500'000'000, 400'000'000}},
            {"/home", {1'000'000'000'000, 500'000'000'000}},
            {"/srv/projects", {1'000'000'000'000, 500'000'000'000}},
            {"/media/alice/My Disk", {64'000'000'000, 32'000'000'000}},
            {"/snap/core22/1122", {1, 0}},
            {"/run", {1'000'000, 1'000'000}},
            {"/mnt/nas", {1'000'000, 1'000'000}}};
}

}  // namespace orvane::linux_test
