#include "service/platform/linux/ProcFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace orvane {

ProcFile::~ProcFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool ProcFile::read(std::string& out, std::size_t cap) {
    out.clear();
    // One reader at a time: a concurrent read from offset 0 would make the kernel produce the
    // content again between another reader's chunks.
    std::lock_guard lock(mutex_);
    if (fd_ < 0) {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) return false;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return false;
        }
        fd_ = fd;
    }
    char chunk[8192];
    while (out.size() < cap) {
        const std::size_t want = std::min(sizeof chunk, cap - out.size());
        const ssize_t n = ::pread(fd_, chunk, want, static_cast<off_t>(out.size()));
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd_);
            fd_ = -1;
            out.clear();
            return false;
        }
        if (n == 0) break;
        out.append(chunk, static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace orvane
