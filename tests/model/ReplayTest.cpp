#include "model/Game.h"
#include "model/OffBoardException.h"

#include <gtest/gtest.h>

namespace {

using Cells = std::vector<Hex::Coord>;

TEST(Replay, SwapMarkerMovesTheFirstStone) {
    const Hex::Game game(11, Cells{{2, 5}, {11, 11}, {3, 3}});
    EXPECT_EQ(game.board().cell(5, 2), 2);
    EXPECT_EQ(game.board().cell(3, 3), 1);
    EXPECT_EQ(game.board().cell(2, 5), 0);
    EXPECT_EQ(game.moves(), (Cells{{2, 5}, {11, 11}, {3, 3}}));
    EXPECT_EQ(game.lastMove(), (Hex::Coord{3, 3}));
    EXPECT_EQ(game.currentPlayer(), 0);
}

TEST(Replay, LastMoveAfterASwapIsTheMirroredStone) {
    const Hex::Game game(11, Cells{{2, 5}, {11, 11}});
    EXPECT_EQ(game.lastMove(), (Hex::Coord{5, 2}));
}

TEST(Replay, ACellNamedTwiceTakesTheLaterValue) {
    const Hex::Game game(5, Cells{{1, 1}, {1, 1}});
    EXPECT_EQ(game.board().cell(1, 1), 2);
}

TEST(Replay, EntriesOffTheBoardThrowInsteadOfWritingAnywhere) {
    EXPECT_THROW(Hex::Game(5, Cells{{5, 5}}), Hex::OffBoardException); // swap marker first
    EXPECT_THROW(Hex::Game(5, Cells{{0, 0}, {-1, 2}}), Hex::OffBoardException);
    EXPECT_THROW(Hex::Game(5, Cells{{0, 0}, {2, 7}}), Hex::OffBoardException);
}

} // namespace
