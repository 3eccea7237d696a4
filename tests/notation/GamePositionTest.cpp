#include "notation/GamePosition.h"

#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

namespace {

using Hex::Coord;

TEST(GamePosition, SidesAlternateFromBlackAndStonesNeedEmptyCells) {
    GamePosition position(3);
    EXPECT_EQ(position.sideToMove(), 1);
    EXPECT_EQ(position.refusal(2, {0, 0}), "black is to move");
    ASSERT_EQ(position.refusal(1, {0, 0}), "");
    position.play({0, 0});
    EXPECT_EQ(position.sideToMove(), 2);
    EXPECT_EQ(position.refusal(1, {1, 1}), "white is to move");
    EXPECT_EQ(position.refusal(2, {0, 0}), "cell a1 is occupied");
    EXPECT_EQ(position.refusal(2, {3, 0}), "the move is not on the board");
    EXPECT_EQ(position.refusal(2, {-1, -1}), "the move is not on the board");
    EXPECT_EQ(position.moves(), (std::vector<Coord>{{0, 0}}));
}

TEST(GamePosition, TheSwapMirrorsTheStoneAndOnlyAnswersTheFirstOne) {
    GamePosition position(11);
    EXPECT_EQ(position.refusal(1, {11, 11}), "swap-pieces is only allowed as the second move");
    position.play({4, 2}); // c5
    ASSERT_EQ(position.refusal(2, {11, 11}), "");
    position.play({11, 11});
    EXPECT_EQ(position.board().cell(4, 2), 0);
    EXPECT_EQ(position.board().cell(2, 4), 2); // e3, White's now
    EXPECT_EQ(position.sideToMove(), 1);
    position.play({5, 5});
    EXPECT_EQ(position.refusal(2, {11, 11}), "swap-pieces is only allowed as the second move");
    ASSERT_TRUE(position.undo());
    ASSERT_TRUE(position.undo()); // takes back the swap: the first stone stands again
    EXPECT_EQ(position.board().cell(4, 2), 1);
    EXPECT_EQ(position.board().cell(2, 4), 0);
    EXPECT_EQ(position.sideToMove(), 2);
}

} // namespace
