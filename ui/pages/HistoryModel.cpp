#include "ui/pages/HistoryModel.h"

#include "service/Fmt.h"
#include "ui/pages/PageText.h"

namespace orvane::HistoryModel {

using PageText::percent;

namespace {

constexpr const char* kUnknown = "-";

std::string averageAndPeak(const HistoryStats& s) {
    return "average " + percent(s.average * 100) + ", peak " + percent(s.peak * 100);
}

}  // namespace

std::array<MiniStat, 3> legend(const HistoryPoint& newest) {
    const auto share = [](bool known, double f) { return known ? percent(f * 100) : kUnknown; };
    return {{
        {share(newest.cpuKnown, newest.cpuUser), "User", Tint::blue},
        {share(newest.cpuKnown, newest.cpuSystem), "System", Tint::red},
        {share(newest.memKnown, newest.memUsed), "Memory", Tint::green},
    }};
}

std::string pointText(const HistoryPoint& point, std::uint64_t secondsAgo) {
    std::string text = secondsAgo == 0 ? "now" : std::to_string(secondsAgo) + " s ago";
    if (!point.cpuKnown && !point.memKnown) return text + "\nNo sample";
    if (point.cpuKnown)
        text += "\nProcessor " + percent(point.cpuBusy() * 100) + " (user " +
                percent(point.cpuUser * 100.0) + ", system " + percent(point.cpuSystem * 100.0) +
                ")";
    if (point.memKnown)
        text += "\nMemory " + percent(point.memUsed * 100.0) + " (" +
                Fmt::bytes(point.memUsedBytes) + ")";
    return text;
}

std::string summary(const LiveHistory& history) {
    const HistoryStats cpu = history.cpuStats();
    const HistoryStats mem = history.memStats();
    std::string text = "Processor load, last 2 minutes: ";
    text += cpu.count > 0 ? averageAndPeak(cpu) : "not measured yet";
    text += ". Memory used: ";
    text += mem.count > 0 ? averageAndPeak(mem) : "not measured yet";
    return text + ".";
}

}  // namespace orvane::HistoryModel
