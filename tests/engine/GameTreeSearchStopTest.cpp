#include "SyntheticSearch.h"

#include "support/RecordingSink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The computer player's watcher stops a search from its own thread; the search must return
// promptly with the move of its last finished work.
TEST(GameTreeSearchStop, AStopFromAnotherThreadEndsTheSearch) {
    RecordingSink sink;
    SyntheticSearch search(3600, nullptr, sink, Clock::steady());
    search.setNodeLimit(50'000'000);
    std::atomic<int> evaluations{0};
    search.onEvaluate = [&](const SpecNode&) { ++evaluations; };
    auto result = std::async(std::launch::async, [&] {
        int row = -1;
        int col = -1;
        search.run(row, col);
        return col;
    });
    while (evaluations < 2000) {
        std::this_thread::sleep_for(1ms);
    }
    search.stop();
    ASSERT_EQ(result.wait_for(10s), std::future_status::ready);
    EXPECT_GE(result.get(), 0);
    EXPECT_TRUE(search.isStopped());
}

} // namespace
