#include "platform/Event.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Two signals, then waits in the same thread: each mode keeps what it promises.
TEST(Event, EachModeKeepsItsSignals) {
    Event manual(Event::Mode::ManualReset);
    Event single(Event::Mode::AutoReset);
    Event counting(Event::Mode::Counting);
    for (Event* event : {&manual, &single, &counting}) {
        EXPECT_FALSE(event->isSet());
        event->set();
        event->set();
        event->wait();
    }
    EXPECT_FALSE(single.isSet());
    EXPECT_TRUE(counting.isSet());
    counting.wait();
    EXPECT_FALSE(counting.isSet());
    manual.wait();
    EXPECT_TRUE(manual.isSet());
    manual.reset();
    EXPECT_FALSE(manual.isSet());
}

TEST(Event, WaitAnyPrefersTheFirstAndConsumesOnlyTheWinner) {
    Event stop(Event::Mode::ManualReset);
    Event answer(Event::Mode::AutoReset);
    answer.set();
    EXPECT_EQ(Event::waitAny(stop, answer), 1u);
    EXPECT_FALSE(answer.isSet());
    answer.set();
    stop.set();
    EXPECT_EQ(Event::waitAny(stop, answer), 0u);
    EXPECT_TRUE(answer.isSet());
    EXPECT_TRUE(stop.isSet());
}

TEST(Event, WaitAnyWakesOnASignalFromAnotherThread) {
    for (int round = 0; round < 200; ++round) {
        Event first(Event::Mode::ManualReset);
        Event second(Event::Mode::Counting);
        auto waiter = std::async(std::launch::async, [&] { return Event::waitAny(first, second); });
        if (round % 3 == 0) {
            std::this_thread::sleep_for(100us);
        }
        (round % 2 == 0 ? second : first).set();
        ASSERT_EQ(waiter.wait_for(10s), std::future_status::ready);
        EXPECT_EQ(waiter.get(), round % 2 == 0 ? 1u : 0u);
    }
}

} // namespace
