#pragma once

#include "model/Board.h"
#include "model/Coord.h"

#include <array>
#include <cstdint>

// The board the Monte-Carlo search plays on: one byte a cell on the N x N grid padded by a
// ring of edge cells, so that reading a neighbour never needs a bounds test. A cell is named
// by its index in the padded grid.
//
// The ring holds the edges as the players' own: rows -1 and N belong to Player 1, columns -1
// and N to Player 2, and `value & 3` of an edge cell is its player. The two ends of each
// edge carry their own values, so that a connection check knows which edge it has reached.
// The corners (-1, N) and (N, -1) read as nobody's and never empty, as on the game board.
//
// Sizes 2 to 30. Plain data, copied for every simulation; no thread contract.
class PlayoutBoard {
public:
    static constexpr std::uint8_t empty = 0;
    static constexpr std::uint8_t player1 = 1;
    static constexpr std::uint8_t player2 = 2;
    static constexpr std::uint8_t corner = 3;
    static constexpr std::uint8_t topEdge = 5;
    static constexpr std::uint8_t bottomEdge = 9;
    static constexpr std::uint8_t leftEdge = 6;
    static constexpr std::uint8_t rightEdge = 10;

    static constexpr int maxSize = 30;
    static constexpr int maxCells = (maxSize + 2) * (maxSize + 2);

    explicit PlayoutBoard(int size);
    // The position of a game board, whose size must be 2 to 30.
    explicit PlayoutBoard(const Hex::Board& board);

    int size() const { return m_size; }
    int width() const { return m_width; }
    int index(int row, int col) const { return (row + 1) * m_width + col + 1; }
    int index(Hex::Coord cell) const { return index(cell.row, cell.col); }
    Hex::Coord coord(int cell) const;
    // The cell of the same place with row and column exchanged (where the swap moves a stone).
    int mirror(int cell) const;

    // The board's cells lie in [firstCell, endCell), with ring cells between the rows.
    int firstCell() const { return m_width + 1; }
    int endCell() const { return m_size * m_width + m_size + 1; }

    std::uint8_t at(int cell) const { return m_cells[static_cast<std::size_t>(cell)]; }
    void set(int cell, std::uint8_t value) { m_cells[static_cast<std::size_t>(cell)] = value; }

    // Offsets of the six neighbours in cyclic order: up, up-right, right, down, down-left,
    // left. Two cells two steps apart in this order are the ends of a bridge whose carrier
    // is the cell between them and the centre.
    const std::array<int, 6>& ring() const { return m_ring; }

    // True when the player's stones join the player's two edges. Leaves the board as it
    // found it (it marks the cells it visits and clears the marks again).
    bool connects(int player);

    // Copies the position of a board of the same size.
    void copyFrom(const PlayoutBoard& other);

private:
    static constexpr std::uint8_t visited = 16;

    int m_size;
    int m_width;
    std::array<int, 6> m_ring;
    std::array<std::uint8_t, maxCells> m_cells{};
};
