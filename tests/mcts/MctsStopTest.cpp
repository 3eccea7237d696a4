#include "mcts/MctsSearch.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A stop raised by another thread ends an unlimited search of several threads at once, with
// the best move found so far; a stop raised before the search still leaves a legal move.
TEST(MctsStopTest, AStopFromAnotherThreadEndsTheSearchWithItsBestMove) {
    MctsSearch::Config config;
    config.threads = 3;
    MctsSearch search(config);
    search.setPosition(MctsSearch::Position{9, {{4, 4}}, true});
    std::atomic<bool> stop{false};
    auto running =
        std::async(std::launch::async, [&] { return search.run(MctsSearch::Limits{}, stop); });
    std::this_thread::sleep_for(100ms);
    stop = true;
    ASSERT_EQ(running.wait_for(30s), std::future_status::ready);
    const MctsSearch::Result result = running.get();
    EXPECT_GT(result.playouts, 0U);
    EXPECT_NE(result.move, Hex::noMove);
    EXPECT_NE(result.move, (Hex::Coord{4, 4}));

    search.setPosition(MctsSearch::Position{9, {{4, 4}, {2, 3}}, true});
    const MctsSearch::Result stopped = search.run(MctsSearch::Limits{}, stop);
    EXPECT_TRUE(stopped.move.row >= 0 && stopped.move.row < 9) << "a legal move at once";
}

} // namespace
