#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "service/Shell.h"

using namespace orvane;
using namespace std::chrono_literals;

namespace {

std::string text(const std::vector<std::uint8_t>& b) {
    return std::string(b.begin(), b.end());
}

}  // namespace

TEST(Shell, RunGivesStandardOutputAsTrimmedValidText) {
    const struct {
        const char* path;
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        {"/usr/bin/printf", {"  14.5\n\n"}, "14.5"},
        {"/bin/sh", {"-c", "printf '\\t a  b \\r\\n'"}, "a  b"},
        {"/usr/bin/printf", {"\xc2\xa0x\xe2\x80\xa8"}, "x"},  // Unicode spaces count too
        {"/usr/bin/printf", {"%s|", "two words", "$HOME", "*"}, "two words|$HOME|*|"},
        {"/bin/sh", {"-c", "echo partial; exit 3"}, "partial"},  // the status is not examined
        {"/usr/bin/printf", {"ab\\377cd"}, ""},                  // not UTF-8
        {"/bin/sh", {"-c", "echo oops >&2"}, ""},
        // A child writing far more to standard error than a pipe holds is never held up.
        {"/bin/sh", {"-c", "head -c 4000000 /dev/zero >&2; echo done"}, "done"},
        {"/nonexistent/tool", {"-json"}, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(Shell::run(c.path, c.args), c.out) << c.path << " " << c.args.front();
}

TEST(Shell, RunDataKeepsBytesExactlyOrGivesNothing) {
    const std::pair<const char*, std::string> cases[] = {{"  a\\0b\n", std::string("  a\0b\n", 6)},
                                                         {"ab\\377", "ab\xff"}};
    for (const auto& [format, bytes] : cases)
        EXPECT_EQ(text(Shell::runData("/usr/bin/printf", {format})), bytes);
    EXPECT_EQ(Shell::runData("/bin/sh", {"-c", "head -c 3000000 /dev/zero"}).size(), 3'000'000u);
    // Missing, not executable, no path.
    for (const char* path : {"/nonexistent/tool", "/etc/hosts", ""})
        EXPECT_TRUE(Shell::runData(path, {"-json"}).empty()) << path;
}

TEST(Shell, HungChildIsKilledAfterTheLimit) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Shell::runData("/bin/sh", {"-c", "echo early; sleep 30"}, 300ms).empty());
    // A child that closed its output but never exits is reaped by force too.
    EXPECT_TRUE(Shell::runData("/bin/sh", {"-c", "exec >&-; sleep 30"}, 300ms).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST(Shell, GrandchildrenOfAHungToolAreStoppedToo) {
    // The background sleep holds standard output open; the whole group must go, even from a
    // tool that ignores SIGTERM.
    for (const char* script : {"sleep 30 & wait", "trap '' TERM; echo part; sleep 30 & wait"})
        EXPECT_TRUE(Shell::runData("/bin/sh", {"-c", script}, 300ms).empty()) << script;
}

TEST(Shell, AChildThatWillNotGoIsLeftToAReaper) {
    // No signal reaches the tool, as for one stuck in uninterruptible I/O: the call still
    // comes back, and the child is reaped once it ends on its own.
    const std::string pidFile = ::testing::TempDir() + "orvane-stuck-tool.pid";
    Shell::setKillPolicy({0, 50ms});
    EXPECT_TRUE(Shell::runData("/bin/sh", {"-c", "echo $$ > " + pidFile + "; exec sleep 2"}, 200ms)
                    .empty());
    Shell::setKillPolicy({});
    std::ifstream in(pidFile);
    pid_t pid = 0;
    ASSERT_TRUE(in >> pid);
    EXPECT_EQ(::kill(pid, 0), 0) << "the call waited for the tool to end";
#if defined(__linux__)
    const std::string proc = "/proc/" + std::to_string(pid);
    for (int i = 0; i < 1000 && std::filesystem::exists(proc); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(std::filesystem::exists(proc)) << "left as a zombie";
#endif
}

TEST(Shell, ToolsStartWithNoSignalBlockedOrIgnored) {
    sigset_t usr1;
    sigset_t saved;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, &saved);
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGUSR2, &ignore, &previous);
    // The shell's masks as it was started with them (ps would report its own handlers).
    const std::string masks = Shell::run("/bin/sh", {"-c", "ps -o sigmask=,sigignore= -p $$"});
    sigaction(SIGUSR2, &previous, nullptr);
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
    std::istringstream fields(masks);
    std::string blocked, ignored;
    ASSERT_TRUE(fields >> blocked >> ignored) << masks;
    // Hexadecimal, bit n-1 for signal n on Linux and macOS alike; the standard signals only
    // (the C library keeps real-time ones of its own).
    EXPECT_EQ(std::stoull(blocked, nullptr, 16) & 0x7fffffffull, 0u) << masks;
    EXPECT_EQ(std::stoull(ignored, nullptr, 16) & 0x7fffffffull, 0u) << masks;
}

TEST(Shell, Utf8Validation) {
    for (const char* good : {"", "h\xc3\xa9llo \xf0\x9f\x98\x80"})
        EXPECT_TRUE(Shell::isValidUtf8(good));
    // Overlong, a surrogate, past U+10FFFF, truncated.
    for (const char* bad : {"\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe2\x82"})
        EXPECT_FALSE(Shell::isValidUtf8(bad)) << bad;
}

#if !defined(__APPLE__)
TEST(Shell, KernelValuesAreNothingOffTheMac) {
    EXPECT_EQ(Shell::sysctlString("hw.model"), "");
    EXPECT_EQ(Shell::sysctlInt("hw.ncpu"), 0);
}
#else
TEST(Shell, UnknownKernelValuesAreNothing) {
    EXPECT_EQ(Shell::sysctlString("no.such.value"), "");
    EXPECT_EQ(Shell::sysctlInt("no.such.value"), 0);
    EXPECT_GT(Shell::sysctlInt("hw.ncpu"), 0);
}
#endif
