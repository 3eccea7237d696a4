#include "engine/PathFinder.h"
#include "model/BoardText.h"
#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Cells = std::vector<Hex::Coord>;

// A path finder attached to its own board and weights.
struct Finder {
    Finder(Hex::Board b, int direction, Weights w = defaultWeights)
        : weights(w), board(std::move(b)), finder(board.size(), direction, direction + 1) {
        finder.setWeights(&weights);
        finder.setBoard(&board);
    }
    Weights weights;
    Hex::Board board;
    PathFinder finder;
};

// The paths of whole boards are pinned by the analyses; these are the rules a reader of the
// search needs, and the corners of it that the pinned positions do not reach.
TEST(PathSearch, NeighboursKeepTheFixedOrderAndSkipTheOpponentsStones) {
    const Hex::Board board = Hex::parseBoard(3, R"(
        . O .
         . . X
          . . .)");
    const Finder player1(board, 0);
    const Finder player2(board, 1);
    EXPECT_EQ(player1.finder.neighbours(1, 1), (Cells{{0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}}));
    EXPECT_EQ(player2.finder.neighbours(1, 1), (Cells{{0, 1}, {0, 2}, {1, 0}, {2, 0}, {2, 1}}));
    EXPECT_EQ(player1.finder.neighbours(0, 0), (Cells{{1, 0}}));
    EXPECT_EQ(player2.finder.neighbours(2, 2), (Cells{{2, 1}})); // (1, 2) is Player 1's
    // The heuristic counts the lines left in the search direction.
    EXPECT_EQ(player1.finder.heuristic(1, 2, false), 2);
    EXPECT_EQ(player1.finder.heuristic(1, 2, true), 1);
    EXPECT_EQ(player2.finder.heuristic(1, 2, false), 1);
    EXPECT_EQ(player2.finder.heuristic(1, 2, true), 2);
}

TEST(PathSearch, AStartCellHeldByTheOpponentOrAWallOfHisGivesNoPath) {
    Finder held(Hex::parseBoard(3, ". O .  . . .  . . ."), 0);
    EXPECT_EQ(held.finder.findPath(1, false), Path{}); // no cells, cost -1
    EXPECT_EQ(held.finder.findPath(-1, false), Path{});
    EXPECT_EQ(held.finder.findPath(3, true), Path{});

    Finder walled(Hex::parseBoard(3, ". . .  O O O  . . ."), 0);
    for (int start = 0; start < 3; ++start) {
        EXPECT_EQ(walled.finder.findPath(start, false), Path{});
        EXPECT_EQ(walled.finder.findPath(start, true), Path{});
    }
    EXPECT_TRUE(walled.finder.bestPaths(3).empty());
}

TEST(PathSearch, APathThatRunsAlongItsStartEdgeIsKeptOnlyFromItsLaterStart) {
    // With all weights 0 the stones cost 0 and empty cells their base. From (0, 0) the
    // search steps to (0, 1) and down the stones; the walk back stops at (0, 1).
    Finder player1(Hex::parseBoard(4, R"(
        . X . .
         . X . .
          . X . .
           . . . .)"),
                   0, Weights{0.0, 0.0, 0.0, 0.0});
    const Path alongTheEdge{{{3, 1}, {2, 1}, {1, 1}, {0, 1}}, 4.0};
    EXPECT_EQ(player1.finder.findPath(0, false), alongTheEdge);
    EXPECT_EQ(player1.finder.findPath(1, false), alongTheEdge);
    const std::vector<Path> paths = player1.finder.bestPaths(8);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), alongTheEdge), 1);
}

// Nothing of one board may leak into the next: the search keeps its tables between calls.
TEST(PathSearch, AFinderReusedOnAnotherBoardAnswersAsAFreshOne) {
    const Hex::Board crowded = Hex::parseBoard(5, R"(
        O X . X O
         . O X . X
          X . O . .
           . X . O .
            O . . X .)");
    const Hex::Board sparse =
        Hex::parseBoard(5, ". . . . .  . . X . .  . . . . .  . O . . .  . . . . .");
    const Weights weights = defaultWeights;
    for (const int direction : {0, 1}) {
        PathFinder reused(5, direction, direction + 1);
        reused.setWeights(&weights);
        reused.setBoard(&crowded);
        const std::vector<Path> crowdedPaths = reused.bestPaths(5);
        reused.setBoard(&sparse);
        const std::vector<Path> sparsePaths = reused.bestPaths(5);

        PathFinder fresh(5, direction, direction + 1);
        fresh.setWeights(&weights);
        fresh.setBoard(&sparse);
        EXPECT_EQ(sparsePaths, fresh.bestPaths(5));
        EXPECT_EQ(reused.bestPaths(5), sparsePaths);
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 5; ++col) {
                EXPECT_EQ(reused.cost(row, col), fresh.cost(row, col));
                EXPECT_EQ(reused.features(row, col), fresh.features(row, col));
            }
        }
        fresh.setBoard(&crowded);
        EXPECT_EQ(fresh.bestPaths(5), crowdedPaths);
    }
}

} // namespace
