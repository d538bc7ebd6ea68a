// The last two minutes of live samples, one slot a second, kept for the Performance page's
// graph. A fixed ring: appending never allocates. A second without a sample stays an empty
// slot, so the graph leaves a gap there instead of joining across it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "service/Records.h"

namespace orvane {

// What the graph shows of one sample.
struct HistoryPoint {
    double time = 0;        // seconds on the sample clock
    bool cpuKnown = false;  // false: no processor measurement for this second
    bool memKnown = false;  // false: no memory measurement for this second
    float cpuUser = 0;      // share of all processor time, 0 to 1 (nice counts as user)
    float cpuSystem = 0;    // 0 to 1
    float memUsed = 0;      // used over installed memory, not clamped
    std::int64_t memUsedBytes = 0;

    double cpuBusy() const { return double{cpuUser} + double{cpuSystem}; }
};

// Mean and maximum of a series over the points that have it.
struct HistoryStats {
    double average = 0;
    double peak = 0;
    std::size_t count = 0;  // points that took part; 0: nothing known
};

class LiveHistory {
  public:
    static constexpr std::size_t kCapacity = 120;

    // Adds a sample. Slots are a second apart, counted from the newest sample's time: a sample
    // less than half a second after the newest replaces it (a refresh between two ticks), a
    // sample n seconds later leaves n - 1 empty slots before it. A clock that went backwards
    // or a pause longer than the ring starts the history afresh.
    void append(const HistoryPoint& point);
    void clear();

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Slots are numbered from the first ever written: [begin(), end()) are held, end() - 1 is
    // the newest. A drawing can tell from end() how far the history moved since it last looked.
    std::uint64_t begin() const { return end_ - size_; }
    std::uint64_t end() const { return end_; }
    const HistoryPoint& at(std::uint64_t slot) const { return slots_[slot % kCapacity]; }
    // The newest slot (a default point when empty).
    const HistoryPoint& newest() const;

    // Processor busy share and memory used share over the points that have them.
    HistoryStats cpuStats() const;
    HistoryStats memStats() const;

  private:
    void push(const HistoryPoint& point);

    std::array<HistoryPoint, kCapacity> slots_{};
    std::uint64_t end_ = 0;
    std::size_t size_ = 0;
};

// The point a published live sample gives. `cpuMeasured` and `memMeasured` say whether this
// sample measured the processor (it had comparable ticks) and the memory.
HistoryPoint historyPoint(const LiveMetrics& m, double time, bool cpuMeasured, bool memMeasured);

// Seconds on a clock that keeps counting while the machine sleeps, so a sleep leaves a gap.
double historyClock();

}  // namespace orvane
