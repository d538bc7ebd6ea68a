#include "service/platform/linux/Throughput.h"

#include <array>

#include "service/platform/linux/SysText.h"

namespace orvane::Throughput {

namespace {

// Calls `each` with every line of `text`.
template <typename F>
void forEachLine(std::string_view text, F each) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        each(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

// Up to N white-space separated words of `line`; the count found.
template <std::size_t N>
std::size_t splitWords(std::string_view line, std::array<std::string_view, N>& words) {
    std::size_t n = 0;
    std::size_t i = 0;
    while (n < N) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size()) break;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        words[n++] = line.substr(start, i - start);
    }
    return n;
}

constexpr std::uint64_t kSectorBytes = 512;

}  // namespace

void parseNetDev(std::string_view text, std::vector<NetworkCounters>& out) {
    out.clear();
    forEachLine(text, [&](std::string_view line) {
        // Old kernels print large counters right after the colon ("eth0:1234 ..."), so the
        // name ends at the colon, not at white space.
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) return;
        const std::string_view name = SysText::trim(line.substr(0, colon));
        if (name.empty() || name.find('|') != std::string_view::npos) return;
        std::array<std::string_view, 9> w;
        if (splitWords(line.substr(colon + 1), w) < w.size()) return;
        const auto rx = SysText::parseUnsigned(w[0]);
        const auto tx = SysText::parseUnsigned(w[8]);
        if (!rx || !tx) return;
        out.push_back({std::string(name), false, *rx, *tx});
    });
}

void parseDiskStats(std::string_view text, std::vector<DiskCounters>& out) {
    out.clear();
    forEachLine(text, [&](std::string_view line) {
        std::array<std::string_view, 10> w;
        if (splitWords(line, w) < w.size()) return;
        const auto read = SysText::parseUnsigned(w[5]);
        const auto written = SysText::parseUnsigned(w[9]);
        if (!read || !written || *read > UINT64_MAX / kSectorBytes ||
            *written > UINT64_MAX / kSectorBytes)
            return;
        out.push_back({std::string(w[2]), *read * kSectorBytes, *written * kSectorBytes});
    });
}

}  // namespace orvane::Throughput
