#include "service/platform/linux/SysFs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "service/platform/linux/SysText.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

// Directories with more entries than this are not real sysfs or device directories.
constexpr std::size_t kMaxListEntries = 65536;

std::string_view relative(std::string_view rel) {
    while (!rel.empty() && rel.front() == '/')
        rel.remove_prefix(1);
    return rel;
}

}  // namespace

SysFs::SysFs(fs::path root) : root_(std::move(root)) {
    if (root_.empty()) root_ = "/";
    std::error_code ec;
    hostRoot_ = root_ == "/" || fs::equivalent(root_, "/", ec);
}

fs::path SysFs::path(std::string_view rel) const {
    return root_ / relative(rel);
}

bool SysFs::readAbsolute(const char* file, std::string& out, std::size_t cap) {
    out.clear();
    // Non-blocking so that opening a FIFO returns at once; it is then refused as not regular.
    const int fd = ::open(file, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    char chunk[8192];
    bool ok = true;
    while (out.size() < cap) {
        const std::size_t want = std::min(sizeof chunk, cap - out.size());
        const ssize_t n = ::read(fd, chunk, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        out.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) out.clear();
    return ok;
}

std::optional<std::string> SysFs::read(std::string_view rel, std::size_t cap) const {
    std::string out;
    if (!readAbsolute(path(rel).c_str(), out, cap)) return std::nullopt;
    return out;
}

std::optional<std::string> SysFs::text(std::string_view rel) const {
    std::optional<std::string> raw = read(rel, 64 * 1024);
    if (!raw) return std::nullopt;
    return std::string(SysText::trim(*raw));
}

std::optional<std::int64_t> SysFs::integer(std::string_view rel) const {
    const std::optional<std::string> t = text(rel);
    if (!t) return std::nullopt;
    return SysText::parseSigned(*t);
}

bool SysFs::exists(std::string_view rel) const {
    std::error_code ec;
    return fs::exists(path(rel), ec);
}

std::vector<std::string> SysFs::list(std::string_view rel) const {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(path(rel), ec);
    if (ec) return names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec || names.size() >= kMaxListEntries) break;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> SysFs::linkTarget(std::string_view rel) const {
    std::error_code ec;
    const fs::path target = fs::read_symlink(path(rel), ec);
    if (ec) return std::nullopt;
    return target.string();
}

std::optional<std::string> SysFs::resolve(std::string_view rel) const {
    std::error_code ec;
    const fs::path resolved = fs::canonical(path(rel), ec);
    if (ec) return std::nullopt;
    if (hostRoot_) return resolved.string();
    const fs::path base = fs::canonical(root_, ec);
    if (ec) return std::nullopt;
    const std::string r = resolved.string();
    const std::string b = base.string();
    if (r == b) return std::string("/");
    if (r.size() <= b.size() || r.compare(0, b.size(), b) != 0 || r[b.size()] != '/')
        return std::nullopt;
    return r.substr(b.size());
}

}  // namespace orvane
