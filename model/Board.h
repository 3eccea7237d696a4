#pragma once

#include "model/Coord.h"

#include <cstdint>
#include <vector>

namespace Hex {

// The N x N grid of cells: 0 empty, 1 Player 1's stone, 2 Player 2's stone.
//
// Coordinates are unsigned, so a negative coordinate is a huge number and fails every bounds
// test. The read form of cell() also answers for a ring one cell wide around the board, so
// that edge-aware code can treat the edges as stones: rows -1 and N read 1 (Player 1's
// edges), columns -1 and N read 2, the corners (-1, N) and (N, -1) read 0.
//
// Thread contract: none; the game guards its board (see Game).
class Board {
public:
    explicit Board(std::uint32_t size);

    std::uint32_t size() const { return m_size; }
    bool inBounds(std::uint32_t row, std::uint32_t col) const {
        return row < m_size && col < m_size;
    }

    // Checked reads and writes; throw OffBoardException off the board (reads: off the ring).
    int cell(std::uint32_t row, std::uint32_t col) const;
    void cell(std::uint32_t row, std::uint32_t col, int value);
    bool isEmpty(std::uint32_t row, std::uint32_t col) const;

    // Unchecked read of an on-board cell, for inner loops that have checked their bounds.
    int at(int row, int col) const { return m_cells[index(row, col)]; }

    // True when both cells are on the board and (r2 - r1) != (c2 - c1). It is a neighbour
    // test only for cells that differ by at most one in each coordinate.
    bool isNeighbour(std::uint32_t r1, std::uint32_t c1, std::uint32_t r2, std::uint32_t c2) const;

    // A shortest chain of cells holding value, from start cell `start` of the first edge
    // (row 0 for direction 0, column 0 for direction 1) to the far edge; empty if none.
    std::vector<Coord> connectionFrom(int value, int direction, std::uint32_t start) const;

    // The shortest of the chains from all start cells; the lowest start index wins a tie.
    std::vector<Coord> shortestConnection(int value, int direction) const;

    friend bool operator==(const Board&, const Board&) = default;

private:
    std::size_t index(std::uint32_t row, std::uint32_t col) const {
        return std::size_t{row} * m_size + col;
    }

    std::uint32_t m_size;
    std::vector<std::int32_t> m_cells;
};

} // namespace Hex
