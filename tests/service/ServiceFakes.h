// A scriptable platform for the service core's tests.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "service/platform/Platform.h"

namespace orvane::testing {

class FakePlatform : public Platform {
  public:
    FakePlatform() {
        facts.hardware.logicalProcessors = 4;
        facts.hardware.memoryBytes = facts.installedMemory = 16LL << 30;
        facts.hardware.osVersion = OsVersion{14, 5, 0};
        facts.hardware.uptime = 1000;
    }

    // Each full load reads the host name once: it numbers the loads.
    HardwareFacts hardware() const override {
        HardwareFacts h = read([&] { return facts.hardware; });
        h.hostName = "host-" + std::to_string(++hostReads);
        return h;
    }
    PowerFacts power() const override {
        return read([&] { return facts.power; });
    }
    std::vector<VolumeFacts> volumes() const override {
        return read([&] { return facts.volumes; });
    }
    std::vector<GpuFacts> graphics() const override {
        return read([&] { return facts.graphics; });
    }
    std::int64_t installedMemory() const override { return facts.installedMemory; }
    LiveInputs sampleLive() const override {
        readsOnMain += std::this_thread::get_id() == mainThread;
        const int k = samples++;
        LiveInputs in;
        in.uptime = 1000 + k;
        std::lock_guard lock(mutex);
        if (failLive) return in;
        in.vm = VmStats{4096, 1000, 500, 400, 50, 100, 600};
        in.swapUsed = 0;
        std::vector<CpuTicks> ticks(cores);
        for (std::size_t i = 0; i < ticks.size(); ++i)
            ticks[i] = {static_cast<std::uint32_t>(100 * k), static_cast<std::uint32_t>(50 * k),
                        static_cast<std::uint32_t>(850 * k), 0};
        in.cpuTicks = ticks;
        return in;
    }

    // Changes the facts while the service may be reading them.
    template <typename F>
    void edit(F change) {
        std::lock_guard lock(mutex);
        change(facts);
    }

    mutable std::mutex mutex;
    MachineFacts facts;
    std::size_t cores = 4;
    bool failLive = false;
    std::chrono::microseconds delay{0};
    std::atomic<bool> throwInTools{false};
    mutable std::atomic<int> runs{0};
    mutable std::atomic<int> hostReads{0};
    mutable std::atomic<int> samples{0};
    // Reads made on the thread that built the platform (the test's "main" thread).
    const std::thread::id mainThread = std::this_thread::get_id();
    mutable std::atomic<int> readsOnMain{0};

  private:
    // One read of the machine: counted, slowed or failing as the test asks.
    template <typename F>
    auto read(F get) const -> decltype(get()) {
        runs++;
        readsOnMain += std::this_thread::get_id() == mainThread;
        if (delay.count() > 0) std::this_thread::sleep_for(delay);
        if (throwInTools) throw std::runtime_error("tool exploded");
        std::lock_guard lock(mutex);
        return get();
    }
};

}  // namespace orvane::testing
