#include "service/LiveHistory.h"

#include <time.h>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace orvane {

void LiveHistory::push(const HistoryPoint& point) {
    slots_[end_ % kCapacity] = point;
    ++end_;
    size_ = std::min(size_ + 1, kCapacity);
}

void LiveHistory::clear() {
    // The slot numbers go on: a drawing sees the history start afresh rather than stand still.
    size_ = 0;
}

const HistoryPoint& LiveHistory::newest() const {
    static const HistoryPoint none;
    return size_ == 0 ? none : at(end_ - 1);
}

void LiveHistory::append(const HistoryPoint& point) {
    if (size_ == 0) return push(point);
    const HistoryPoint last = newest();
    const double dt = point.time - last.time;
    // Backwards (or not a number): the clock is not the one the history was kept on.
    if (!(dt > -0.5)) {
        clear();
        return push(point);
    }
    if (dt < 0.5) {
        // A second sample within the same second: the newest values win, but a sample that
        // measured nothing does not wipe what the slot already shows.
        HistoryPoint merged = point;
        if (!point.cpuKnown && last.cpuKnown) {
            merged.cpuKnown = true;
            merged.cpuUser = last.cpuUser;
            merged.cpuSystem = last.cpuSystem;
        }
        if (!point.memKnown && last.memKnown) {
            merged.memKnown = true;
            merged.memUsed = last.memUsed;
            merged.memUsedBytes = last.memUsedBytes;
        }
        slots_[(end_ - 1) % kCapacity] = merged;
        return;
    }
    const double steps = std::round(dt);
    if (steps >= static_cast<double>(kCapacity)) {
        clear();
        return push(point);
    }
    for (int missing = static_cast<int>(steps) - 1; missing > 0; --missing) {
        HistoryPoint gap;
        gap.time = newest().time + 1;
        push(gap);
    }
    push(point);
}

namespace {

template <class Value, class Known>
HistoryStats statsOf(const LiveHistory& h, Value value, Known known) {
    HistoryStats s;
    double sum = 0;
    for (std::uint64_t i = h.begin(); i < h.end(); ++i) {
        const HistoryPoint& p = h.at(i);
        if (!known(p)) continue;
        const double v = value(p);
        sum += v;
        s.peak = s.count == 0 ? v : std::max(s.peak, v);
        ++s.count;
    }
    if (s.count > 0) s.average = sum / static_cast<double>(s.count);
    return s;
}

}  // namespace

HistoryStats LiveHistory::cpuStats() const {
    return statsOf(
        *this, [](const HistoryPoint& p) { return p.cpuBusy(); },
        [](const HistoryPoint& p) { return p.cpuKnown; });
}

HistoryStats LiveHistory::memStats() const {
    return statsOf(
        *this, [](const HistoryPoint& p) { return double{p.memUsed}; },
        [](const HistoryPoint& p) { return p.memKnown; });
}

HistoryPoint historyPoint(const LiveMetrics& m, double time, bool cpuMeasured, bool memMeasured) {
    HistoryPoint p;
    p.time = time;
    p.cpuKnown = cpuMeasured;
    if (cpuMeasured) {
        p.cpuUser = static_cast<float>(std::clamp(m.cpuUserPct / 100, 0.0, 1.0));
        p.cpuSystem = static_cast<float>(std::clamp(m.cpuSystemPct / 100, 0.0, 1.0));
    }
    // Without the installed memory there is no share to draw.
    p.memKnown = memMeasured && m.memTotalBytes >= 1;
    if (p.memKnown) {
        p.memUsed = static_cast<float>(m.memUsedFraction());
        p.memUsedBytes = m.memUsedBytes;
    }
    return p;
}

double historyClock() {
#if defined(__APPLE__)
    // CLOCK_MONOTONIC goes on while the Mac sleeps (CLOCK_UPTIME_RAW would not).
    return static_cast<double>(clock_gettime_nsec_np(CLOCK_MONOTONIC)) / 1e9;
#elif defined(__linux__)
    // CLOCK_BOOTTIME goes on during suspend (CLOCK_MONOTONIC would not).
    timespec ts{};
    if (::clock_gettime(CLOCK_BOOTTIME, &ts) == 0)
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
#endif
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace orvane
