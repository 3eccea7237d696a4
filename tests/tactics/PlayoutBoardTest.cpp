#include "tactics/PlayoutBoard.h"
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

} // namespace
