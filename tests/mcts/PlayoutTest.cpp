#include "mcts/Playout.h"
#include "model/BoardText.h"
#include "tactics/PlayoutBoard.h"
#include "tactics/PlayoutPatterns.h"

#include <gtest/gtest.h>

namespace {

PlayoutBoard boardOf(std::uint32_t size, const char* text) {
    return PlayoutBoard(Hex::parseBoard(size, text));
}

// Whatever the random moves, uniform or weighted by patterns, the first reply to an intrusion
// saves the bridge, and the board ends full with the winner its chains say.
TEST(PlayoutTest, APlayoutSavesTheIntrudedBridgeAndFillsTheBoard) {
    const PlayoutBoard start = boardOf(5, ". . . . .  . X O . .  . . X . .  . . . . .  . . . . .");
    const PlayoutPatterns patterns;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        Playout playout(seed, false, seed % 2 == 0 ? &patterns : nullptr);
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

// With templates, an intrusion into a ziggurat on a nearly empty board is answered in one of
// the two cells that hold it (row 1, columns 4 and 5) in every playout; without, the random
// fill leaves both to the intruder in some.
TEST(PlayoutTest, WithTemplatesAPlayoutAnswersAnIntrudedZiggurat) {
    PlayoutBoard start(11);
    start.set(start.index(2, 3), PlayoutBoard::player1);
    start.set(start.index(1, 3), PlayoutBoard::player2);
    for (const bool templates : {true, false}) {
        int answered = 0;
        for (std::uint64_t seed = 1; seed <= 100; ++seed) {
            Playout playout(seed, templates);
            PlayoutBoard board = start;
            playout.run(board, 1, board.index(1, 3));
            answered += board.at(board.index(1, 4)) == PlayoutBoard::player1 ||
                                board.at(board.index(1, 5)) == PlayoutBoard::player1
                            ? 1
                            : 0;
        }
        if (templates) {
            EXPECT_EQ(answered, 100);
        } else {
            EXPECT_LT(answered, 100);
        }
    }
}

} // namespace
