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

inline fs::path fixtureTree(const std::string& name) {
    return fs::path(ORVANE_FIXTURES) / "linux" / name;
}

// A directory tree written by a test and removed afterwards.
class ScratchTree {
  public:
    ScratchTree() {
        static std::atomic<int> counter{0};
        root_ = fs::temp_directory_path() /
                ("orvane-linux-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
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

    // Rewrites a file in place, as the kernel does.
    void write(const std::string& rel, const std::string& content) const {
        fs::create_directories((root_ / rel).parent_path());
        std::ofstream(root_ / rel, std::ios::binary | std::ios::trunc) << content;
    }
    // "path=content|path=content": each file under `base`.
    void writeAll(std::string_view files, const std::string& base = "") const {
        while (!files.empty()) {
            const std::string_view entry = files.substr(0, files.find('|'));
            files.remove_prefix(std::min(files.size(), entry.size() + 1));
            const std::size_t eq = entry.find('=');
            write(base + std::string(entry.substr(0, eq)), std::string(entry.substr(eq + 1)));
        }
    }
    void link(const std::string& rel, const std::string& target) const {
        fs::create_symlink(target, prepare(rel));
    }
    void fifo(const std::string& rel) const { ::mkfifo(prepare(rel).c_str(), 0600); }
    void dir(const std::string& rel) const { fs::create_directories(root_ / rel); }
    // Copies a fixture tree (links kept as links) into this one.
    void copyFrom(const fs::path& tree) const {
        fs::copy(tree, root_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }

  private:
    // The path of `rel`, with its directory made and nothing in its place.
    fs::path prepare(const std::string& rel) const {
        const fs::path p = root_ / rel;
        fs::create_directories(p.parent_path());
        fs::remove(p);
        return p;
    }
    fs::path root_;
};

// Sizes by mount point; other mount points have none.
inline LinuxPlatformOptions fixedSizes(std::map<std::string, FsSpace> sizes) {
    LinuxPlatformOptions options;
    options.fsSpace = [sizes = std::move(sizes)](const std::string& path) {
        const auto it = sizes.find(path);
        return it == sizes.end() ? std::nullopt : std::optional<FsSpace>(it->second);
    };
    return options;
}

// Sizes for the mount points of the fake trees; other mount points have none.
inline LinuxPlatformOptions treeSizes() {
    return fixedSizes({{"/", {500'000'000'000, 200'000'000'000}},
                       {"/boot/efi", {500'000'000, 400'000'000}},
                       {"/home", {1'000'000'000'000, 500'000'000'000}},
                       {"/srv/projects", {1'000'000'000'000, 500'000'000'000}},
                       {"/media/alice/My Disk", {64'000'000'000, 32'000'000'000}},
                       {"/snap/core22/1122", {1, 0}},
                       {"/run", {1'000'000, 1'000'000}},
                       {"/mnt/nas", {1'000'000, 1'000'000}},
                       {"/boot", {1'000'000'000, 600'000'000}},
                       {"/run/media/dana/CARD", {128'000'000'000, 100'000'000'000}},
                       {"/mnt/hung", {2'000'000'000'000, 1'000'000'000'000}},
                       {"/boot/firmware", {512'000'000, 400'000'000}},
                       {"/media/pi/STICK", {16'000'000'000, 15'000'000'000}}});
}

}  // namespace orvane::linux_test
