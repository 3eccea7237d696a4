#include "mcts/GameAnalysis.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using Label = MoveAnalysis::Label;

TEST(GameAnalysis, LabelsAMoveByTheWinRateItLost) {
    const struct {
        double before;
        double after;
        double loss;
        Label label;
    } cases[] = {
        {0.60, 0.58, 0.02, Label::good},       {0.40, 0.45, 0.0, Label::good},
        {0.60, 0.55, 0.05, Label::inaccuracy}, {0.64, 0.56, 0.08, Label::inaccuracy},
        {0.70, 0.60, 0.10, Label::mistake},    {0.50, 0.31, 0.19, Label::mistake},
        {0.50, 0.30, 0.20, Label::blunder},    {1.0, 0.0, 1.0, Label::blunder},
    };
    for (const auto& test : cases) {
        const MoveAnalysis move =
            MoveAnalysis::of({1, 1}, 1, {2, 2}, test.before, false, test.after, false);
        EXPECT_NEAR(move.loss, test.loss, 1e-12) << test.before << " to " << test.after;
        EXPECT_EQ(move.label, test.label) << test.before << " to " << test.after;
    }
}

GameAnalysis::Settings playouts(std::uint64_t count) {
    GameAnalysis::Settings settings;
    settings.timePerPosition = std::chrono::milliseconds::max();
    settings.playoutsPerPosition = count;
    return settings;
}

// Player 1 joins the top and bottom of a 3 x 3 board with its third stone: the position
// after it is not searched, and the winning move's win rates are a proven 1.
TEST(GameAnalysis, AWinningLastMoveIsWonWithoutASearch) {
    const std::vector<Hex::Coord> moves{{0, 1}, {0, 0}, {1, 1}, {0, 2}, {2, 0}};
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    const std::atomic<bool> notStopped{false};
    const GameAnalysis::Result result =
        GameAnalysis(playouts(500))
            .run(3, moves, notStopped,
                 [&](std::size_t done, std::size_t total) { progress.emplace_back(done, total); });
    EXPECT_TRUE(result.complete);
    ASSERT_EQ(result.moves.size(), moves.size());
    EXPECT_EQ(progress.back(), std::make_pair(std::size_t{5}, std::size_t{5}));
    const MoveAnalysis& last = result.moves.back();
    EXPECT_EQ(last.player, 1);
    EXPECT_EQ(last.winRateAfter, 1.0);
    EXPECT_TRUE(last.provenAfter);
    EXPECT_TRUE(last.provenBefore); // (2, 0) and (2, 1) both win at once
    EXPECT_EQ(last.winRateBefore, 1.0);
    EXPECT_EQ(last.label, Label::good);
}

// The stop flag, raised between two searches, ends the review with the moves finished.
TEST(GameAnalysis, AStopEndsTheReviewWithTheMovesFinished) {
    const std::vector<Hex::Coord> moves{{1, 1}, {2, 2}, {0, 3}, {3, 0}};
    std::atomic<bool> stop{false};
    const GameAnalysis::Result result =
        GameAnalysis(playouts(200)).run(4, moves, stop, [&](std::size_t done, std::size_t) {
            stop = done == 3;
        });
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.moves.size(), 2u);
}

TEST(GameAnalysis, RefusesWhatIsNoGame) {
    const std::atomic<bool> notStopped{false};
    const GameAnalysis analysis(playouts(10));
    const std::vector<std::pair<std::uint32_t, std::vector<Hex::Coord>>> games{
        {4, {{1, 1}, {1, 1}}},                                 // a taken cell
        {4, {{1, 1}, {2, 2}, {4, 4}}},                         // a late swap
        {3, {{0, 1}, {0, 0}, {1, 1}, {0, 2}, {2, 0}, {2, 2}}}, // a move after the win
        {1, {{0, 0}}},
    };
    for (const auto& [size, moves] : games) {
        EXPECT_THROW(analysis.run(size, moves, notStopped), std::invalid_argument) << size;
    }
}

} // namespace
