#include "mcts/MctsSearch.h"

#include <gtest/gtest.h>

#include <future>
#include <new>
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

    // Stopped before any playout: a considered move (where the cheapest paths cross), not the
    // first empty cell, and no win rate that pretends to know.
    MctsSearch fresh(config);
    fresh.setPosition(MctsSearch::Position{9, {{4, 4}, {2, 3}}, true});
    const MctsSearch::Result stopped = fresh.run(MctsSearch::Limits{}, stop);
    EXPECT_EQ(stopped.playouts, 0U);
    EXPECT_TRUE(stopped.move.row >= 1 && stopped.move.row < 8 && stopped.move.col >= 1 &&
                stopped.move.col < 8)
        << stopped.move.row << "," << stopped.move.col;
    EXPECT_EQ(stopped.winRate, 0.5);

    // A small root goes to the solver first, which reads the same flag at every position.
    MctsSearch small(config);
    small.setPosition(MctsSearch::Position{7, {{3, 3}, {2, 4}}, true});
    stop = false;
    auto solving =
        std::async(std::launch::async, [&] { return small.run(MctsSearch::Limits{}, stop); });
    std::this_thread::sleep_for(100ms);
    stop = true;
    ASSERT_EQ(solving.wait_for(30s), std::future_status::ready);
    EXPECT_NE(solving.get().move, Hex::noMove);
}

// A budget whose memory runs out with an error, as the system's may.
class FailingBudget : public TreeMemoryBudget {
public:
    FailingBudget() : TreeMemoryBudget(std::size_t{1} << 30) {}
    std::size_t reserve(std::size_t wanted, std::size_t least) override {
        if (++m_calls > 3) {
            throw std::bad_alloc();
        }
        return TreeMemoryBudget::reserve(wanted, least);
    }

private:
    std::atomic<int> m_calls{0};
};

// An allocation that fails in any search thread stops and joins the others before the error
// reaches the caller; the search can be used again afterwards.
TEST(MctsStopTest, AnErrorInASearchThreadReachesTheCaller) {
    MctsSearch::Config config;
    config.threads = 2;
    config.memory = std::make_shared<FailingBudget>();
    MctsSearch search(config);
    search.setPosition(MctsSearch::Position{9, {}, false});
    const std::atomic<bool> notStopped{false};
    EXPECT_THROW(search.run(MctsSearch::Limits{}, notStopped), std::bad_alloc);
    EXPECT_EQ(search.run(MctsSearch::Limits{}, notStopped).move, Hex::noMove) << "no position";
}

} // namespace
