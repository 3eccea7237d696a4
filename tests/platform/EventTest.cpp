#include "platform/Event.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(Event, ManualResetStaysSignalledUntilReset) {
    Event event(Event::Mode::ManualReset);
    EXPECT_FALSE(event.isSet());
    event.set();
    event.wait();
    event.wait();
    EXPECT_TRUE(event.isSet());
    event.reset();
    EXPECT_FALSE(event.isSet());
}

TEST(Event, AutoResetHoldsOneSignal) {
    Event event(Event::Mode::AutoReset);
    event.set();
    event.set();
    event.wait();
    EXPECT_FALSE(event.isSet());
}

TEST(Event, CountingKeepsEverySignal) {
    Event event(Event::Mode::Counting);
    event.set();
    event.set();
    event.wait();
    EXPECT_TRUE(event.isSet());
    event.wait();
    EXPECT_FALSE(event.isSet());
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

TEST(Event, TwoSignalsBeforeAnyWaitAreTwoWakeUps) {
    Event answers(Event::Mode::Counting);
    answers.set();
    answers.set();
    auto waiter = std::async(std::launch::async, [&] {
        answers.wait();
        answers.wait();
        return true;
    });
    ASSERT_EQ(waiter.wait_for(10s), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
}

} // namespace
