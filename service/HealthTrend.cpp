#include "service/HealthTrend.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr double kDay = 86400;
constexpr double kWindowDays = 90;
constexpr double kMinSpanDays = 30;
constexpr std::size_t kMinPoints = 5;
// More points than this are thinned evenly: the fit looks at every pair.
constexpr std::size_t kMaxPoints = 400;
// A projection further out than this says nothing a user can act on.
constexpr double kHorizonDays = 15 * 365.25;

struct Sample {
    double x;  // days, relative to the newest point
    double y;
};

double median(std::vector<double>& v) {
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double hi = v[mid];
    if (v.size() % 2) return hi;
    return (*std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid)) + hi) / 2;
}

struct Fit {
    double slope = 0;      // per day
    double intercept = 0;  // value at the newest point
};

// Theil-Sen over the samples (at least two distinct times).
std::optional<Fit> theilSen(const std::vector<Sample>& s) {
    std::vector<double> slopes;
    slopes.reserve(s.size() * (s.size() - 1) / 2);
    for (std::size_t i = 0; i < s.size(); ++i)
        for (std::size_t j = i + 1; j < s.size(); ++j)
            if (s[j].x != s[i].x) slopes.push_back((s[j].y - s[i].y) / (s[j].x - s[i].x));
    if (slopes.empty()) return std::nullopt;
    Fit f;
    f.slope = median(slopes);
    std::vector<double> offsets;
    for (const Sample& p : s)
        offsets.push_back(p.y - f.slope * p.x);
    f.intercept = median(offsets);
    return f;
}

struct Window {
    std::vector<Sample> samples;
    std::int64_t newest = 0;
    double spanDays = 0;
};

// The last 90 days of (time, value) points, relative to the newest.
template <typename Point, typename Value>
Window windowOf(const std::vector<Point>& points, Value value) {
    Window w;
    if (points.empty()) return w;
    for (const Point& p : points)
        w.newest = std::max(w.newest, p.time);
    double oldest = 0;
    for (const Point& p : points) {
        const double x = static_cast<double>(p.time - w.newest) / kDay;
        if (x < -kWindowDays) continue;
        w.samples.push_back({x, value(p)});
        oldest = std::min(oldest, x);
    }
    w.spanDays = -oldest;
    if (w.samples.size() > kMaxPoints) {
        std::vector<Sample> thin;
        const double step = static_cast<double>(w.samples.size()) / kMaxPoints;
        for (std::size_t k = 0; k < kMaxPoints; ++k)
            thin.push_back(w.samples[static_cast<std::size_t>(k * step)]);
        thin.back() = w.samples.back();
        w.samples = std::move(thin);
    }
    return w;
}

// Where the fitted line reaches `target`, going in the direction `sign` (-1 falling, +1
// rising) by at least `minSlope` a day.
Trend project(const Window& w, double target, double sign, double minSlope, double current) {
    Trend t;
    if (w.spanDays < kMinSpanDays) {
        t.reason = TrendReason::needsMonth;
        return t;
    }
    if (w.samples.size() < kMinPoints) return t;
    const auto fit = theilSen(w.samples);
    t.slopePerDay = fit ? fit->slope : 0;
    if ((current - target) * sign >= 0) {
        t.reason = TrendReason::reached;
        return t;
    }
    const double days = fit ? (target - fit->intercept) / fit->slope : 0;
    if (!fit || fit->slope * sign < minSlope || !(days >= 0) || days > kHorizonDays) {
        t.reason = TrendReason::steady;
        return t;
    }
    t.reason = TrendReason::none;
    t.when = w.newest + static_cast<std::int64_t>(std::llround(days * kDay));
    return t;
}

}  // namespace

Trend batteryTrend(const std::vector<BatteryPoint>& curve) {
    const Window w = windowOf(curve, [](const BatteryPoint& p) { return p.healthPercent; });
    // Less than a tenth of a percent a year is no wear worth projecting.
    return project(w, kReplaceHealthPercent, -1, 0.1 / 365.25,
                   curve.empty() ? 100 : curve.back().healthPercent);
}

Trend volumeTrend(const std::vector<VolumePoint>& curve) {
    const Window w =
        windowOf(curve, [](const VolumePoint& p) { return static_cast<double>(p.usedBytes()); });
    if (curve.empty()) return {};
    const double total = static_cast<double>(curve.back().totalBytes);
    // Less than a thousandth of the volume a month is no growth worth projecting.
    return project(w, total, +1, total / 1000 / 30.44,
                   static_cast<double>(curve.back().usedBytes()));
}

std::int64_t monthsUntil(std::int64_t when, std::int64_t from) {
    const double months = static_cast<double>(when - from) / (30.44 * kDay);
    return std::max<std::int64_t>(1, std::llround(months));
}

std::string trendReasonText(TrendReason reason, bool volume) {
    switch (reason) {
        case TrendReason::none:
            return {};
        case TrendReason::needsMonth:
            return "Needs a month of history";
        case TrendReason::needsPoints:
            return "Needs more readings";
        case TrendReason::steady:
            return volume ? "Use is not growing" : "Health is holding steady";
        case TrendReason::reached:
            return volume ? "The volume is full" : "Health is at or below 80%";
    }
    return {};
}

}  // namespace orvane
