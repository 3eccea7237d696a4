#include "engine/Playout.h"
#include "engine/PlayoutBoard.h"
#include "model/BoardText.h"

#include <gtest/gtest.h>

namespace {

PlayoutBoard boardOf(std::uint32_t size, const char* text) {
    return PlayoutBoard(Hex::parseBoard(size, text));
}

struct ConnectionCase {
    const char* name;
    const char* board;
    bool player1;
    bool player2;
};

// Chains join only a player's own edges, through the six neighbours; edges of the other
// player and the corners do not help.
TEST(PlayoutBoardTest, ConnectsFindsChainsBetweenAPlayersOwnEdges) {
    const ConnectionCase cases[] = {
        {"column of X", "X . .  X . .  X . .", true, false},
        {"row of O", ". . .  O O O  . . .", false, true},
        {"X zig-zag", ". X .  X . .  X . .", true, false},
        {"gap in X", "X . .  . . .  X . .", false, false},
        {"O along the top edge", "O O O  . . .  . . .", false, true},
        {"X stones not adjacent", ". . X  . . .  X . .", false, false},
    };
    for (const ConnectionCase& test : cases) {
        PlayoutBoard board = boardOf(3, test.board);
        const PlayoutBoard before = board;
        EXPECT_EQ(board.connects(1), test.player1) << test.name;
        EXPECT_EQ(board.connects(2), test.player2) << test.name;
        for (int cell = 0; cell < board.width() * board.width(); ++cell) {
            ASSERT_EQ(board.at(cell), before.at(cell)) << test.name << ": marks left behind";
        }
    }
}

struct SaveCase {
    const char* name;
    const char* board;
    Hex::Coord intrusion; // the other side's stone, already on the board
    int player;           // whose bridge
    Hex::Coord save;      // noMove: nothing to save
};

TEST(PlayoutTest, BridgeSaveAnswersAnIntrusionInTheOtherCarrier) {
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
    Playout playout(1);
    for (const SaveCase& test : cases) {
        const PlayoutBoard board = boardOf(5, test.board);
        const int expected = test.save == Hex::noMove ? -1 : board.index(test.save);
        EXPECT_EQ(playout.bridgeSave(board, board.index(test.intrusion), test.player), expected)
            << test.name;
    }
}

// Whatever the random moves, the first reply to an intrusion saves the bridge, and the
// board ends full with the winner its chains say.
TEST(PlayoutTest, APlayoutSavesTheIntrudedBridgeAndFillsTheBoard) {
    const PlayoutBoard start = boardOf(5, ". . . . .  . X O . .  . . X . .  . . . . .  . . . . .");
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        Playout playout(seed);
        PlayoutBoard board = start;
        const int winner = playout.run(board, 1, board.index(1, 2));
        ASSERT_EQ(board.at(board.index(2, 1)), PlayoutBoard::player1) << "seed " << seed;
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 5; ++col) {
                ASSERT_NE(board.at(board.index(row, col)), PlayoutBoard::empty);
            }
        }
        EXPECT_EQ(winner, board.connects(1) ? 1 : 2);
        EXPECT_NE(board.connects(1), board.connects(2)) << "a full board has one winner";
    }
}

} // namespace
