#include "engine/PositionValue.h"
#include "engine/CommonCells.h"
#include "engine/IntersectionMove.h"
#include "engine/PathFinder.h"
#include "model/BoardText.h"
#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

namespace {

using Cells = std::vector<Hex::Coord>;

Path withCost(double cost) {
    return Path{{{0, 0}}, cost};
}

TEST(CommonCells, ListsSharedCellsInTheFirstPathsOrder) {
    const Path a{{{3, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, 1.0};
    const Path b{{{1, 2}, {1, 1}, {0, 0}, {2, 1}}, 1.0};
    EXPECT_EQ(commonCells(a, b), (Cells{{2, 1}, {1, 1}, {1, 2}}));
    EXPECT_EQ(commonCells(b, a), (Cells{{1, 2}, {1, 1}, {2, 1}}));
    EXPECT_TRUE(commonCells(a, Path{}).empty());
}

TEST(CommonCells, ACellRepeatedOnTheSecondPathIsListedOnceForEachRepeat) {
    const Path a{{{1, 1}, {2, 2}}, 1.0};
    const Path b{{{2, 2}, {1, 1}, {2, 2}}, 1.0};
    EXPECT_EQ(commonCells(a, b), (Cells{{1, 1}, {2, 2}, {2, 2}}));
}

TEST(PositionValue, ASideWithoutPathsOrWithAFreePathDecidesThePosition) {
    const std::vector<Path> none;
    EXPECT_EQ(positionValue(none, {withCost(3.0)}), -1.0);
    EXPECT_EQ(positionValue(none, none), -1.0);
    EXPECT_EQ(positionValue({withCost(3.0)}, none), 1.0);
    EXPECT_EQ(positionValue({withCost(0.0)}, {withCost(3.0)}), 1.0);
    EXPECT_EQ(positionValue({withCost(0.0)}, {withCost(0.0)}), 1.0);
    EXPECT_EQ(positionValue({withCost(3.0)}, {withCost(0.0)}), -1.0);
}

TEST(PositionValue, ComparesTheCheapestCostsOfBothSides) {
    EXPECT_EQ(positionValue({withCost(5.0)}, {withCost(5.0)}), 0.0);
    // 2 x 16 / 25 - 1 for costs 3 and 4; only the first path of each list counts.
    EXPECT_DOUBLE_EQ(positionValue({withCost(3.0), withCost(9.0)}, {withCost(4.0)}), 0.28);
    EXPECT_DOUBLE_EQ(positionValue({withCost(4.0)}, {withCost(3.0), withCost(1.0)}), -0.28);
    EXPECT_GT(positionValue({withCost(1.0)}, {withCost(1e6)}), 0.999999);
}

TEST(PositionValue, ZeroCostPathsOnRealBoardsGiveExactlyOne) {
    const Hex::Board nearlyWon = Hex::parseBoard(3, ". . .  X . .  X . .");
    const Hex::Board nearlyLost = Hex::parseBoard(3, ". O O  . . .  . . .");
    const Weights weights = defaultWeights;
    PathFinder player1(3, 0, 1);
    PathFinder player2(3, 1, 2);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    for (const Hex::Board* board : {&nearlyWon, &nearlyLost}) {
        player1.setBoard(board);
        player2.setBoard(board);
        const std::vector<Path> paths1 = player1.bestPaths(3);
        const std::vector<Path> paths2 = player2.bestPaths(3);
        ASSERT_FALSE(paths1.empty());
        ASSERT_FALSE(paths2.empty());
        if (board == &nearlyWon) {
            EXPECT_EQ(paths1.front(), (Path{{{2, 0}, {1, 0}, {0, 0}}, 0.0}));
            EXPECT_EQ(positionValue(paths1, paths2), 1.0);
        } else {
            EXPECT_EQ(paths2.front().cost, 0.0);
            EXPECT_GT(paths1.front().cost, 0.0);
            EXPECT_EQ(positionValue(paths1, paths2), -1.0);
        }
    }
}

TEST(IntersectionMove, PlaysWhereTheTwoCheapestPathsCross) {
    const Weights weights = defaultWeights;
    PathFinder player1(3, 0, 1);
    PathFinder player2(3, 1, 2);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    // Player 1's cheapest path is (0, 1) (1, 1) (2, 0), Player 2's (1, 0) (1, 1) (0, 2).
    EXPECT_EQ(intersectionMove(player1, player2, Hex::Board(3)), (Hex::Coord{1, 1}));
}

TEST(IntersectionMove, AWonPositionHasNoMoveInsteadOfACrash) {
    const Weights weights = defaultWeights;
    PathFinder player1(3, 0, 1);
    PathFinder player2(3, 1, 2);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    EXPECT_EQ(intersectionMove(player1, player2, Hex::parseBoard(3, ". X .  . X .  X . .")),
              Hex::noMove);
    EXPECT_EQ(intersectionMove(player1, player2, Hex::parseBoard(3, ". . .  O O O  . . .")),
              Hex::noMove);
}

} // namespace
