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

class EmptyBoard : public testing::TestWithParam<int> {};

TEST_P(EmptyBoard, EveryCellCostsItsBaseOffTheMiddleLineAndHasNoFeatures) {
    const int n = GetParam();
    const BothSides sides(Hex::Board(static_cast<std::uint32_t>(n)));
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            EXPECT_EQ(sides.player1.features(row, col), Features{});
            EXPECT_EQ(sides.player2.features(row, col), Features{});
            // The two directions are mirror images of each other.
            EXPECT_EQ(sides.player1.cost(row, col), sides.player2.cost(col, row));
            const double steps = (sides.player1.cost(row, col) - 4.0) / 0.25;
            EXPECT_GE(steps, 0.0);
            EXPECT_EQ(steps, static_cast<int>(steps));
        }
    }
    // Each row is cheapest on the middle line: at n/2 + n/4 on the first row, n/4 on the last
    // (7 and 2 on the 10 x 10 board).
    const int middle = n / 2 + n / 4;
    EXPECT_EQ(sides.player1.cost(0, middle), 4.0);
    EXPECT_EQ(sides.player1.cost(0, 0), 4.0 + 0.25 * middle);
    EXPECT_EQ(sides.player1.cost(n - 1, n / 4), 4.0);
    EXPECT_EQ(sides.player1.cost(n - 1, n - 1), 4.0 + 0.25 * (n - 1 - n / 4));
}

INSTANTIATE_TEST_SUITE_P(Sizes3To30, EmptyBoard, testing::Range(3, 31));

TEST(CostMap, OneStoneWeighsFullyInLineAndAQuarterOverDistanceElsewhere) {
    const BothSides sides(
        Hex::parseBoard(5, ". . . . .  . . . . .  . . X . .  . . . . .  . . . . ."));
    const PathFinder& own = sides.player1;
    // Directly behind and ahead of the stone in Player 1's direction, at distance 1.
    EXPECT_EQ(own.cost(3, 2), 4.0 + w0 * 1.0 / 1.0);
    EXPECT_EQ(own.features(3, 2), (Features{1.0, 0.0, 0.0, 0.0}));
    EXPECT_EQ(own.cost(1, 3), 4.0 + w0 * 1.0 / 1.0);
    // In the same row: never in line, 0.25 / d³.
    EXPECT_EQ(own.cost(2, 3), 4.25 + w0 * 0.25 / 1.0);
    EXPECT_EQ(own.features(2, 3), (Features{0.25, 0.0, 0.0, 0.0}));
    // Two rows up, two steps away: (0, 3) is in line, (0, 2) is not.
    EXPECT_EQ(own.cost(0, 3), 4.0 + w0 * 1.0 / 4.0);
    EXPECT_EQ(own.features(0, 3), (Features{0.25, 0.0, 0.0, 0.0}));
    EXPECT_EQ(own.cost(0, 2), 4.25 + w0 * 0.125 / 4.0);
    EXPECT_EQ(own.features(0, 2), (Features{0.03125, 0.0, 0.0, 0.0}));

    // For Player 2 the stone is the opponent's, and "in line" runs along the rows.
    const PathFinder& other = sides.player2;
    EXPECT_EQ(other.cost(2, 3), 4.0 + w1 * 1.0 / 1.0);
    EXPECT_EQ(other.features(2, 3), (Features{0.0, 1.0, 0.0, 0.0}));
    EXPECT_EQ(other.cost(3, 2), 4.25 + w1 * 0.25 / 1.0);
    EXPECT_EQ(other.features(3, 2), (Features{0.0, 0.25, 0.0, 0.0}));
}

TEST(CostMap, OccupiedCellsCostNothingAndHaveNoFeaturesWhoeverHoldsThem) {
    const BothSides sides(Hex::parseBoard(4, R"(
        . X . .
         . O X .
          . . . .
           . . . .)"));
    for (const auto& [row, col] : {std::pair{0, 1}, {1, 1}, {1, 2}}) {
        for (const PathFinder* finder : {&sides.player1, &sides.player2}) {
            EXPECT_EQ(finder->cost(row, col), 0.0);
            EXPECT_EQ(finder->features(row, col), Features{});
            EXPECT_EQ(finder->bridgeCounts(row, col), (PathFinder::BridgeCounts{0, 0}));
        }
    }
}

TEST(CostMap, CellsOfABridgeBetweenOwnStonesAreClampedToZeroAndPathsSumTheirFeatures) {
    // (1, 1) and (2, 2) form a bridge whose carrier is (1, 2) and (2, 1).
    const BothSides sides(Hex::parseBoard(5, R"(
        . . . . .
         . X . . .
          . . X . .
           . . . . .
            . . . . .)"));
    const PathFinder& own = sides.player1;
    EXPECT_EQ(own.bridgeCounts(1, 2), (PathFinder::BridgeCounts{1, 0}));
    EXPECT_EQ(own.bridgeCounts(2, 1), (PathFinder::BridgeCounts{1, 0}));
    // 4.25 + w0 x 0.25 + w0 x 1.0 + w2 is below zero.
    EXPECT_LT(4.25 + w0 * 0.25 / 1.0 + w0 * 1.0 / 1.0 + 1 * w2, 0.0);
    EXPECT_EQ(own.cost(1, 2), 0.0);
    EXPECT_EQ(own.features(1, 2), (Features{1.25, 0.0, 1.0, 0.0}));
    EXPECT_EQ(own.features(2, 1), (Features{1.25, 0.0, 1.0, 0.0}));

    const PathFinder& other = sides.player2;
    EXPECT_EQ(other.bridgeCounts(1, 2), (PathFinder::BridgeCounts{0, 1}));
    // Player 2's base at (1, 2) is 4.25; (1, 1) is in line for Player 2, (2, 2) is not.
    EXPECT_EQ(other.cost(1, 2), 4.25 + w1 * 1.0 / 1.0 + w1 * 0.25 / 1.0 + 0 * w2 + 1 * w3);
    EXPECT_EQ(other.features(1, 2), (Features{0.0, 1.25, 0.0, 1.0}));

    // A path's features are the sums over its cells, both ends included.
    EXPECT_EQ(own.sumFeatures(Path{{{1, 2}, {2, 1}}, 0.0}), (Features{2.5, 0.0, 2.0, 0.0}));
    EXPECT_EQ(own.sumFeatures(Path{}), Features{});
}

TEST(CostMap, AStoneOnTheSecondRowBridgesToItsOwnersEdge) {
    const BothSides sides(
        Hex::parseBoard(5, ". . . . .  . X . . .  . . . . .  . . . . .  . . . . ."));
    // (0, 2) and (0, 1) lie between the stone and the row of 1s read above the board.
    EXPECT_EQ(sides.player1.bridgeCounts(0, 2), (PathFinder::BridgeCounts{1, 0}));
    EXPECT_EQ(sides.player1.bridgeCounts(0, 1), (PathFinder::BridgeCounts{1, 0}));
    EXPECT_EQ(sides.player1.bridgeCounts(1, 0), (PathFinder::BridgeCounts{0, 0}));
    EXPECT_EQ(sides.player1.cost(0, 2), 0.0); // 4.25 + w0 + w2 < 0
    EXPECT_EQ(sides.player1.features(0, 2), (Features{1.0, 0.0, 1.0, 0.0}));
    EXPECT_EQ(sides.player2.bridgeCounts(0, 2), (PathFinder::BridgeCounts{0, 1}));
    EXPECT_EQ(sides.player2.cost(0, 2), 4.5 + w1 * 1.0 / 1.0 + 0 * w2 + 1 * w3);

    // Player 2's stone next to the left edge bridges to the column of 2s.
    const BothSides left(
        Hex::parseBoard(5, ". . . . .  . O . . .  . . . . .  . . . . .  . . . . ."));
    EXPECT_EQ(left.player2.bridgeCounts(2, 0), (PathFinder::BridgeCounts{1, 0}));
    EXPECT_EQ(left.player2.bridgeCounts(1, 0), (PathFinder::BridgeCounts{1, 0}));
    EXPECT_EQ(left.player1.bridgeCounts(2, 0), (PathFinder::BridgeCounts{0, 1}));
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
