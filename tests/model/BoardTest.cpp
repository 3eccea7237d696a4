#include "model/Board.h"
#include "model/BoardText.h"
#include "model/OffBoardException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr std::uint32_t minusOne = static_cast<std::uint32_t>(-1);

TEST(Board, BorderRingReadsAsTheEdgeOwners) {
    const Hex::Board board(11);
    EXPECT_EQ(board.cell(minusOne, 3), 1);
    EXPECT_EQ(board.cell(11, 3), 1);
    EXPECT_EQ(board.cell(3, minusOne), 2);
    EXPECT_EQ(board.cell(3, 11), 2);
    EXPECT_EQ(board.cell(minusOne, 11), 0);
    EXPECT_EQ(board.cell(11, minusOne), 0);
}

// Reads off the ring and writes off the board throw with their text; a failed write changes
// nothing.
TEST(Board, AccessOffTheBoardThrowsWithItsText) {
    Hex::Board board(11);
    const struct {
        std::function<void()> access;
        const char* where;
        int row, col;
    } cases[] = {
        {[&] { (void)board.cell(minusOne, minusOne); }, "cell get", -1, -1},
        {[&] { (void)board.cell(11, 11); }, "cell get", 11, 11},
        {[&] { (void)board.cell(12, 3); }, "cell get", 12, 3},
        {[&] { (void)board.isEmpty(0, 11); }, "isEmpty", 0, 11},
        {[&] { board.cell(minusOne, 3, 1); }, "cell set", -1, 3},
        {[&] { board.cell(3, 11, 2); }, "cell set", 3, 11},
    };
    for (const auto& c : cases) {
        const std::string text = "Out of bounds exception in Board::" + std::string(c.where) +
                                 ".  Board size is 11.  Input was (" + std::to_string(c.row) +
                                 ", " + std::to_string(c.col) + ")";
        SCOPED_TRACE(text);
        try {
            c.access();
            ADD_FAILURE() << "nothing thrown";
        } catch (const Hex::OffBoardException& e) {
            EXPECT_EQ(e.message(), text);
        }
    }
    EXPECT_EQ(board, Hex::Board(11));
}

TEST(Board, NewBoardIsEmptyAndAWriteStoresAnyValue) {
    Hex::Board board(3);
    EXPECT_EQ(Hex::toText(board), ". . .\n . . .\n  . . .\n");
    board.cell(2, 1, 7);
    EXPECT_EQ(board.cell(2, 1), 7);
    EXPECT_FALSE(board.isEmpty(2, 1));
    EXPECT_TRUE(board.isEmpty(1, 2));
}

TEST(Board, NeighboursAreTheSixCellsAroundOnTheBoard) {
    const Hex::Board board(11);
    const struct {
        std::uint32_t r1, c1, r2, c2;
        bool neighbours;
    } cases[] = {{4, 4, 4, 4, false}, {4, 4, 5, 5, false},        {4, 4, 3, 3, false},
                 {4, 4, 3, 5, true},  {4, 4, 5, 3, true},         {4, 4, 3, 4, true},
                 {4, 4, 4, 5, true},  {0, 0, minusOne, 0, false}, {10, 10, 10, 11, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(board.isNeighbour(c.r1, c.c1, c.r2, c.c2), c.neighbours)
            << c.r2 << "," << c.c2 << " of " << c.r1 << "," << c.c1;
    }
}

TEST(BoardText, RoundTripsAndRejectsBadText) {
    const Hex::Board board = Hex::parseBoard(3, R"(
        X . O
         . X .
          O . X)");
    EXPECT_EQ(board.cell(0, 0), 1);
    EXPECT_EQ(board.cell(0, 2), 2);
    EXPECT_EQ(board.cell(2, 0), 2);
    EXPECT_EQ(Hex::parseBoard(3, Hex::toText(board)), board);
    EXPECT_THROW(Hex::parseBoard(3, "X . ."), std::invalid_argument);
    EXPECT_THROW(Hex::parseBoard(2, "X . . . ."), std::invalid_argument);
    EXPECT_THROW(Hex::parseBoard(2, "X . # ."), std::invalid_argument);
}

} // namespace
