#include "tactics/InferiorCells.h"
#include "tactics/PlayoutBoard.h"

#include "Minimax.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

bool hasFill(const InferiorCells& inferior, int cell, int player) {
    return std::any_of(inferior.fill().begin(), inferior.fill().end(), [&](const auto& fill) {
        return fill.cell == cell && fill.player == player;
    });
}

// A stone on the second row captures the two cells between it and its edge; the cells off
// the stone's edge are left alone.
TEST(InferiorCellsTest, ASecondRowStoneCapturesItsEdgeCells) {
    PlayoutBoard board(5);
    board.set(board.index(1, 2), PlayoutBoard::player1);
    InferiorCells inferior;
    inferior.compute(board);
    EXPECT_TRUE(hasFill(inferior, board.index(0, 2), PlayoutBoard::player1));
    EXPECT_TRUE(hasFill(inferior, board.index(0, 3), PlayoutBoard::player1));
    EXPECT_FALSE(inferior.filled(board.index(2, 2)));
    EXPECT_EQ(inferior.winner(), 0);
}

// Against exhaustive search on random 4 x 4 and 5 x 5 positions: the filled-in board has the
// position's value with either side to move; a stone on a cell with a killer wins only if one
// on its killer does; and a side that wins has a winning move outside the fill-in and the
// killed cells whenever one is left.
TEST(InferiorCellsTest, TheFillInKeepsTheValueOnRandomPositions) {
    std::mt19937 random(20261209);
    InferiorCells inferior;
    int filled = 0;
    int decided = 0;
    int killed = 0;
    for (const int size : {4, 5}) {
        Minimax minimax;
        for (int position = 0; position < 120; ++position) {
            const int stones = size * size - 5 - static_cast<int>(random() % 8);
            PlayoutBoard board = randomPosition(random, size, stones);
            if (board.connects(1) || board.connects(2)) {
                continue;
            }
            inferior.compute(board);
            filled += inferior.fill().empty() ? 0 : 1;
            PlayoutBoard after = board;
            inferior.apply(after);
            for (const int toMove : {1, 2}) {
                const bool wins = minimax.wins(board, toMove);
                if (inferior.winner() != 0) {
                    ++decided;
                    ASSERT_EQ(wins, inferior.winner() == toMove);
                    continue;
                }
                ASSERT_EQ(minimax.wins(after, toMove), wins) << "size " << size;
                inferior.findKillers(toMove);
                const auto winsWith = [&](int cell) {
                    board.set(cell, static_cast<std::uint8_t>(toMove));
                    const bool won = board.connects(toMove) || !minimax.wins(board, 3 - toMove);
                    board.set(cell, PlayoutBoard::empty);
                    return won;
                };
                bool winsOutside = false;
                bool outside = false;
                for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
                    if (board.at(cell) != PlayoutBoard::empty || inferior.filled(cell)) {
                        continue;
                    }
                    const int killer = inferior.killer(cell);
                    if (killer >= 0) {
                        ++killed;
                        ASSERT_TRUE(!winsWith(cell) || winsWith(killer)) << "size " << size;
                        ASSERT_LT(inferior.killer(killer), 0);
                        continue;
                    }
                    outside = true;
                    winsOutside = winsOutside || winsWith(cell);
                }
                ASSERT_TRUE(!wins || !outside || winsOutside) << "size " << size;
            }
        }
    }
    EXPECT_GT(filled, 150);
    EXPECT_GT(decided, 80);
    EXPECT_GT(killed, 100) << killed;
}

// Each round judges again only the cells near its changes, so the fill-in must still be
// complete: the filled-in board has nothing more to fill, on boards large enough for groups
// far apart to be joined by a round. A stone more on it is read by computeAfter() as compute()
// reads the whole board.
TEST(InferiorCellsTest, TheFillInIsCompleteAndAStoneMoreIsReadAsOnAWholeBoard) {
    std::mt19937 random(20261208);
    InferiorCells inferior;
    InferiorCells again;
    std::size_t filled = 0;
    std::size_t filledAfter = 0;
    for (int position = 0; position < 300; ++position) {
        const int size = 6 + static_cast<int>(random() % 8);
        const int stones = size * size / 4 + static_cast<int>(random() % (size * size / 3));
        PlayoutBoard board = randomPosition(random, size, stones);
        if (board.connects(1) || board.connects(2)) {
            continue;
        }
        inferior.compute(board);
        inferior.apply(board);
        if (board.connects(1) || board.connects(2)) {
            continue;
        }
        again.compute(board);
        ASSERT_TRUE(again.fill().empty()) << "size " << size << ", position " << position;
        filled += inferior.fill().size();

        int move = 0;
        do {
            move =
                board.index(static_cast<int>(random() % size), static_cast<int>(random() % size));
        } while (board.at(move) != PlayoutBoard::empty);
        board.set(move, static_cast<std::uint8_t>(1 + random() % 2));
        if (board.connects(1) || board.connects(2)) {
            continue;
        }
        inferior.compute(board);
        again.computeAfter(board, move);
        ASSERT_EQ(again.fill().size(), inferior.fill().size()) << "position " << position;
        for (std::size_t i = 0; i < inferior.fill().size(); ++i) {
            ASSERT_EQ(again.fill()[i].cell, inferior.fill()[i].cell) << position;
            ASSERT_EQ(again.fill()[i].player, inferior.fill()[i].player) << position;
        }
        EXPECT_EQ(again.winner(), inferior.winner());
        filledAfter += inferior.fill().size();
    }
    EXPECT_GT(filled, 3000U) << filled;
    EXPECT_GT(filledAfter, 100U) << filledAfter;
}

} // namespace
