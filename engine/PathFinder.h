#pragma once

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

    // The estimate of the rest of a path: rows (or columns) still to cross.
    int heuristic(int row, int col, bool reverse) const;
    // The cells next to (row, col), in the fixed neighbour order, that are on the board and
    // not the other player's.
    std::vector<Hex::Coord> neighbours(int row, int col) const;

    // Best-first search from across index `start` on the along = 0 edge (along = N-1 when
    // reverse) to the other edge. The start cell's own cost is not counted.
    Path findPath(int start, bool reverse);
    // At most k distinct paths, cheapest first, from every start cell in both directions.
    std::vector<Path> bestPaths(std::size_t k);

private:
    struct SearchRecord {
        std::int32_t parent = 0;
        double f = -1.0;
        double g = -1.0;
    };
    struct OpenEntry {
        std::int32_t row = 0;
        std::int32_t col = 0;
        double g = 0.0;
        double h = 0.0;
    };
    struct Stone {
        std::int32_t row = 0;
        std::int32_t col = 0;
        int value = 0;
    };

    std::size_t index(int row, int col) const {
        return static_cast<std::size_t>(row) * m_size + static_cast<std::size_t>(col);
    }
    int alongOf(int row, int col) const { return m_direction == 0 ? row : col; }
    int acrossOf(int row, int col) const { return m_direction == 0 ? col : row; }
    int otherColour() const { return m_colour == 1 ? 2 : 1; }
    void checkOnBoard(const char* where, int row, int col) const;

    void setBaseCosts();
    void listStones();
    void addStoneInfluence(int row, int col);
    void addBridges(int row, int col);
    BridgeCounts countBridges(int row, int col) const;

    std::vector<double> m_cost; // [row][col]
    std::uint32_t m_size;
    int m_direction;
    int m_colour;
    const Hex::Board* m_board = nullptr;
    std::vector<SearchRecord> m_records; // [row][col]
    std::vector<OpenEntry> m_open;
    std::vector<OpenEntry> m_closed;
    const Weights* m_weights = nullptr;
    std::vector<Features> m_features; // [row][col]
    std::vector<Stone> m_stones;
};
