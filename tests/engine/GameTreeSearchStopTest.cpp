#include "engine/HexSearch.h"
#include "engine/PathFinder.h"
#include "model/Game.h"

#include "support/RecordingSink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The computer player's watcher stops a search from its own thread. A search on three threads,
// to a depth it would take minutes to reach, is stopped in its third iteration: the search and
// its workers are gone after at most the evaluation each was making, a fraction of a second; the
// bound leaves room for a sanitizer on a machine shared by several builds (1.01 s seen under
// ThreadSanitizer at a load of 17 on 2 cores), and is still far below the rest of the iteration.
TEST(GameTreeSearchStop, AStopEndsAParallelSearchAndItsWorkers) {
    Weights weights = defaultWeights;
    PathFinder player1(13, 0, 1);
    PathFinder player2(13, 1, 2);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    const std::atomic<bool> stopped{false};
    RecordingSink sink;
    auto search = std::make_unique<HexSearch>(
        0,
        std::make_unique<HexNode>(nullptr, TreeNode::player1ToMove, Hex::noMove,
                                  Hex::Game(13, {{6, 6}, {5, 7}}).board()),
        HexSearch::Owner{player1, player2, stopped}, sink, Clock::steady());
    search->setFixedDepth(12);
    search->setThreads(3);
    HexSearch& running = *search;
    std::mutex lock; // as the computer player guards its search against its watcher
    auto done = std::async(std::launch::async, [&] {
        int row = -1;
        int col = -1;
        running.run(row, col);
        const std::lock_guard guard(lock);
        search.reset(); // joins the workers
        return Hex::Coord{row, col};
    });
    ASSERT_TRUE(sink.waitForStatus("Looking ahead 3 moves...", 120s));
    std::this_thread::sleep_for(100ms);
    {
        const std::lock_guard guard(lock);
        ASSERT_TRUE(search) << "finished before the stop";
        search->stop();
    }
    const auto stoppedAt = std::chrono::steady_clock::now();
    ASSERT_EQ(done.wait_for(10s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - stoppedAt, 3s);
    EXPECT_GE(done.get().row, 0); // the move of depth 2
}

} // namespace
