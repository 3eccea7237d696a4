#include "tactics/DfpnSolver.h"
#include "tactics/PlayoutBoard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::atomic<bool> notStopped{false};

// A case of bench/positions/few-wins.txt: a position that another solver proves won for the
// side to move, and one winning move.
struct SolvedCase {
    PlayoutBoard board{3};
    int toMove = 1;
    int winningMove = -1;
    int emptyCells = 0;
};

// A GTP name (c5: column letter, row from 1) as a cell of the board.
int cellOf(const PlayoutBoard& board, const std::string& name) {
    return board.index(Hex::Coord{std::stoi(name.substr(1)) - 1, name[0] - 'a'});
}

SolvedCase parseCase(const std::string& line) {
    std::istringstream words(line);
    int size = 0;
    words >> size;
    SolvedCase solved{PlayoutBoard(size)};
    PlayoutBoard& board = solved.board;
    std::vector<int> stones;
    for (std::string word; words >> word && word != ":";) {
        if (word == "swap-pieces") {
            board.set(stones.front(), PlayoutBoard::empty);
            board.set(board.mirror(stones.front()), PlayoutBoard::player2);
        } else {
            stones.push_back(cellOf(board, word));
            board.set(stones.back(), static_cast<std::uint8_t>(solved.toMove));
        }
        solved.toMove = solved.toMove == 1 ? 2 : 1;
    }
    std::string winning;
    words >> winning;
    solved.winningMove = cellOf(board, winning);
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        solved.emptyCells += board.at(cell) == PlayoutBoard::empty ? 1 : 0;
    }
    return solved;
}

// Our solver agrees with the other on the cases of the committed set small enough for a test:
// the position is won, and the winning move found there leaves the opponent lost.
TEST(SolvedSetTest, OurSolverAgreesOnTheSmallCasesOfTheSet) {
    std::ifstream file(QUORLEN_POSITIONS_DIR "/few-wins.txt");
    ASSERT_TRUE(file) << QUORLEN_POSITIONS_DIR;
    DfpnSolver solver(std::size_t{16} << 20);
    int checked = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        SolvedCase solved = parseCase(line);
        if (solved.emptyCells > 32) {
            continue;
        }
        EXPECT_EQ(solver.solve(solved.board, solved.toMove, {}, notStopped).outcome,
                  DfpnSolver::Outcome::won)
            << line;
        solved.board.set(solved.winningMove, static_cast<std::uint8_t>(solved.toMove));
        EXPECT_EQ(solver.solve(solved.board, 3 - solved.toMove, {}, notStopped).outcome,
                  DfpnSolver::Outcome::lost)
            << line;
        ++checked;
    }
    EXPECT_EQ(checked, 2);
}

} // namespace
