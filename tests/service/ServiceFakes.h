// Test doubles for the service core: a scriptable platform and a main queue the test pumps.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "service/SystemService.h"
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

  private:
    // One read of the machine: counted, slowed or failing as the test asks.
    template <typename F>
    auto read(F get) const -> decltype(get()) {
        runs++;
        if (delay.count() > 0) std::this_thread::sleep_for(delay);
        if (throwInTools) throw std::runtime_error("tool exploded");
        std::lock_guard lock(mutex);
        return get();
    }
};

// Tasks posted from any thread; the test runs them on its own (the "main") thread.
class TestMainQueue {
  public:
    // The queue holds the state weakly: the service keeps this functor, and tasks keep the
    // service, so a strong reference would make a cycle.
    MainQueue queue() {
        return [weak = std::weak_ptr<State>(state_)](std::function<void()> task) {
            auto state = weak.lock();
            if (!state) return;
            {
                std::lock_guard lock(state->mutex);
                state->tasks.push_back(std::move(task));
            }
            state->wake.notify_all();
        };
    }
    // Runs every task already posted; returns how many ran.
    int runPending() {
        int n = 0;
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(state_->mutex);
                if (state_->tasks.empty()) return n;
                task = std::move(state_->tasks.front());
                state_->tasks.pop_front();
            }
            task();
            ++n;
        }
    }
    // Runs tasks until `done` holds; false when it still does not after `timeout`.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            std::function<void()> task;
            {
                std::unique_lock lock(state_->mutex);
                if (!state_->wake.wait_until(lock, deadline,
                                             [&] { return !state_->tasks.empty(); }))
                    return done();
                task = std::move(state_->tasks.front());
                state_->tasks.pop_front();
            }
            task();
        }
        return true;
    }
    std::size_t size() const {
        std::lock_guard lock(state_->mutex);
        return state_->tasks.size();
    }
    void clear() {
        std::deque<std::function<void()>> dropped;
        {
            std::lock_guard lock(state_->mutex);
            dropped.swap(state_->tasks);
        }
    }

  private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        std::deque<std::function<void()>> tasks;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace orvane::testing
