#include "service/Shell.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

#if defined(__APPLE__)
#include <sys/sysctl.h>
#endif

extern char** environ;

namespace orvane::Shell {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return 0;
    return static_cast<int>(std::min<long long>(left.count(), 60'000));
}

std::mutex policyMutex;
KillPolicy killPolicy;

KillPolicy currentPolicy() {
    std::lock_guard lock(policyMutex);
    return killPolicy;
}

// Waits for a child that would not go in time, on a thread of its own, so that it does not
// stay a zombie once it finally ends.
void reapLater(pid_t pid) {
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

// Reaps the child if it ends by `until`; false while it still runs then.
bool reapBy(pid_t pid, Clock::time_point until) {
    for (;;) {
        const pid_t r = ::waitpid(pid, nullptr, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR)) return true;
        if (Clock::now() >= until) return false;
        ::usleep(1000);
    }
}

// Kills the child's whole process group and reaps the child, but waits for that only so long:
// a child stuck in uninterruptible I/O (a hung network volume under a report) may not go for
// minutes, and the caller's queue must not stall behind it. Such a child is left to a reaper.
void killAndReap(pid_t pid) {
    const KillPolicy policy = currentPolicy();
    if (policy.signal != 0) {
        ::kill(-pid, policy.signal);
        ::kill(pid, policy.signal);
    }
    if (!reapBy(pid, Clock::now() + policy.grace)) reapLater(pid);
}

// Decodes one UTF-8 code point at `i`; returns its length or 0 when malformed.
std::size_t decodeAt(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t len = 0;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are invalid.
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

bool isUnicodeSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

}  // namespace

std::vector<std::uint8_t> runData(const std::string& path, const std::vector<std::string>& args,
                                  std::chrono::milliseconds timeout) {
    std::vector<std::uint8_t> out;
    int fds[2];
#if defined(__linux__)
    // Close-on-exec from the start, so a child spawned by another thread never inherits it.
    if (::pipe2(fds, O_CLOEXEC) != 0) return out;
#else
    if (::pipe(fds) != 0) return out;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
#endif

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // Its own process group, so a timeout can stop whatever the tool started too.
    posix_spawnattr_setpgroup(&attr, 0);
    // No signal blocked and every signal at its default action, whatever this thread and
    // process have set up: a tool must be stoppable and behave as when started from a shell.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#if defined(__APPLE__)
    flags |= POSIX_SPAWN_CLOEXEC_DEFAULT;  // the child inherits only the three descriptors above
#endif
    posix_spawnattr_setflags(&attr, flags);

    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, path.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        return out;
    }

    const auto deadline = Clock::now() + timeout;
    bool timedOut = false;
    char buf[65536];
    for (;;) {
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, remainingMs(deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            timedOut = true;
            break;
        }
        if (ready == 0) {
            if (Clock::now() >= deadline) {
                timedOut = true;
                break;
            }
            continue;
        }
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n > 0) {
            out.insert(out.end(), buf, buf + n);
        } else if (n == 0) {
            break;  // end of file: the child closed its standard output
        } else if (errno != EINTR && errno != EAGAIN) {
            break;
        }
    }
    ::close(fds[0]);

    if (timedOut) {
        killAndReap(pid);
        return {};
    }
    // Output is complete; wait for the exit, but not past the deadline.
    if (!reapBy(pid, deadline)) killAndReap(pid);
    return out;
}

void setKillPolicy(KillPolicy policy) {
    std::lock_guard lock(policyMutex);
    killPolicy = policy;
}

std::string run(const std::string& path, const std::vector<std::string>& args,
                std::chrono::milliseconds timeout) {
    const auto data = runData(path, args, timeout);
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (!isValidUtf8(text)) return {};
    return trimUnicode(text);
}

bool isValidUtf8(std::string_view bytes) {
    char32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = decodeAt(bytes, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string trimUnicode(std::string_view text) {
    std::size_t begin = 0;
    char32_t cp = 0;
    while (begin < text.size()) {
        const std::size_t len = decodeAt(text, begin, cp);
        if (len == 0 || !isUnicodeSpace(cp)) break;
        begin += len;
    }
    std::size_t end = text.size();
    while (end > begin) {
        // Step back to the start of the last code point.
        std::size_t start = end - 1;
        while (start > begin && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        const std::size_t len = decodeAt(text, start, cp);
        if (len == 0 || start + len != end || !isUnicodeSpace(cp)) break;
        end = start;
    }
    return std::string(text.substr(begin, end - begin));
}

#if defined(__APPLE__)
std::string sysctlString(const std::string& name) {
    std::size_t size = 0;
    if (::sysctlbyname(name.c_str(), nullptr, &size, nullptr, 0) != 0 || size < 1) return {};
    std::string buf(size, '\0');
    ::sysctlbyname(name.c_str(), buf.data(), &size, nullptr, 0);
    const auto nul = buf.find('\0');
    if (nul != std::string::npos) buf.resize(nul);
    // Invalid sequences are replaced rather than dropping the whole value.
    std::string out;
    char32_t cp = 0;
    for (std::size_t i = 0; i < buf.size();) {
        const std::size_t len = decodeAt(buf, i, cp);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(buf, i, len);
            i += len;
        }
    }
    return out;
}

std::int64_t sysctlInt(const std::string& name) {
    std::int64_t value = 0;
    std::size_t len = sizeof value;
    if (::sysctlbyname(name.c_str(), &value, &len, nullptr, 0) != 0) return 0;
    return value;  // narrower values fill the low-order bytes (little-endian)
}
#else
std::string sysctlString(const std::string&) {
    return {};
}
std::int64_t sysctlInt(const std::string&) {
    return 0;
}
#endif

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace orvane::Shell
