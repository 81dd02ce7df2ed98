#include "platform/Listeners.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>

// A second listener joins the first; each hears until its own subscription ends, also when it
// was moved or outlives the event.
TEST(Listeners, EachListenerHearsUntilItsSubscriptionEnds)
{
    int heard[2] = {};
    auto event = std::make_unique<CListeners>();
    CSubscription first = event->Subscribe([&heard] { ++heard[0]; });
    CSubscription second = event->Subscribe([&heard] { ++heard[1]; });
    event->Notify();
    CSubscription moved = std::move(first);
    event->Notify();
    moved.Reset();
    event->Notify();
    EXPECT_EQ(std::pair(heard[0], heard[1]), std::pair(2, 3));
    event.reset();
}

// Once the subscription has ended on one thread, its listener is not running on another.
TEST(Listeners, AnEndedSubscriptionIsNeverCalledAgain)
{
    CListeners event;
    std::atomic<bool> gone = false;
    std::atomic<int> lateCalls = 0;
    CSubscription subscription = event.Subscribe([&] { lateCalls += gone ? 1 : 0; });
    std::atomic<bool> stop = false;
    std::thread notifier([&] {
        while (!stop)
            event.Notify();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    subscription.Reset();
    gone = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    stop = true;
    notifier.join();
    EXPECT_EQ(lateCalls, 0);
}
