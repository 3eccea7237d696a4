#pragma once

#include "tactics/PlayoutBoard.h"

#include <array>
#include <cstdint>
#include <vector>

// Where one player's stones reach its edges, and which empty cells a stone would join to them:
// a cell that touches both edges (directly, or through a group of the player's stones that
// reaches the edge) wins at once; a cell that touches one is where a stone can make new
// winning cells, and winningAfter() names them.
//
// Plain data, reused between positions; no thread contract.
class EdgeReach {
public:
    // Reads the board for `player`; the cell lists are in board order.
    void compute(const PlayoutBoard& board, int player);

    const std::vector<int>& winning() const { return m_winning; }
    const std::vector<int>& touching() const { return m_touching; }

    // The winning cells that a stone of the player on `cell` (one of touching(), with no
    // winning cells now) would make, on the board that compute() read.
    void winningAfter(const PlayoutBoard& board, int cell, std::vector<int>& cells);

private:
    static constexpr std::uint8_t firstSide = 1;
    static constexpr std::uint8_t farSide = 2;

    void flood(const PlayoutBoard& board, int start, std::uint8_t side);
    bool firstVisit(int cell);

    int m_player = 0;
    // For the player's stones: the edges they reach; for empty cells: the edges they touch.
    std::array<std::uint8_t, PlayoutBoard::maxCells> m_marks{};
    std::vector<int> m_winning;
    std::vector<int> m_touching;
    std::vector<int> m_queue;
    // Cells seen by the current winningAfter() carry its generation.
    std::array<std::uint32_t, PlayoutBoard::maxCells> m_seen{};
    std::uint32_t m_generation = 0;
};
