#include "tactics/DfpnSolver.h"
#include "tactics/PlayoutBoard.h"

#include "Minimax.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <unordered_set>

namespace {

const std::atomic<bool> notStopped{false};

bool gameOver(PlayoutBoard& board) {
    return board.connects(1) || board.connects(2);
}

// The solver's answer agrees with the reference; a winning move wins, a losing one is legal;
// the loser, given every empty cell outside the proof, still loses.
void expectSolved(DfpnSolver& solver, Minimax& minimax, PlayoutBoard board, int toMove) {
    const DfpnSolver::Result result = solver.solve(board, toMove, {}, notStopped);
    const bool won = minimax.wins(board, toMove);
    ASSERT_EQ(result.outcome, won ? DfpnSolver::Outcome::won : DfpnSolver::Outcome::lost);
    ASSERT_NE(result.move, Hex::noMove);
    const int loser = won ? 3 - toMove : toMove;
    PlayoutBoard given = board;
    for (int cell = given.firstCell(); cell < given.endCell(); ++cell) {
        const Hex::Coord place = given.coord(cell);
        if (given.at(cell) == PlayoutBoard::empty &&
            std::find(result.proof.begin(), result.proof.end(), place) == result.proof.end()) {
            given.set(cell, static_cast<std::uint8_t>(loser));
        }
    }
    ASSERT_FALSE(given.connects(loser));
    ASSERT_TRUE(given.connects(3 - loser) || minimax.wins(given, toMove) == won);
    const int move = board.index(result.move);
    ASSERT_EQ(board.at(move), PlayoutBoard::empty);
    if (won) {
        board.set(move, static_cast<std::uint8_t>(toMove));
        ASSERT_TRUE(board.connects(toMove) || !minimax.wins(board, 3 - toMove));
    }
}

// Every position of alternate moves from the empty 3x3 board, the game not yet over.
void visitAll(PlayoutBoard& board, int toMove, DfpnSolver& solver, Minimax& minimax,
              std::unordered_set<std::uint64_t>& seen) {
    if (!seen.insert(minimaxKey(board, toMove)).second) {
        return;
    }
    expectSolved(solver, minimax, board, toMove);
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (board.at(cell) == PlayoutBoard::empty) {
            board.set(cell, static_cast<std::uint8_t>(toMove));
            if (!gameOver(board)) {
                visitAll(board, 3 - toMove, solver, minimax, seen);
            }
            board.set(cell, PlayoutBoard::empty);
        }
    }
}

// Plain, with the fill-in of inferior cells, and with the virtual connections as well.
TEST(DfpnSolverTest, AgreesWithMinimaxOnEveryThreeByThreePosition) {
    for (const int knowledge : {0, 1, 2}) {
        DfpnSolver solver(1 << 16, knowledge == 2, knowledge >= 1);
        Minimax minimax;
        PlayoutBoard board(3);
        std::unordered_set<std::uint64_t> seen;
        visitAll(board, 1, solver, minimax, seen);
        EXPECT_GT(seen.size(), 3000U);
    }
}

// Random positions of alternate stones (fixed seed), not yet won, four and five cells wide;
// the plain solver, the one that fills in and the one that also reads connections take turns.
TEST(DfpnSolverTest, AgreesWithMinimaxOnRandomPositions) {
    std::mt19937 random(20261207);
    DfpnSolver plain(1 << 20, false, false);
    DfpnSolver filling(1 << 20, false, true);
    DfpnSolver connected(1 << 20);
    std::array<DfpnSolver*, 3> solvers{&plain, &filling, &connected};
    for (const int size : {4, 5}) {
        Minimax minimax;
        for (int solved = 0; solved < 36;) {
            PlayoutBoard board(size);
            const int stones = size * size - (size == 4 ? 6 + solved % 8 : 9 + solved % 4);
            int toMove = 1;
            for (int placed = 0; placed < stones; ++placed, toMove = 3 - toMove) {
                int cell = 0;
                do {
                    cell = board.index(static_cast<int>(random() % size),
                                       static_cast<int>(random() % size));
                } while (board.at(cell) != PlayoutBoard::empty);
                board.set(cell, static_cast<std::uint8_t>(toMove));
            }
            if (!gameOver(board)) {
                expectSolved(*solvers[static_cast<std::size_t>(solved % 3)], minimax, board,
                             toMove);
                ++solved;
            }
        }
    }
}

// A budget too small, or a raised stop flag, leaves the answer unknown; any budget that does
// answer answers right (the empty 4x4 board is won for the first player; the connections would
// see that at once, so the knowledge is off).
TEST(DfpnSolverTest, ABudgetOrAStopLeavesTheAnswerUnknown) {
    DfpnSolver solver(1 << 20, false, false);
    const PlayoutBoard board(4);
    EXPECT_EQ(solver.solve(board, 1, {.nodes = 20}, notStopped).outcome,
              DfpnSolver::Outcome::unknown);
    const std::atomic<bool> stopped{true};
    const DfpnSolver::Result halted = solver.solve(board, 1, {}, stopped);
    EXPECT_EQ(halted.outcome, DfpnSolver::Outcome::unknown);
    EXPECT_EQ(halted.move, Hex::noMove);
    for (std::uint64_t nodes = 100; nodes < 100000; nodes *= 3) {
        const DfpnSolver::Result result = solver.solve(board, 1, {.nodes = nodes}, notStopped);
        EXPECT_NE(result.outcome, DfpnSolver::Outcome::lost) << nodes;
        EXPECT_LE(result.nodes, nodes);
    }
    EXPECT_EQ(solver.solve(board, 1, {}, notStopped).outcome, DfpnSolver::Outcome::won);

    // A time spent before the search begins (a slow machine's table setup) still lets the
    // root be looked at: a win at once is seen.
    PlayoutBoard nearlyJoined(3);
    for (const Hex::Coord stone : {Hex::Coord{0, 1}, Hex::Coord{1, 1}}) {
        nearlyJoined.set(nearlyJoined.index(stone), PlayoutBoard::player1);
    }
    const DfpnSolver::Result atOnce =
        solver.solve(nearlyJoined, 1, {.time = std::chrono::milliseconds(0)}, notStopped);
    EXPECT_EQ(atOnce.outcome, DfpnSolver::Outcome::won);
}

} // namespace
