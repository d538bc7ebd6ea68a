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

TEST(Shell, OutputAsTextAndAsBytes) {
    struct Case {
        const char* path;
        std::vector<std::string> args;
        std::string text, bytes;
    };
    const Case table[] = {
        // Trimmed at both ends, Unicode spaces (no-break, line separator) included.
        {"/usr/bin/printf", {"  14.5\n\n"}, "14.5", "  14.5\n\n"},
        {"/bin/sh", {"-c", "printf '\\t a  b \\r\\n'"}, "a  b", "\t a  b \r\n"},
        {"/usr/bin/printf", {"\xc2\xa0x\xe2\x80\xa8"}, "x", "\xc2\xa0x\xe2\x80\xa8"},
        {"/usr/bin/printf", {"  a\\0b\n"}, std::string("a\0b", 3), std::string("  a\0b\n", 6)},
        // Arguments are neither split nor interpreted; the exit status is not examined.
        {"/usr/bin/printf",
         {"%s|", "two words", "$HOME", "*"},
         "two words|$HOME|*|",
         "two words|$HOME|*|"},
        {"/bin/sh", {"-c", "echo partial; exit 3"}, "partial", "partial\n"},
        // Not UTF-8: no text, the bytes as they are.
        {"/usr/bin/printf",
         {"ab\\377cd"},
         "",
         "ab\xff"
         "cd"},
        // Standard error never reaches the result, nor holds up a child writing more to it
        // than a pipe holds.
        {"/bin/sh", {"-c", "echo oops >&2"}, "", ""},
        {"/bin/sh", {"-c", "head -c 4000000 /dev/zero >&2; echo done"}, "done", "done\n"},
        // Missing, not executable, no path.
        {"/nonexistent/tool", {"-json"}, "", ""},
        {"/etc/hosts", {}, "", ""},
        {"", {}, "", ""}};
    for (const Case& c : table) {
        EXPECT_EQ(Shell::run(c.path, c.args), c.text) << c.path << " " << c.args.front();
        EXPECT_EQ(text(Shell::runData(c.path, c.args)), c.bytes) << c.path;
    }
    EXPECT_EQ(Shell::runData("/bin/sh", {"-c", "head -c 3000000 /dev/zero"}).size(), 3'000'000u);
}

TEST(Shell, HungChildrenAndTheirGroupsAreKilledAfterTheLimit) {
    const auto start = std::chrono::steady_clock::now();
    // Output left open; output closed but no exit; a background grandchild holding the output,
    // also under a tool that ignores SIGTERM.
    for (const char* script : {"echo early; sleep 30", "exec >&-; sleep 30", "sleep 30 & wait",
                               "trap '' TERM; echo part; sleep 30 & wait"})
        EXPECT_TRUE(Shell::runData("/bin/sh", {"-c", script}, 300ms).empty()) << script;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
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

TEST(Shell, Utf8ValidationAndKernelValues) {
    EXPECT_TRUE(Shell::isValidUtf8(""));
    EXPECT_TRUE(Shell::isValidUtf8("h\xc3\xa9llo \xf0\x9f\x98\x80"));
    // Overlong, surrogate, past U+10FFFF, truncated.
    for (const char* bad : {"\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe2\x82"})
        EXPECT_FALSE(Shell::isValidUtf8(bad)) << bad;
    // Unknown names are nothing; off the Mac every name is.
    EXPECT_EQ(Shell::sysctlString("no.such.value"), "");
    EXPECT_EQ(Shell::sysctlInt("no.such.value"), 0);
#if defined(__APPLE__)
    EXPECT_GT(Shell::sysctlInt("hw.ncpu"), 0);
#else
    EXPECT_EQ(Shell::sysctlString("hw.model"), "");
    EXPECT_EQ(Shell::sysctlInt("hw.ncpu"), 0);
#endif
}
