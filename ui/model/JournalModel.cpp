#include "ui/model/JournalModel.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "service/Fmt.h"
#include "service/HealthTrend.h"
#include "ui/model/PageText.h"

namespace orvane::JournalModel {

using PageText::arg;
using PageText::translate;

// Marks a text for the catalogues; translate() looks it up where it is shown.
#define QT_TRANSLATE_NOOP(context, text) text

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kVolumeWindow = 90 * kDay;

std::tm utc(std::int64_t t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    gmtime_r(&tt, &tm);
    return tm;
}

// Months since year 0, so that two times compare by calendar month.
int monthIndex(std::int64_t t) {
    const std::tm tm = utc(t);
    return (tm.tm_year + 1900) * 12 + tm.tm_mon;
}

// The first second of a month index.
std::int64_t monthStart(int index) {
    std::tm tm{};
    tm.tm_year = index / 12 - 1900;
    tm.tm_mon = index % 12;
    tm.tm_mday = 1;
    return static_cast<std::int64_t>(timegm(&tm));
}

std::string reasonText(TrendReason reason) {
    switch (reason) {
        case TrendReason::none:
            break;
        case TrendReason::needsMonth:
            return translate("JournalModel", "Needs a month of history");
        case TrendReason::needsPoints:
            return translate("JournalModel", "Needs more readings");
        case TrendReason::steady:
            return translate("JournalModel", "Health is holding steady");
        case TrendReason::reached:
            return translate("JournalModel", "Health is at or below 80%");
    }
    return {};
}

std::string emptyText(const JournalState& state) {
    if (state.capture) return translate("JournalModel", "This capture holds no health history");
    // A run that only reads says nothing of the setting: it may well be on.
    if (!state.recording && !state.readOnly)
        return translate("JournalModel", "Recording is switched off");
    return translate("JournalModel", "No history recorded yet");
}

// Time marks under a chart from `from` to `to`: each January's year, and over little more than
// a year each month's name too.
std::vector<AxisMark> timeMarks(std::int64_t from, std::int64_t to) {
    std::vector<AxisMark> marks;
    if (to <= from) return marks;
    const bool monthly = to - from <= 400 * kDay;
    for (int m = monthIndex(from) + 1; monthStart(m) <= to; ++m) {
        const bool january = m % 12 == 0;
        if (!monthly && !january) continue;
        const double at =
            static_cast<double>(monthStart(m) - from) / static_cast<double>(to - from);
        marks.push_back({at, january ? std::to_string(m / 12) : shortMonth(m % 12 + 1)});
    }
    return marks;
}

}  // namespace

std::string shortMonth(int month) {
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("JournalModel", "Jan"), QT_TRANSLATE_NOOP("JournalModel", "Feb"),
        QT_TRANSLATE_NOOP("JournalModel", "Mar"), QT_TRANSLATE_NOOP("JournalModel", "Apr"),
        QT_TRANSLATE_NOOP("JournalModel", "May"), QT_TRANSLATE_NOOP("JournalModel", "Jun"),
        QT_TRANSLATE_NOOP("JournalModel", "Jul"), QT_TRANSLATE_NOOP("JournalModel", "Aug"),
        QT_TRANSLATE_NOOP("JournalModel", "Sep"), QT_TRANSLATE_NOOP("JournalModel", "Oct"),
        QT_TRANSLATE_NOOP("JournalModel", "Nov"), QT_TRANSLATE_NOOP("JournalModel", "Dec")};
    if (month < 1 || month > 12) return {};
    return translate("JournalModel", names[month - 1]);
}

std::string monthYear(std::int64_t time) {
    static const char* const names[] = {QT_TRANSLATE_NOOP("JournalModel", "January"),
                                        QT_TRANSLATE_NOOP("JournalModel", "February"),
                                        QT_TRANSLATE_NOOP("JournalModel", "March"),
                                        QT_TRANSLATE_NOOP("JournalModel", "April"),
                                        QT_TRANSLATE_NOOP("JournalModel", "May"),
                                        QT_TRANSLATE_NOOP("JournalModel", "June"),
                                        QT_TRANSLATE_NOOP("JournalModel", "July"),
                                        QT_TRANSLATE_NOOP("JournalModel", "August"),
                                        QT_TRANSLATE_NOOP("JournalModel", "September"),
                                        QT_TRANSLATE_NOOP("JournalModel", "October"),
                                        QT_TRANSLATE_NOOP("JournalModel", "November"),
                                        QT_TRANSLATE_NOOP("JournalModel", "December")};
    const std::tm tm = utc(time);
    return arg(translate("JournalModel", "%1 %2", "month and year"),
               {translate("JournalModel", names[tm.tm_mon]), std::to_string(tm.tm_year + 1900)});
}

BatteryHistoryView battery(const JournalState& state) {
    BatteryHistoryView v;
    const std::vector<BatteryPoint> curve = state.history.currentBattery();
    if (curve.empty()) {
        v.emptyText = emptyText(state);
        return v;
    }
    v.show = true;
    const BatteryPoint& last = curve.back();
    const Trend trend = batteryTrend(curve);

    double lo = kReplaceHealthPercent, hi = 100;
    for (const BatteryPoint& p : curve) {
        lo = std::min(lo, p.healthPercent);
        hi = std::max(hi, p.healthPercent);
    }
    lo = std::floor(lo / 10) * 10 - 5;
    hi = std::ceil(hi / 5) * 5;
    const auto y = [&](double health) { return (health - lo) / (hi - lo); };

    // The time shown: the curve, and ahead of it the projection (at most as far again).
    const std::int64_t from = curve.front().time;
    std::int64_t to = last.time;
    if (trend.when)
        to = std::min(*trend.when, last.time + std::max<std::int64_t>(last.time - from, 30 * kDay));
    if (to <= from) to = from + kDay;
    const auto x = [&](std::int64_t t) {
        return static_cast<double>(t - from) / static_cast<double>(to - from);
    };

    int month = -1;
    for (const BatteryPoint& p : curve) {
        const ChartPoint at{x(p.time), y(p.healthPercent)};
        v.curve.push_back(at);
        if (monthIndex(p.time) != month) {
            month = monthIndex(p.time);
            v.months.push_back(at);
        }
    }
    v.times = timeMarks(from, to);
    for (int level = static_cast<int>(hi) / 10 * 10; level >= lo; level -= 10) {
        v.levels.push_back({y(level), PageText::percent(level)});
        if (last.designCapacity > 0)
            v.capacities.push_back(
                {y(level),
                 PageText::integer(std::llround(last.designCapacity * level / 100.0)) + " mAh"});
    }
    v.threshold = y(kReplaceHealthPercent);
    v.tint = usageTint(1.0 - last.healthPercent / 100);
    if (trend.when) {
        v.projection = ChartPoint{x(*trend.when), v.threshold};
        v.projectionText = arg(translate("JournalModel", "Health reaches 80% around %1"),
                               {monthYear(*trend.when)});
    } else {
        v.projectionText = reasonText(trend.reason);
    }
    const int cycles = static_cast<int>(std::min<std::int64_t>(last.cycleCount, 1 << 30));
    v.summary = PageText::joined(
        {PageText::percent(last.healthPercent), PageText::integer(last.fullCapacity) + " mAh",
         translate("JournalModel", "%n cycle(s)", nullptr, cycles)},
        " · ");
    return v;
}

VolumeHistoryView volume(const JournalState& state, const std::string& mountPoint) {
    VolumeHistoryView v;
    const std::vector<VolumePoint> curve = state.history.currentVolume(mountPoint);
    if (curve.empty()) return v;
    const std::int64_t to = curve.back().time;
    std::vector<VolumePoint> recent;
    for (const VolumePoint& p : curve)
        if (p.time >= to - kVolumeWindow) recent.push_back(p);
    if (recent.size() < 2 || recent.front().time == to) return v;
    v.show = true;
    std::int64_t lo = recent.front().usedBytes(), hi = lo;
    for (const VolumePoint& p : recent) {
        lo = std::min(lo, p.usedBytes());
        hi = std::max(hi, p.usedBytes());
    }
    const std::int64_t from = recent.front().time;
    for (const VolumePoint& p : recent)
        v.used.push_back(
            {static_cast<double>(p.time - from) / static_cast<double>(to - from),
             hi > lo ? static_cast<double>(p.usedBytes() - lo) / static_cast<double>(hi - lo)
                     : 0.5});
    const Trend trend = volumeTrend(curve);
    if (trend.when) {
        const int months =
            static_cast<int>(std::min<std::int64_t>(monthsUntil(*trend.when, to), 999));
        v.trend = translate("JournalModel", "Full in about %n month(s)", nullptr, months);
    }
    v.summary =
        arg(translate("JournalModel", "Used space over the last 90 days: %1 to %2"),
            {Fmt::bytes(recent.front().usedBytes()), Fmt::bytes(recent.back().usedBytes())});
    return v;
}

}  // namespace orvane::JournalModel
