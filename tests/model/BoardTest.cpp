#include "model/Board.h"
#include "model/BoardText.h"
#include "model/InvalidCoordException.h"
#include "model/OffBoardException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t minusOne = static_cast<std::uint32_t>(-1);

std::string offBoardText(const std::string& where, int n, int row, int col) {
    return "Out of bounds exception in " + where + ".  Board size is " + std::to_string(n) +
           ".  Input was (" + std::to_string(row) + ", " + std::to_string(col) + ")";
}

template <typename F>
std::string thrownOffBoardMessage(F&& f) {
    try {
        f();
    } catch (const Hex::OffBoardException& e) {
        return e.message();
    }
    return "nothing thrown";
}

TEST(Board, BorderRingReadsAsTheEdgeOwners) {
    const Hex::Board board(11);
    EXPECT_EQ(board.cell(minusOne, 3), 1);
    EXPECT_EQ(board.cell(11, 3), 1);
    EXPECT_EQ(board.cell(3, minusOne), 2);
    EXPECT_EQ(board.cell(3, 11), 2);
    EXPECT_EQ(board.cell(minusOne, 11), 0);
    EXPECT_EQ(board.cell(11, minusOne), 0);
}

TEST(Board, CornersOutsideTheRingAndFarCellsThrowWithTheirText) {
    const Hex::Board board(11);
    EXPECT_EQ(thrownOffBoardMessage([&] { (void)board.cell(minusOne, minusOne); }),
              "Out of bounds exception in Board::cell get.  Board size is 11.  Input was (-1, -1)");
    EXPECT_EQ(thrownOffBoardMessage([&] { (void)board.cell(11, 11); }),
              offBoardText("Board::cell get", 11, 11, 11));
    EXPECT_EQ(thrownOffBoardMessage([&] { (void)board.cell(12, 3); }),
              offBoardText("Board::cell get", 11, 12, 3));
    EXPECT_EQ(thrownOffBoardMessage([&] { (void)board.isEmpty(0, 11); }),
              offBoardText("Board::isEmpty", 11, 0, 11));
}

TEST(Board, WritesHaveNoRingAndAFailedWriteChangesNothing) {
    Hex::Board board(11);
    const Hex::Board before = board;
    EXPECT_EQ(thrownOffBoardMessage([&] { board.cell(minusOne, 3, 1); }),
              offBoardText("Board::cell set", 11, -1, 3));
    EXPECT_EQ(thrownOffBoardMessage([&] { board.cell(3, 11, 2); }),
              offBoardText("Board::cell set", 11, 3, 11));
    EXPECT_EQ(board, before);
}

TEST(Board, NewBoardIsEmptyAndWritesStoreAnyValue) {
    Hex::Board board(5);
    for (std::uint32_t r = 0; r < 5; ++r) {
        for (std::uint32_t c = 0; c < 5; ++c) {
            EXPECT_EQ(board.cell(r, c), 0);
            EXPECT_TRUE(board.isEmpty(r, c));
        }
    }
    board.cell(2, 3, 7);
    EXPECT_EQ(board.cell(2, 3), 7);
    EXPECT_FALSE(board.isEmpty(2, 3));
}

TEST(Board, NeighbourTest) {
    const Hex::Board board(11);
    EXPECT_FALSE(board.isNeighbour(4, 4, 4, 4));
    EXPECT_FALSE(board.isNeighbour(4, 4, 5, 5));
    EXPECT_FALSE(board.isNeighbour(4, 4, 3, 3));
    EXPECT_TRUE(board.isNeighbour(4, 4, 3, 5));
    EXPECT_TRUE(board.isNeighbour(4, 4, 5, 3));
    EXPECT_TRUE(board.isNeighbour(4, 4, 3, 4));
    EXPECT_TRUE(board.isNeighbour(4, 4, 4, 5));
    EXPECT_FALSE(board.isNeighbour(0, 0, minusOne, 0));
    EXPECT_FALSE(board.isNeighbour(10, 10, 10, 11));
}

TEST(Board, CopyIsIndependent) {
    Hex::Board board(4);
    board.cell(1, 1, 1);
    Hex::Board copy = board;
    copy.cell(1, 1, 2);
    copy.cell(0, 0, 1);
    EXPECT_EQ(board.cell(1, 1), 1);
    EXPECT_EQ(board.cell(0, 0), 0);
    EXPECT_EQ(copy.cell(1, 1), 2);
}

TEST(Exceptions, InvalidCoordinateText) {
    const Hex::InvalidCoordException e(2, 3, 7, "Player1 attempted move on non-empty position.");
    EXPECT_EQ(e.message(), "Invalid coord of (2, 3) on a board of size 7.  "
                           "Player1 attempted move on non-empty position.");
    EXPECT_STREQ(e.what(), e.message().c_str());
    const Hex::Exception& base = e;
    EXPECT_EQ(base.message(), e.message());
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
