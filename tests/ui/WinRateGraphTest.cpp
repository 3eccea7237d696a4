#include "ui/WinRateGraph.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Click {
    int x;
    int width;
    std::size_t moveCount;
    std::size_t move;
};

// A graph 216 pixels wide leaves 200 between its margins: 20 pixels a move for 10 moves.
TEST(WinRateGraphTest, AClickShowsTheNearestMoveAndStaysInTheGame) {
    const Click clicks[] = {{8, 216, 10, 0},   {17, 216, 10, 0},   {19, 216, 10, 1},
                            {108, 216, 10, 5}, {208, 216, 10, 10}, {0, 216, 10, 0},
                            {-30, 216, 10, 0}, {500, 216, 10, 10}, {100, 216, 0, 0},
                            {5, 10, 10, 0},    {8, 216, 1, 0},     {109, 216, 1, 1}};
    for (const Click& click : clicks) {
        EXPECT_EQ(WinRateGraph::moveAt(click.x, click.width, click.moveCount), click.move)
            << "x " << click.x << " width " << click.width << " moves " << click.moveCount;
    }
    for (const std::size_t moves : {std::size_t{1}, std::size_t{7}, std::size_t{120}}) {
        for (std::size_t k = 0; k <= moves; ++k) { // each point's own x gives its move
            const auto x = static_cast<int>(std::lround(WinRateGraph::xOf(k, 400, moves)));
            EXPECT_EQ(WinRateGraph::moveAt(x, 400, moves), k) << k << " of " << moves;
        }
    }
}

// Player 1's rate: Player 2's moves count from the other side, the empty board from the
// first move's rate before.
TEST(WinRateGraphTest, PointsArePlayerOnesWinRateAfterEachMove) {
    const std::vector<MoveAnalysis> analysis = {
        MoveAnalysis::of({1, 1}, 1, {1, 1}, 0.55, false, 0.6, false),
        MoveAnalysis::of({2, 2}, 2, {0, 1}, 0.4, false, 0.25, false),
        MoveAnalysis::of({0, 3}, 1, {0, 3}, 1.0, true, 1.0, true)};
    using Label = MoveAnalysis::Label;
    const std::vector<WinRateGraph::Point> expected = {
        {0.55, std::nullopt}, {0.6, Label::good}, {0.75, Label::mistake}, {1.0, Label::good}};
    EXPECT_EQ(WinRateGraph::pointsOf(analysis), expected);
    EXPECT_TRUE(WinRateGraph::pointsOf({}).empty());
}

} // namespace
