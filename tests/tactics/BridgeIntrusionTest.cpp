#include "tactics/BridgeIntrusion.h"
#include "model/BoardText.h"

#include <gtest/gtest.h>

namespace {

PlayoutBoard boardOf(std::uint32_t size, const char* text) {
    return PlayoutBoard(Hex::parseBoard(size, text));
}

struct SaveCase {
    const char* name;
    const char* board;
    Hex::Coord intrusion; // the other side's stone, already on the board
    int player;           // whose bridge
    Hex::Coord save;      // noMove: nothing to save
};

TEST(BridgeIntrusionTest, AnIntrusionIsAnsweredInTheOtherCarrier) {
    const SaveCase cases[] = {
        {"two stones", ". . . . .  . X O . .  . . X . .  . . . . .  . . . . .", {1, 2}, 1, {2, 1}},
        {"stone and own edge",
         ". . O . .  . . X . .  . . . . .  . . . . .  . . . . .",
         {0, 2},
         1,
         {0, 3}},
        {"O stone and its left edge",
         ". . . . .  . . . . .  X O . . .  . . . . .  . . . . .",
         {2, 0},
         2,
         {3, 0}},
        {"other carrier taken",
         ". . . . .  . X O . .  . O X . .  . . . . .  . . . . .",
         {1, 2},
         1,
         Hex::noMove},
        {"no bridge there",
         ". . . . .  . X . . .  . . . O .  . . . . .  . . . . .",
         {2, 3},
         1,
         Hex::noMove},
        {"the other side's edge is no bridge",
         ". . . . .  . . . . .  O X . . .  . . . . .  . . . . .",
         {2, 0},
         1,
         Hex::noMove},
    };
    for (const SaveCase& test : cases) {
        const PlayoutBoard board = boardOf(5, test.board);
        const BridgeIntrusion found =
            findBridgeIntrusion(board, board.index(test.intrusion), test.player);
        if (test.save == Hex::noMove) {
            EXPECT_EQ(found.count, 0U) << test.name;
        } else {
            ASSERT_EQ(found.count, 1U) << test.name;
            EXPECT_EQ(found.saves[0], board.index(test.save)) << test.name;
        }
    }
}

} // namespace
