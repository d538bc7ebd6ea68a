#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "service/SerialQueue.h"

using namespace orvane;
using namespace std::chrono_literals;

TEST(SerialQueue, RunsItemsOneAtATimeInOrder) {
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::promise<void> done;
    {
        SerialQueue q("test.order");
        EXPECT_EQ(q.label(), "test.order");
        for (int i = 0; i < 200; ++i)
            q.submit([&, i] {
                if (running.fetch_add(1) != 0) overlapped = true;
                order.push_back(i);
                running.fetch_sub(1);
                if (i == 199) done.set_value();
            });
        done.get_future().wait();
    }
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_FALSE(overlapped);
}

TEST(SerialQueue, DestructionRunsNoFurtherItems) {
    std::atomic<int> ran{0};
    std::promise<void> started;
    {
        SerialQueue q("test.stop");
        q.submit([&] {
            started.set_value();
            std::this_thread::sleep_for(50ms);
            ran++;
        });
        for (int i = 0; i < 10; ++i)
            q.submit([&] { ran++; });
        started.get_future().wait();
    }  // joins after the running item; the ten queued ones never run
    EXPECT_EQ(ran, 1);
}

TEST(SerialQueue, AThrowingItemDoesNotStopTheQueue) {
    std::promise<void> done;
    SerialQueue q("test.throw");
    q.submit([] { throw std::runtime_error("boom"); });
    q.submit([&] { done.set_value(); });
    EXPECT_EQ(done.get_future().wait_for(5s), std::future_status::ready);
}

TEST(SerialQueue, CanBeDestroyedFromOneOfItsOwnItems) {
    auto q = std::make_shared<SerialQueue>("test.self");
    std::weak_ptr<SerialQueue> weak = q;
    q->submit([q]() mutable {
        EXPECT_TRUE(q->isCurrent());
        q.reset();
    });
    q->submit([] {});
    q.reset();  // the item now holds the last reference
    // Wait until the queue is gone; it must not deadlock joining itself.
    for (int i = 0; i < 500 && !weak.expired(); ++i)
        std::this_thread::sleep_for(2ms);
    EXPECT_TRUE(weak.expired());
}
