// Helpers for the Linux platform tests: the fake trees, scratch trees written by a test and
// filesystem sizes that differ by mount point.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "service/platform/linux/LinuxPlatform.h"

namespace orvane::linux_test {

namespace fs = std::filesystem;

inline fs::path fixtureTree(const std::string& name) {
    return fs::path(ORVANE_FIXTURES) / "linux" / name;
}

inline std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
        } else if (s[++i] == 'x') {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += s[i] == 'n' ? '\n' : s[i] == 't' ? '\t' : s[i];
        }
    }
    return out;
}

// Runs each case of a case file in tests/fixtures/linux: "# " comments, an input line, then
// "=> " and what is expected of that input; both with \n, \t, \\ and \xHH escapes.
template <typename Check>
void forEachCase(const std::string& file, Check check) {
    std::istringstream cases(readText(fixtureTree(file)));
    std::string input;
    for (std::string line; std::getline(cases, line);) {
        if (line.rfind("=>", 0) == 0)
            check(input, unescape(line.substr(std::min<std::size_t>(3, line.size()))));
        else if (!line.empty() && line[0] != '#')
            input = unescape(line);
    }
}

inline MachineFacts factsOf(const Platform& p) {
    return {p.hardware(), p.power(), p.volumes(), p.graphics(), p.installedMemory()};
}

// Sizes that follow the mount point, so a size given to the wrong volume shows.
inline LinuxPlatformOptions pathSizes() {
    LinuxPlatformOptions options;
    options.fsSpace = [](const std::string& path) {
        return std::optional<FsSpace>({path.size() * 1'000'000'000, path.size() * 300'000'000});
    };
    // These answer at once: a machine busy with sanitizers and other builds must not turn
    // hundreds of them into missed deadlines.
    options.fsSpaceTimeout = std::chrono::seconds(30);
    return options;
}

// A directory tree written by a test and removed afterwards.
class ScratchTree {
  public:
    ScratchTree() {
        std::string name = (fs::temp_directory_path() / "orvane-linux-XXXXXX").string();
        root_ = ::mkdtemp(name.data());
    }
    ~ScratchTree() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const fs::path& root() const { return root_; }

    // Rewrites a file in place, as the kernel does.
    void write(const std::string& rel, const std::string& content) const {
        std::ofstream(prepare(rel, false), std::ios::binary | std::ios::trunc) << content;
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
    void dir(const std::string& rel) const { fs::create_directories(prepare(rel)); }
    // Copies a fixture tree (links kept as links) into this one.
    void copyFrom(const fs::path& tree) const {
        fs::copy(tree, root_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }

  private:
    // The path of `rel`, its directory made and, unless kept, nothing in its place.
    fs::path prepare(const std::string& rel, bool clear = true) const {
        const fs::path p = root_ / rel;
        fs::create_directories(p.parent_path());
        if (clear) fs::remove_all(p);
        return p;
    }
    fs::path root_;
};

}  // namespace orvane::linux_test
