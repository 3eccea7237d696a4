#include "engine/HexDistance.h"
#include "engine/PathFinder.h"
#include "model/BoardText.h"
#include "model/OffBoardException.h"
#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

#include <stdexcept>

// Expected costs are written as the hand arithmetic in the order the cost map adds: base,
// then each stone's weight x w / d² in row-major stone order, then own and opposing bridges.

namespace {

using Features = PathFinder::Features;
constexpr double w0 = defaultWeights[0];
constexpr double w1 = defaultWeights[1];
constexpr double w2 = defaultWeights[2];
constexpr double w3 = defaultWeights[3];

// Player 1's and Player 2's cost maps of one board, with the default weights.
struct BothSides {
    explicit BothSides(Hex::Board b) : board(std::move(b)) {
        for (PathFinder* finder : {&player1, &player2}) {
            finder->setWeights(&weights);
            finder->setBoard(&board);
        }
    }
    Weights weights = defaultWeights;
    Hex::Board board;
    PathFinder player1{board.size(), 0, 1};
    PathFinder player2{board.size(), 1, 2};
};

TEST(HexDistance, CountsStepsOnTheSixNeighbourGrid) {
    // From (4, 4): itself, its six neighbours, then cells two and more steps away; (+2, -1)
    // is one diagonal step and one straight.
    const int cases[][5] = {{4, 4, 4, 4, 0}, {3, 4, 4, 4, 1}, {3, 5, 4, 4, 1},  {4, 3, 4, 4, 1},
                            {4, 5, 4, 4, 1}, {5, 3, 4, 4, 1}, {5, 4, 4, 4, 1},  {5, 5, 4, 4, 2},
                            {3, 3, 4, 4, 2}, {2, 2, 0, 3, 2}, {0, 0, 3, -2, 3}, {0, 0, 2, 2, 4},
                            {7, 0, 0, 7, 7}};
    for (const auto& [r1, c1, r2, c2, steps] : cases) {
        EXPECT_EQ(hexDistance(r1, c1, r2, c2), steps)
            << r1 << "," << c1 << " to " << r2 << "," << c2;
    }
}

// Every cost map of a whole board is pinned by the analyses; this one is worked by hand so that
// a reader sees the arithmetic. (1, 1) and (2, 2) form a bridge whose carrier is (1, 2) and
// (2, 1).
TEST(CostMap, StonesWeighByLineAndBridgeCarriersAreClampedToZero) {
    const BothSides sides(Hex::parseBoard(5, R"(
        . . . . .
         . X . . .
          . . X . .
           . . . . .
            . . . . .)"));
    const PathFinder& own = sides.player1;
    // 4.25 + w0 x 0.25 + w0 x 1.0 + w2 is below zero.
    EXPECT_LT(4.25 + w0 * 0.25 / 1.0 + w0 * 1.0 / 1.0 + 1 * w2, 0.0);
    EXPECT_EQ(own.cost(1, 2), 0.0);
    EXPECT_EQ(own.bridgeCounts(1, 2), (PathFinder::BridgeCounts{1, 0}));
    EXPECT_EQ(own.features(1, 2), (Features{1.25, 0.0, 1.0, 0.0}));
    EXPECT_EQ(own.features(2, 1), (Features{1.25, 0.0, 1.0, 0.0}));

    // For Player 2 the stones are the opponent's, and "in line" runs along the rows: (1, 1)
    // weighs fully on (1, 2), (2, 2) at the same distance but not in line a quarter.
    const PathFinder& other = sides.player2;
    EXPECT_EQ(other.bridgeCounts(1, 2), (PathFinder::BridgeCounts{0, 1}));
    EXPECT_EQ(other.cost(1, 2), 4.25 + w1 * 1.0 / 1.0 + w1 * 0.25 / 1.0 + 0 * w2 + 1 * w3);
    EXPECT_EQ(other.features(1, 2), (Features{0.0, 1.25, 0.0, 1.0}));

    // Occupied cells cost nothing for either side.
    EXPECT_EQ(own.cost(1, 1), 0.0);
    EXPECT_EQ(other.features(2, 2), Features{});

    // A path's features are the sums over its cells, both ends included.
    EXPECT_EQ(own.sumFeatures(Path{{{1, 2}, {2, 1}}, 0.0}), (Features{2.5, 0.0, 2.0, 0.0}));
    EXPECT_EQ(own.sumFeatures(Path{}), Features{});
}

TEST(CostMap, WeightsAreReadWhenTheBoardIsSetNotWhenTheyChange) {
    Weights weights{0.0, 0.0, 0.0, 0.0};
    const Hex::Board board = Hex::parseBoard(3, ". . .  . X .  . . .");
    PathFinder finder(3, 0, 1);
    finder.setWeights(&weights);
    finder.setBoard(&board);
    EXPECT_EQ(finder.cost(2, 1), 4.25);
    weights[0] = -1.0;
    EXPECT_EQ(finder.cost(2, 1), 4.25);
    finder.setBoard(&board);
    EXPECT_EQ(finder.cost(2, 1), 4.25 + -1.0 * 1.0 / 1.0);
}

TEST(CostMap, MisuseIsRefusedWithAnException) {
    EXPECT_THROW(PathFinder(5, 2, 1), std::invalid_argument);
    PathFinder finder(5, 0, 1);
    const Hex::Board board(5);
    EXPECT_THROW(finder.setBoard(&board), std::invalid_argument); // no weights yet
    const Weights weights = defaultWeights;
    finder.setWeights(&weights);
    const Hex::Board other(6);
    EXPECT_THROW(finder.setBoard(&other), std::invalid_argument);
    EXPECT_THROW(finder.setBoard(nullptr), std::invalid_argument);
    finder.setBoard(&board);
    EXPECT_THROW((void)finder.cost(-1, 0), Hex::OffBoardException);
    EXPECT_THROW((void)finder.features(0, 5), Hex::OffBoardException);
    EXPECT_THROW((void)finder.bridgeCounts(5, 5), Hex::OffBoardException);
}

} // namespace
