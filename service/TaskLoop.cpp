#include "service/TaskLoop.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace orvane {

struct TaskLoop::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
};

TaskLoop::TaskLoop() : state_(std::make_shared<State>()) {}

TaskLoop::~TaskLoop() {
    clear();
}

MainQueue TaskLoop::queue() {
    return [weak = std::weak_ptr<State>(state_)](std::function<void()> task) {
        const auto state = weak.lock();
        if (!state) return;
        {
            std::lock_guard lock(state->mutex);
            state->tasks.push_back(std::move(task));
        }
        state->wake.notify_all();
    };
}

int TaskLoop::runPending() {
    int n = 0;
    for (;; ++n) {
        std::function<void()> task;
        {
            std::lock_guard lock(state_->mutex);
            if (state_->tasks.empty()) return n;
            task = std::move(state_->tasks.front());
            state_->tasks.pop_front();
        }
        task();
    }
}

bool TaskLoop::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        std::function<void()> task;
        {
            std::unique_lock lock(state_->mutex);
            if (!state_->wake.wait_until(lock, deadline, [&] { return !state_->tasks.empty(); }))
                return done();
            task = std::move(state_->tasks.front());
            state_->tasks.pop_front();
        }
        task();
    }
    return true;
}

std::size_t TaskLoop::size() const {
    std::lock_guard lock(state_->mutex);
    return state_->tasks.size();
}

void TaskLoop::clear() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(state_->mutex);
        dropped.swap(state_->tasks);
    }
    // Destroyed outside the lock: a task may hold the last reference to the service.
}

}  // namespace orvane
