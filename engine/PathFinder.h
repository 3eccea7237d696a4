#pragma once

#include "engine/DirectionTables.h"
#include "engine/Path.h"
#include "engine/Weights.h"
#include "model/Board.h"
#include "model/Coord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// One player's judgement of a position: the price of every cell on a chain between the
// player's two edges, the four features the price is built from, and the cheapest
// edge-to-edge paths over those prices.
//
// Direction 0 joins row 0 to row N-1 (Player 1), direction 1 joins column 0 to column N-1
// (Player 2). "Along" is the coordinate in the player's direction (the row for direction 0),
// "across" the other one.
//
// Every result must be the same, bit for bit, on every build: the floating-point additions
// happen in one fixed order (stones in row-major order, then bridges), and the path search's
// ties are broken by one fixed sequence of heap operations. Changing either changes paths.
//
// Thread contract: none. A PathFinder is used by one thread at a time; the board and the
// weights it points at must stay alive and unchanged while they are attached.
class PathFinder {
public:
    using Features = std::array<double, 4>;

    struct BridgeCounts {
        int own = 0;
        int opposing = 0;

        friend bool operator==(const BridgeCounts&, const BridgeCounts&) = default;
    };

    // Serves only boards of side `size`. Throws std::invalid_argument for a direction other
    // than 0 or 1.
    PathFinder(std::uint32_t size, int direction, int colour);
    PathFinder(const PathFinder&) = delete;
    PathFinder& operator=(const PathFinder&) = delete;

    std::uint32_t size() const { return m_size; }
    int direction() const { return m_direction; }
    int colour() const { return m_colour; }

    // The weights are read at every setBoard; nothing is recomputed when they change.
    void setWeights(const Weights* weights) { m_weights = weights; }
    const Weights* weights() const { return m_weights; }

    // Recomputes every cost and feature from the board. Throws std::invalid_argument for a
    // null board, a board of another size, or weights never set.
    void setBoard(const Hex::Board* board);

    // Reads of the last setBoard; Hex::OffBoardException for a cell off the board.
    double cost(int row, int col) const;
    Features features(int row, int col) const;
    // (0, 0) for an occupied cell. Reads the ring around the board, so a stone on the second
    // row from an edge with both cells between it and the edge empty bridges to that edge.
    BridgeCounts bridgeCounts(int row, int col) const;
    // Feature k summed over every cell of the path, both ends included.
    Features sumFeatures(const Path& path) const;

    // The search's estimate of the rest of a path: N - along forward, along in reverse. It
    // is not a lower bound, since own stones cost nothing.
    int heuristic(int row, int col, bool reverse) const;
    // The cells next to (row, col), in the fixed neighbour order, that are on the board and
    // not the other player's; Hex::OffBoardException for a cell off the board.
    std::vector<Hex::Coord> neighbours(int row, int col) const;

    // Best-first search from across index `start` on the along = 0 edge (along = N-1 when
    // reverse) to the other edge. The start cell's own cost is not counted. The cells run
    // from the goal back to the first start-edge cell met, which need not be the start.
    Path findPath(int start, bool reverse);
    // At most k paths, cheapest first (ties as the heap gives them), among the searches of
    // both directions from every start cell that ended on their own start cell.
    std::vector<Path> bestPaths(std::size_t k);
    // bestPaths(k) cut to its near-best paths: the leading ones up to the first dearer than
    // 1.25 times the cheapest. Into `paths`, whose storage is reused.
    void nearBestPaths(std::size_t k, std::vector<Path>& paths);

private:
    // An entry of the open heap. Its g is always that of its cell's search record, and its h
    // is the cell's heuristic, so only their sum is kept: the key "greater on g + h" sorts by.
    struct OpenEntry {
        double f = 0.0;
        std::int32_t cell = 0; // row * N + col
    };
    struct Stone {
        std::int32_t row = 0;
        std::int32_t col = 0;
        std::size_t side = 0; // 0 own, 1 opposing
    };
    struct Candidate {
        double cost = 0.0;
        std::size_t slot = 0; // its cells are m_candidateCells[slot]
    };
    // A neighbour the search may enter, and the parent code it gets when reached this way.
    struct Step {
        std::int32_t cell = 0;
        std::int32_t code = 0;
    };
    // A cell's search record: the parent code in the low bits (0 none), and whether closed.
    static constexpr std::uint8_t parentBits = 7;
    static constexpr std::uint8_t closedBit = 8;

    int alongOf(int row, int col) const { return m_direction == 0 ? row : col; }
    int acrossOf(int row, int col) const { return m_direction == 0 ? col : row; }
    int otherColour() const { return m_colour == 1 ? 2 : 1; }
    void checkOnBoard(const char* where, int row, int col) const;

    void readBoard();
    void updateStoneTerms();
    void addStoneInfluence();
    void finishCells();
    BridgeCounts countBridges(std::size_t cell) const;
    static BridgeCounts countRing(const int (&ring)[6], int colour);

    bool search(int start, bool reverse);
    void open(std::int32_t cell, std::int32_t code, double g, double h);
    void walkBack(bool reverse, std::vector<Hex::Coord>& cells) const;
    void makeSteps(std::size_t cell, std::vector<std::array<Step, 6>>& steps,
                   std::vector<std::uint8_t>& counts) const;
    void findCandidates();
    Candidate takeCheapest();

    // Cell tables, [row * N + col]. The cost and the four features are what the interface
    // shows; the two proximity features and the bridge counts are kept apart so that the
    // stone loop runs over contiguous rows.
    std::vector<double> m_cost;
    std::uint32_t m_size;
    int m_direction;
    int m_colour;
    const Hex::Board* m_board = nullptr;
    // The search records, one per cell: the parent code and the closed mark, and g, which is
    // read only once the parent code is set. A closed cell that is reached more cheaply is
    // opened again; the closed cells need no list of their own, only the mark.
    std::vector<std::uint8_t> m_record;
    std::vector<double> m_g;
    std::vector<OpenEntry> m_open;
    const Weights* m_weights = nullptr;
    std::array<std::vector<double>, 2> m_proximity;    // features 0 and 1
    std::vector<std::array<std::int8_t, 2>> m_bridges; // features 2 and 3

    const DirectionTables m_tables;
    // weight[side] x w / d² per difference (cell - stone), for the weights m_termWeights.
    std::array<std::vector<double>, 2> m_stoneCost;
    std::array<double, 2> m_termWeights{};
    bool m_termsValid = false;

    // The bridge counts of an empty cell per ring of six neighbours, the ring read as a
    // number in base 3 (R0 the lowest digit).
    std::array<BridgeCounts, 729> m_bridgesOfRing{};
    bool m_ringIsTernary = true; // every cell holds 0, 1 or 2, as a game's board does
    // No cost is NaN, so that any two estimates compare (the open list's rebuild relies on it).
    bool m_costsComparable = true;

    // Working storage, reused at every call.
    std::vector<std::int32_t> m_ring;    // the board with its border ring, (N + 2) x (N + 2)
    std::vector<std::uint8_t> m_blocked; // the other player's stones
    // Per cell, the neighbours the search may enter, in the fixed order: made by setBoard.
    std::vector<std::array<Step, 6>> m_steps;
    std::vector<std::uint8_t> m_stepCount;
    std::vector<std::array<Step, 6>> m_openSteps; // of an empty board
    std::vector<std::uint8_t> m_openStepCount;
    // The estimate per cell, forward and in reverse, as the search adds it.
    std::array<std::vector<double>, 2> m_estimate;
    std::vector<Stone> m_stones;
    int m_start = 0;
    int m_goal = 0;
    std::vector<Candidate> m_candidates;
    std::vector<std::vector<Hex::Coord>> m_candidateCells;
};
