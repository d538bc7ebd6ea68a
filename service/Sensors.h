// The published record of the sensors and throughput: the platform's latest sensor facts,
// with bytes per second worked out from the sample before.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "service/platform/SensorFacts.h"

namespace orvane {

struct NetworkActivity {
    std::string name;
    bool wireless = false;
    std::uint64_t receivedBytes = 0;  // since the interface came up
    std::uint64_t sentBytes = 0;
    std::optional<double> receivedPerSecond;  // known from the second sample on
    std::optional<double> sentPerSecond;
    bool operator==(const NetworkActivity&) const = default;
};

struct DiskActivity {
    std::string name;
    std::uint64_t readBytes = 0;  // since the system started
    std::uint64_t writtenBytes = 0;
    std::optional<double> readPerSecond;
    std::optional<double> writtenPerSecond;
    bool operator==(const DiskActivity&) const = default;
};

struct SensorReadings {
    bool sampled = false;  // false until the first sample
    double time = 0;       // of the sample, on the platform's clock
    std::vector<SensorDeviceFacts> devices;
    std::vector<GpuLoadFacts> gpus;
    std::optional<ThermalState> thermalState;
    std::vector<NetworkActivity> network;
    std::vector<DiskActivity> disks;
    bool operator==(const SensorReadings&) const = default;
};

// The summed rates of one published sample, for the graphs of the last two minutes: every
// interface's received and sent bytes per second, every disk's read and written. A sum is
// empty when no interface (or disk) has a rate yet.
struct ThroughputPoint {
    double time = 0;  // when the sample was asked for, on the service's clock
    std::optional<double> received, sent, read, written;
    bool operator==(const ThroughputPoint&) const = default;
};

// Points a second or so apart; appending drops what is older than two minutes before the
// newest, and a clock that went backwards starts afresh.
class ThroughputHistory {
  public:
    static constexpr double kSpan = 120;
    void append(const SensorReadings& readings, double time);
    const std::deque<ThroughputPoint>& points() const { return points_; }

  private:
    std::deque<ThroughputPoint> points_;
};

// The record of a fresh sample. A rate is known when the previous sample has the same
// interface or disk, was taken earlier, and its counters are not larger (a counter that went
// back was reset: the interface came up again).
SensorReadings collectSensors(const SensorReadings& previous, SensorInputs inputs);

// "nominal", "fair", "serious", "critical".
const char* thermalStateName(ThermalState state);

}  // namespace orvane
