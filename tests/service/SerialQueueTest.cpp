#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "service/SerialQueue.h"

using namespace orvane;
using namespace std::chrono_literals;

// Items run one at a time in order, a throwing one included; destroying the queue lets the
// running item finish and runs none of those still queued.
TEST(SerialQueue, OneAtATimeInOrderUntilDestroyed) {
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::promise<void> last;
    std::atomic<int> afterLast{0};
    {
        SerialQueue q("test.order");
        for (int i = 0; i < 200; ++i)
            q.submit([&, i] {
                if (running.fetch_add(1) != 0) overlapped = true;
                order.push_back(i);
                running.fetch_sub(1);
                if (i == 100) throw std::runtime_error("boom");
                if (i == 199) {
                    last.set_value();
                    std::this_thread::sleep_for(50ms);
                    ++afterLast;
                }
            });
        for (int i = 0; i < 10; ++i)
            q.submit([&] { ++afterLast; });
        last.get_future().wait();
    }
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(afterLast, 1);
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
