// A serial work queue: one worker thread runs the submitted items one at a time, in the
// order submitted. Destroying the queue runs no further items; an item already running
// finishes on its own (the thread is joined, or detached when the queue is destroyed from
// one of its own items).
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace orvane {

class SerialQueue {
  public:
    explicit SerialQueue(std::string label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const { return label_; }
    void submit(std::function<void()> item);
    // Runs no further items and waits for the one running, unless called from one of its own
    // items. The destructor does the same; closing twice does nothing more.
    void close();
    // True when called from this queue's worker thread.
    bool isCurrent() const;

    struct State;  // shared with the worker thread (defined in the .cpp)

  private:
    std::string label_;
    std::shared_ptr<State> state_;
};

}  // namespace orvane
