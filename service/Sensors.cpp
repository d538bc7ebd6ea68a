#include "service/Sensors.h"

#include <algorithm>

namespace orvane {

namespace {

std::optional<double> rate(std::uint64_t before, std::uint64_t now, double seconds) {
    if (!(seconds > 0) || now < before) return std::nullopt;
    return static_cast<double>(now - before) / seconds;
}

template <typename T>
const T* named(const std::vector<T>& list, const std::string& name) {
    const auto it =
        std::find_if(list.begin(), list.end(), [&](const T& item) { return item.name == name; });
    return it == list.end() ? nullptr : &*it;
}

}  // namespace

SensorReadings collectSensors(const SensorReadings& previous, SensorInputs inputs) {
    SensorReadings r;
    r.sampled = true;
    r.time = inputs.time;
    r.devices = std::move(inputs.devices);
    r.gpus = std::move(inputs.gpus);
    r.thermalState = inputs.thermalState;
    const double seconds = previous.sampled ? inputs.time - previous.time : 0;
    for (NetworkCounters& c : inputs.network) {
        NetworkActivity a{std::move(c.name), c.wireless, c.receivedBytes, c.sentBytes, {}, {}};
        if (const NetworkActivity* p = named(previous.network, a.name)) {
            a.receivedPerSecond = rate(p->receivedBytes, a.receivedBytes, seconds);
            a.sentPerSecond = rate(p->sentBytes, a.sentBytes, seconds);
        }
        r.network.push_back(std::move(a));
    }
    for (DiskCounters& c : inputs.disks) {
        DiskActivity a{std::move(c.name), c.readBytes, c.writtenBytes, {}, {}};
        if (const DiskActivity* p = named(previous.disks, a.name)) {
            a.readPerSecond = rate(p->readBytes, a.readBytes, seconds);
            a.writtenPerSecond = rate(p->writtenBytes, a.writtenBytes, seconds);
        }
        r.disks.push_back(std::move(a));
    }
    return r;
}

void ThroughputHistory::append(const SensorReadings& r, double time) {
    if (!points_.empty() && !(time >= points_.back().time)) points_.clear();
    ThroughputPoint p{time, {}, {}, {}, {}};
    const auto add = [](std::optional<double>& sum, const std::optional<double>& rate) {
        if (rate) sum = sum.value_or(0) + *rate;
    };
    for (const NetworkActivity& n : r.network) {
        add(p.received, n.receivedPerSecond);
        add(p.sent, n.sentPerSecond);
    }
    for (const DiskActivity& d : r.disks) {
        add(p.read, d.readPerSecond);
        add(p.written, d.writtenPerSecond);
    }
    points_.push_back(p);
    while (points_.front().time < time - kSpan)
        points_.pop_front();
}

const char* thermalStateName(ThermalState state) {
    switch (state) {
        case ThermalState::nominal:
            return "nominal";
        case ThermalState::fair:
            return "fair";
        case ThermalState::serious:
            return "serious";
        case ThermalState::critical:
            return "critical";
    }
    return "nominal";
}

}  // namespace orvane
