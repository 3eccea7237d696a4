#include "model/Game.h"
#include "model/OffBoardException.h"

#include "support/ScriptedPlayer.h"

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

// A replayed game that is run goes on from its moves: the side to move is asked first, the
// swap question only when one stone stands, and the moves made are appended.
TEST(Replay, ARunReplayedGameGoesOnFromItsMoves) {
    ScriptedPlayer p1({{0, 1}, {1, 1}, {2, 0}});
    ScriptedPlayer p2({{0, 0}, {0, 2}}, Player::takeSwap);
    Hex::Game game(3, Cells{{2, 2}}, nullptr);
    game.setPlayer1(&p1);
    game.setPlayer2(&p2);
    EXPECT_EQ(game.run(), 1);
    EXPECT_EQ(p2.swapCalls, 1);
    EXPECT_EQ(game.moves(), (Cells{{2, 2}, {3, 3}, {0, 1}, {0, 0}, {1, 1}, {0, 2}, {2, 0}}));
    EXPECT_EQ(game.board().cell(2, 2), 2);
    EXPECT_EQ(game.moveNumber(), 4);

    ScriptedPlayer q1({{0, 0}});
    ScriptedPlayer q2({{2, 0}, {2, 1}});
    Hex::Game later(3, Cells{{2, 2}, {3, 3}, {0, 1}}, nullptr);
    later.setPlayer1(&q1);
    later.setPlayer2(&q2);
    EXPECT_EQ(later.run(), 2);
    EXPECT_EQ(q2.swapCalls, 0);
    EXPECT_EQ(later.moves(), (Cells{{2, 2}, {3, 3}, {0, 1}, {2, 0}, {0, 0}, {2, 1}}));
}

} // namespace
