#pragma once

#include "model/Coord.h"
#include "tactics/EdgeReach.h"
#include "tactics/InferiorCells.h"
#include "tactics/PlayoutBoard.h"
#include "tactics/SolverTable.h"
#include "tactics/VirtualConnections.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

// Depth-first proof-number search (df-pn, with the 1 + epsilon threshold of Pawlewicz and
// Lew) of a Hex position: whether the side to move wins with perfect play. The swap is not a
// move here: the solver takes positions in which it is no longer offered.
//
// Exact shortcuts only: a side that can join its edges with one stone wins; a side facing two
// such cells of the other side loses; facing one, it must take it. A stone that would give its
// side two winning cells wins for the side to move; for the other side, it must be answered
// on that cell or on one of the two (or more). With connections (on unless the constructor
// says otherwise), a side to move whose edges a stone joins virtually (VirtualConnections)
// wins, and a side facing the other's virtual connections tries only the cells common to all
// of them. With inferior cells (on unless the constructor says otherwise), every position is
// filled in (InferiorCells) first: a filled-in board that joins a player's edges decides the
// position, the filled-in cells are not tried, and the connections are read on the filled-in
// board, where the moves are played too. Moves are tried in a fixed order (next to stones
// first, then near the centre), so that the same position and budget always give the same
// answer. A position's numbers are kept by Zobrist key in a SolverTable of bounded size.
//
// Each proved position also keeps its proof's cells: the empty cells that the winner's win
// relies on, so that the loser could be given every other empty cell and still lose (Hex is
// monotone: a stone never hurts its owner). So once one move of the side to move is refuted,
// every move outside that refutation's cells loses too, and only the moves inside them are
// tried further.
//
// Thread contract: none; solve() runs on its caller's thread, and the stop flag may be raised
// from any thread (it is read at every node). One solve at a time per solver.
class DfpnSolver {
public:
    enum class Outcome { unknown, won, lost }; // for the side to move

    struct Limits {
        std::uint64_t nodes = std::numeric_limits<std::uint64_t>::max();
        std::chrono::milliseconds time = std::chrono::milliseconds::max();
    };

    struct Result {
        Outcome outcome = Outcome::unknown;
        // Won: a winning move. Lost: the move whose loss took the most work to prove (the
        // most resisting). noMove when unknown, or when the game is already over.
        Hex::Coord move = Hex::noMove;
        std::uint64_t nodes = 0; // positions searched
        double seconds = 0.0;
        // Won or lost: the empty cells that the proof uses; the loser may be given every other
        // empty cell and still loses.
        std::vector<Hex::Coord> proof;
    };

    static constexpr std::size_t defaultTableBytes = std::size_t{32} << 20;

    explicit DfpnSolver(std::size_t tableBytes = defaultTableBytes, bool connections = true,
                        bool inferior = true);

    // Solves the position of `board` with `toMove` (1 or 2) to move, within the limits; the
    // answer is unknown when a limit or the stop flag ends the search first, never wrong.
    Result solve(const PlayoutBoard& board, int toMove, const Limits& limits,
                 const std::atomic<bool>& stop);

private:
    static constexpr int maxWords = (PlayoutBoard::maxSize * PlayoutBoard::maxSize + 63) / 64;
    using CellBits = std::array<std::uint64_t, maxWords>; // cells by row * N + col

    struct Numbers {
        std::uint32_t proof;
        std::uint32_t disproof;
    };
    // One node's moves while it is on the search path; one frame per depth, reused.
    struct Frame {
        std::vector<int> moves;
        std::vector<std::uint64_t> keys; // of the positions after each move
        std::vector<std::uint64_t> work; // spent below each move (kept at the root only)
        // The fill-in that the moves are played on: a filled-in cell is no better than a
        // pass for either side whatever is played later, so the children are the smaller
        // filled-in positions, and positions that differ only there are one.
        std::vector<InferiorCells::Fill> fill;
        bool filledIn = false; // `fill` is complete: a child's fill-in may start from it
        bool terminal = false; // decided without a search; moves[0] the answer
        std::vector<std::uint8_t> refuted; // the move's loss is proved and its cells applied
        // Should every move lose: the cells that the proof uses so far (what left the other
        // moves out, and the refutations seen).
        CellBits lossProof{};
    };

    // A position's moves as readPosition() found them. df-pn comes back to the same positions
    // many times, and the reading is a function of the position alone, so a position read
    // before is not read again: the search is the same, only faster.
    struct Reading {
        std::uint64_t key = 0;
        bool used = false;
        bool filledIn = false;
        std::vector<int> moves;
        std::vector<InferiorCells::Fill> fill;
        CellBits lossProof{};
    };
    static constexpr std::size_t readingSlots = std::size_t{1} << 13;

    static constexpr std::uint32_t infinity = std::numeric_limits<std::uint32_t>::max() / 2;

    void prepare(const PlayoutBoard& board);
    bool generateMoves(Frame& frame, int toMove, std::uint64_t key, int afterFill);
    bool readPosition(Frame& frame, int toMove, std::uint64_t key, int afterFill);
    void setFill(const Frame& frame, bool filled);
    bool pruneByConnections(Frame& frame, int toMove, std::uint64_t key);
    bool pruneInferior(Frame& frame, int toMove, std::uint64_t key, int afterFill);
    int findDoubleThreat(EdgeReach& reach, std::vector<int>* answers, CellBits* proof);
    void applyRefutations(Frame& frame);
    void storeProved(std::uint64_t key, bool won, const CellBits& proof);
    void addCell(CellBits& set, int cell) const {
        const auto bit = static_cast<std::size_t>(m_bitOf[static_cast<std::size_t>(cell)]);
        set[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    }
    bool hasCell(const CellBits& set, int cell) const {
        const auto bit = static_cast<std::size_t>(m_bitOf[static_cast<std::size_t>(cell)]);
        return ((set[bit >> 6] >> (bit & 63)) & 1U) != 0;
    }
    void addCells(CellBits& set, const std::vector<int>& cells) const;
    void addProof(CellBits& set, const std::uint64_t* proof) const;
    void addPairs(CellBits& set, const std::vector<InferiorCells::Fill>& fill, int player) const;
    void orderMoves(std::vector<int>& moves);
    void search(std::uint64_t key, int toMove, std::size_t depth, Numbers threshold, int afterFill);
    Numbers numbersOf(std::uint64_t key) const;
    bool outOfBudget();
    Hex::Coord chosenMove(const Frame& root, Outcome outcome) const;

    SolverTable m_table;
    std::vector<Reading> m_readings; // one slot per key, kept between solves of a board size
    PlayoutBoard m_board{2};
    std::vector<std::uint64_t> m_keys; // [cell * 2 + stone - 1]
    std::vector<std::int16_t> m_bitOf; // per board index: the cell's bit in a CellBits
    int m_words = 0;                   // of a CellBits in use
    CellBits m_proof{};                // scratch: a proof being stored
    CellBits m_allowed{};              // scratch of applyRefutations()
    std::vector<Frame> m_frames;
    EdgeReach m_own; // scratch of generateMoves(): the side to move's reach
    EdgeReach m_other;
    bool m_connections;
    bool m_inferior;
    InferiorCells m_fillIn;              // scratch of generateMoves(), with inferior cells on
    VirtualConnections m_ownConnections; // scratch of generateMoves(), with connections on
    VirtualConnections m_otherConnections;
    std::vector<int> m_made;    // scratch: the winning cells a stone would make
    std::vector<int> m_threats; // scratch: the side to move's stones that make one
    std::array<std::uint8_t, PlayoutBoard::maxCells> m_urgent{}; // marks m_threats' cells
    std::vector<std::pair<int, int>> m_scored;                   // scratch: (score, cell)
    std::uint64_t m_nodes = 0;
    std::uint64_t m_nodeLimit = 0;
    std::chrono::steady_clock::time_point m_deadline;
    const std::atomic<bool>* m_stop = nullptr;
    bool m_aborted = false;
};
