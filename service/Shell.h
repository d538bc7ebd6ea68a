// Child processes and kernel values.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane::Shell {

// Time a child may take to close its standard output before it is killed and counts as
// having printed nothing.
inline constexpr std::chrono::milliseconds kDefaultTimeout{60'000};

// Runs the executable at `path` (absolute; no search path, no shell) with `args`, reads
// its standard output to the end, then reaps it. Standard error goes to /dev/null. Empty
// when the program cannot be started or does not finish within `timeout`.
std::vector<std::uint8_t> runData(const std::string& path, const std::vector<std::string>& args,
                                  std::chrono::milliseconds timeout = kDefaultTimeout);
// How a tool that outlived its time is stopped: the signal sent to its process group, and how
// long its reaping may take before it is left to a reaper thread. Tests send no signal (0) to
// stand for a child that cannot be stopped.
struct KillPolicy {
    int signal = 9;  // SIGKILL
    std::chrono::milliseconds grace{2000};
};
void setKillPolicy(KillPolicy policy);

// The same output decoded as UTF-8 and trimmed of white space at both ends; empty when it
// is not valid UTF-8.
std::string run(const std::string& path, const std::vector<std::string>& args,
                std::chrono::milliseconds timeout = kDefaultTimeout);

// Kernel values by name (sysctlbyname on macOS; empty / 0 elsewhere).
std::string sysctlString(const std::string& name);
std::int64_t sysctlInt(const std::string& name);

// Text helpers shared with the platforms.
bool isValidUtf8(std::string_view bytes);
// Trims Unicode white space and line breaks at both ends of valid UTF-8 text.
std::string trimUnicode(std::string_view text);
// ASCII letters in lower case; every other byte as it is.
std::string lowerAscii(std::string_view text);

}  // namespace orvane::Shell
