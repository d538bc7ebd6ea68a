#include "ui/model/HistoryModel.h"

#include "service/Fmt.h"
#include "ui/model/PageText.h"

namespace orvane::HistoryModel {

using PageText::arg;
using PageText::percent;
using PageText::translate;

namespace {

constexpr const char* kUnknown = "-";

std::string averageAndPeak(const HistoryStats& s) {
    return arg(translate("HistoryModel", "average %1, peak %2"),
               {percent(s.average * 100), percent(s.peak * 100)});
}

}  // namespace

std::array<MiniStat, 3> legend(const HistoryPoint& newest) {
    const auto share = [](bool known, double f) { return known ? percent(f * 100) : kUnknown; };
    return {{
        {share(newest.cpuKnown, newest.cpuUser), translate("HistoryModel", "User"), Tint::blue},
        {share(newest.cpuKnown, newest.cpuSystem), translate("HistoryModel", "System"),
         Tint::orange},
        {share(newest.memKnown, newest.memUsed), translate("HistoryModel", "Memory"),
         usageTint(newest.memUsed)},
    }};
}

std::string pointText(const HistoryPoint& point, std::uint64_t secondsAgo) {
    std::string text =
        secondsAgo == 0 ? translate("HistoryModel", "now")
                        : arg(translate("HistoryModel", "%1 s ago"), {std::to_string(secondsAgo)});
    if (!point.cpuKnown && !point.memKnown)
        return text + "\n" + translate("HistoryModel", "No sample");
    if (point.cpuKnown)
        text += "\n" + arg(translate("HistoryModel", "Processor %1 (user %2, system %3)"),
                           {percent(point.cpuBusy() * 100), percent(point.cpuUser * 100.0),
                            percent(point.cpuSystem * 100.0)});
    if (point.memKnown)
        text += "\n" + arg(translate("HistoryModel", "Memory %1 (%2)"),
                           {percent(point.memUsed * 100.0), Fmt::memory(point.memUsedBytes)});
    return text;
}

std::string summary(const LiveHistory& history) {
    const HistoryStats cpu = history.cpuStats();
    const HistoryStats mem = history.memStats();
    const std::string notYet = translate("HistoryModel", "not measured yet");
    return arg(translate("HistoryModel", "Processor load, last 2 minutes: %1. Memory used: %2."),
               {cpu.count > 0 ? averageAndPeak(cpu) : notYet,
                mem.count > 0 ? averageAndPeak(mem) : notYet});
}

}  // namespace orvane::HistoryModel
