#include "service/platform/linux/ProcCounters.h"

#include <array>

namespace orvane::ProcCounters {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Parses up to `fields.size()` unsigned numbers separated by blanks, each modulo 2^32.
// Returns how many were read, or -1 when something else than a number appears.
int readTicks(std::string_view rest, std::array<std::uint32_t, 8>& fields) {
    int count = 0;
    std::size_t i = 0;
    while (i < rest.size()) {
        while (i < rest.size() && isBlank(rest[i]))
            ++i;
        if (i >= rest.size()) break;
        if (!isDigit(rest[i])) return -1;
        std::uint32_t value = 0;
        while (i < rest.size() && isDigit(rest[i])) {
            value = value * 10u + static_cast<std::uint32_t>(rest[i] - '0');  // wraps mod 2^32
            ++i;
        }
        if (i < rest.size() && !isBlank(rest[i])) return -1;
        if (count < static_cast<int>(fields.size()))
            fields[static_cast<std::size_t>(count)] = value;
        ++count;
    }
    return count;
}

}  // namespace

bool parseCpuTicks(std::string_view stat, std::vector<CpuTicks>& out) {
    out.clear();
    bool inCpuLines = false;
    std::size_t pos = 0;
    while (pos < stat.size()) {
        std::size_t end = stat.find('\n', pos);
        if (end == std::string_view::npos) end = stat.size();
        const std::string_view line = stat.substr(pos, end - pos);
        pos = end + 1;

        if (line.size() < 4 || line.compare(0, 3, "cpu") != 0) {
            // The processor lines come first; nothing after them is needed.
            if (inCpuLines) break;
            continue;
        }
        inCpuLines = true;
        if (!isDigit(line[3])) continue;  // the "cpu" line sums all processors
        std::size_t i = 3;
        while (i < line.size() && isDigit(line[i]))
            ++i;
        if (i >= line.size() || !isBlank(line[i])) {
            out.clear();
            return false;
        }

        std::array<std::uint32_t, 8> f{};  // user nice system idle iowait irq softirq steal
        const int n = readTicks(line.substr(i), f);
        if (n < 4) {
            out.clear();
            return false;
        }
        CpuTicks t;
        t.user = f[0];
        t.nice = f[1];
        t.system = f[2] + f[5] + f[6] + f[7];
        t.idle = f[3] + f[4];
        out.push_back(t);
    }
    return !out.empty();
}

MemInfo parseMemInfo(std::string_view meminfo, std::uint64_t pageSize) {
    enum Key {
        kActive,
        kInactive,
        kActiveFile,
        kInactiveFile,
        kUnevictable,
        kSUnreclaim,
        kKernelStack,
        kPageTables,
        kSReclaimable,
        kZswap,
        kSwapTotal,
        kSwapFree,
        kMemTotal,
        kKeyCount
    };
    static constexpr std::array<std::string_view, kKeyCount> kNames = {
        "Active",     "Inactive",    "Active(file)", "Inactive(file)", "Unevictable",
        "SUnreclaim", "KernelStack", "PageTables",   "SReclaimable",   "Zswap",
        "SwapTotal",  "SwapFree",    "MemTotal"};

    std::array<std::uint64_t, kKeyCount> kb{};
    std::array<bool, kKeyCount> seen{};
    std::size_t pos = 0;
    while (pos < meminfo.size()) {
        std::size_t end = meminfo.find('\n', pos);
        if (end == std::string_view::npos) end = meminfo.size();
        const std::string_view line = meminfo.substr(pos, end - pos);
        pos = end + 1;

        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, colon);
        int key = -1;
        for (int k = 0; k < kKeyCount; ++k) {
            if (kNames[static_cast<std::size_t>(k)] == name) {
                key = k;
                break;
            }
        }
        if (key < 0) continue;

        std::size_t i = colon + 1;
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i >= line.size() || !isDigit(line[i])) continue;
        // Values beyond 2^50 kB (an exbibyte) do not exist; treat them as corrupt. The bound
        // keeps a sum of four values in bytes within 64 bits.
        constexpr std::uint64_t kMaxKb = std::uint64_t{1} << 50;
        std::uint64_t value = 0;
        while (i < line.size() && isDigit(line[i]) && value <= kMaxKb) {
            value = value * 10 + static_cast<std::uint64_t>(line[i] - '0');
            ++i;
        }
        if (value > kMaxKb) continue;
        kb[static_cast<std::size_t>(key)] = value;
        seen[static_cast<std::size_t>(key)] = true;
    }

    MemInfo info;
    if (seen[kMemTotal]) info.memTotalBytes = kb[kMemTotal] * 1024;
    if (seen[kSwapTotal] && seen[kSwapFree]) {
        info.swapUsed =
            kb[kSwapTotal] > kb[kSwapFree] ? (kb[kSwapTotal] - kb[kSwapFree]) * 1024 : 0;
    }
    if (pageSize == 0 || !seen[kActive] || !seen[kInactive]) return info;

    const auto pages = [pageSize](std::uint64_t kbytes) { return kbytes * 1024 / pageSize; };
    VmStats vm;
    vm.pageSize = pageSize;
    vm.active = pages(kb[kActive]);
    vm.inactive = pages(kb[kInactive]);
    vm.external = pages(kb[kActiveFile] + kb[kInactiveFile]);
    vm.wire = pages(kb[kUnevictable] + kb[kSUnreclaim] + kb[kKernelStack] + kb[kPageTables]);
    vm.purgeable = pages(kb[kSReclaimable]);
    vm.compressor = pages(kb[kZswap]);
    info.vm = vm;
    return info;
}

}  // namespace orvane::ProcCounters
