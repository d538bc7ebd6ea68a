#include "service/SerialQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace orvane {

// Shared between the queue object and its thread, so the thread can outlive the object when
// it has to be detached.
struct SerialQueue::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> items;
    bool stopping = false;
    std::thread::id workerId;
    std::thread worker;
};

namespace {

void workLoop(std::shared_ptr<SerialQueue::State> s);

}  // namespace

SerialQueue::SerialQueue(std::string label)
    : label_(std::move(label)), state_(std::make_shared<State>()) {
    std::lock_guard lock(state_->mutex);
    state_->worker = std::thread([s = state_] {
        {
            std::lock_guard l(s->mutex);  // wait until the constructor stored the thread
        }
        workLoop(s);
    });
    state_->workerId = state_->worker.get_id();
}

SerialQueue::~SerialQueue() {
    close();
}

void SerialQueue::close() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        dropped.swap(state_->items);
    }
    state_->wake.notify_all();
    // Items that never ran are destroyed here, outside the lock.
    dropped.clear();
    // Closed before: the worker is gone, and its id may since belong to another thread.
    if (!state_->worker.joinable()) return;
    if (std::this_thread::get_id() == state_->workerId)
        state_->worker.detach();  // closed from one of our own items: cannot join ourselves
    else
        state_->worker.join();
}

void SerialQueue::submit(std::function<void()> item) {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->stopping) return;
        state_->items.push_back(std::move(item));
    }
    state_->wake.notify_one();
}

bool SerialQueue::isCurrent() const {
    return std::this_thread::get_id() == state_->workerId;
}

namespace {

void workLoop(std::shared_ptr<SerialQueue::State> s) {
    for (;;) {
        std::function<void()> item;
        {
            std::unique_lock lock(s->mutex);
            s->wake.wait(lock, [&] { return s->stopping || !s->items.empty(); });
            if (s->stopping) return;
            item = std::move(s->items.front());
            s->items.pop_front();
        }
        try {
            item();
        } catch (...) {
            // An item's failure must not end the queue; the item itself handles its fallback.
        }
        item = nullptr;  // release what the item captured before waiting again
    }
}

}  // namespace

}  // namespace orvane
