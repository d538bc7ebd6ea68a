// The main queue of a program without an event loop of its own (the report tool, the tests):
// tasks posted from any thread wait until the thread that owns the loop runs them, in order.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

#include "service/SystemService.h"

namespace orvane {

class TaskLoop {
  public:
    TaskLoop();
    ~TaskLoop();
    TaskLoop(const TaskLoop&) = delete;
    TaskLoop& operator=(const TaskLoop&) = delete;

    // Posts to this loop. The queue holds the loop weakly: the service keeps the queue and
    // the tasks keep the service, so a strong hold would make a cycle. A task posted after
    // the loop is gone is dropped.
    MainQueue queue();
    // Runs every task already posted; returns how many ran.
    int runPending();
    // Runs tasks until `done` holds (checked before each); false when it still does not after
    // `timeout`.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds timeout = std::chrono::minutes(1));
    // Tasks posted and not yet run.
    std::size_t size() const;
    // Drops the tasks not yet run, as a program does at exit.
    void clear();

  private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace orvane
