#include "engine/PositionValue.h"
#include "engine/CommonCells.h"
#include "engine/IntersectionMove.h"
#include "engine/PathFinder.h"
#include "model/BoardText.h"
#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

namespace {

using Cells = std::vector<Hex::Coord>;

TEST(CommonCells, ListsSharedCellsInTheFirstPathsOrder) {
    const Path a{{{3, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, 1.0};
    const Path b{{{1, 2}, {1, 1}, {0, 0}, {2, 1}}, 1.0};
    EXPECT_EQ(commonCells(a, b), (Cells{{2, 1}, {1, 1}, {1, 2}}));
    EXPECT_EQ(commonCells(b, a), (Cells{{1, 2}, {1, 1}, {2, 1}}));
    EXPECT_TRUE(commonCells(a, Path{}).empty());
    // A cell repeated on the second path is listed once for each repeat.
    EXPECT_EQ(commonCells(Path{{{1, 1}, {2, 2}}, 1.0}, Path{{{2, 2}, {1, 1}, {2, 2}}, 1.0}),
              (Cells{{1, 1}, {2, 2}, {2, 2}}));
}

// A side without paths, or with a free path, decides the position; otherwise the cheapest
// costs compare as 2 x cost2² / (cost1² + cost2²) - 1. Only the first path of each list counts.
TEST(PositionValue, ComparesTheCheapestCostsOfBothSides) {
    const struct {
        std::vector<double> costs1, costs2;
        double value;
    } cases[] = {
        {{}, {3.0}, -1.0},          {{}, {}, -1.0},
        {{3.0}, {}, 1.0},           {{0.0}, {3.0}, 1.0},
        {{0.0}, {0.0}, 1.0},        {{3.0}, {0.0}, -1.0},
        {{5.0}, {5.0}, 0.0},        {{3.0, 9.0}, {4.0}, 0.28},
        {{4.0}, {3.0, 1.0}, -0.28}, {{1.0}, {1e6}, 0.999999999998},
    };
    for (const auto& c : cases) {
        std::vector<Path> paths1;
        std::vector<Path> paths2;
        for (const double cost : c.costs1) {
            paths1.push_back(Path{{{0, 0}}, cost});
        }
        for (const double cost : c.costs2) {
            paths2.push_back(Path{{{0, 0}}, cost});
        }
        EXPECT_DOUBLE_EQ(positionValue(paths1, paths2), c.value)
            << testing::PrintToString(c.costs1) << " against " << testing::PrintToString(c.costs2);
    }
}

TEST(PositionValue, ZeroCostPathsGiveExactlyOneAndCheapestPathsCrossAtTheIntersectionMove) {
    const Weights weights = defaultWeights;
    PathFinder player1(3, 0, 1);
    PathFinder player2(3, 1, 2);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    const Hex::Board nearlyWon = Hex::parseBoard(3, ". . .  X . .  X . .");
    player1.setBoard(&nearlyWon);
    player2.setBoard(&nearlyWon);
    EXPECT_EQ(player1.bestPaths(3).at(0), (Path{{{2, 0}, {1, 0}, {0, 0}}, 0.0}));
    EXPECT_EQ(positionValue(player1.bestPaths(3), player2.bestPaths(3)), 1.0);

    const Hex::Board nearlyLost = Hex::parseBoard(3, ". O O  . . .  . . .");
    player1.setBoard(&nearlyLost);
    player2.setBoard(&nearlyLost);
    EXPECT_EQ(player2.bestPaths(3).at(0).cost, 0.0);
    EXPECT_GT(player1.bestPaths(3).at(0).cost, 0.0);
    EXPECT_EQ(positionValue(player1.bestPaths(3), player2.bestPaths(3)), -1.0);

    // The two cheapest paths of the empty board cross in the middle: Player 1's is (0, 1)
    // (1, 1) (2, 0), Player 2's (1, 0) (1, 1) (0, 2). A won position has no such move.
    EXPECT_EQ(intersectionMove(player1, player2, Hex::Board(3)), (Hex::Coord{1, 1}));
    EXPECT_EQ(intersectionMove(player1, player2, Hex::parseBoard(3, ". X .  . X .  X . .")),
              Hex::noMove);
    EXPECT_EQ(intersectionMove(player1, player2, Hex::parseBoard(3, ". . .  O O O  . . .")),
              Hex::noMove);
}

} // namespace
