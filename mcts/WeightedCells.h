#pragma once

#include "engine/FastRandom.h"
#include "tactics/PlayoutBoard.h"

#include <array>
#include <cstdint>

class PlayoutPatterns;

// The empty cells of a playout with each player's pattern weight (PlayoutPatterns), kept up as
// stones are placed, and drawn from in proportion to it. The sums are kept by row, so that a
// draw reads a row's sum and then one row's cells.
//
// One per playout object; no thread contract.
class WeightedCells {
public:
    // Weighs every empty cell of the board.
    void reset(const PlayoutBoard& board, const PlayoutPatterns& patterns);
    // Places a stone of `colour` on the empty `cell` of the board and reweighs its neighbours.
    void place(PlayoutBoard& board, int cell, int colour);
    // An empty cell for `toMove`, drawn in proportion to the weights; the board must have one.
    int draw(FastRandom& random, int toMove) const;

    std::uint32_t weight(int cell, int toMove) const { return side(toMove).weights[at(cell)]; }

private:
    struct Side {
        std::array<std::uint32_t, PlayoutBoard::maxCells> index{};
        std::array<std::uint32_t, PlayoutBoard::maxCells> weights{};
        std::array<std::uint32_t, PlayoutBoard::maxSize> rowSums{};
        std::uint32_t total = 0;
    };

    static std::size_t at(int cell) { return static_cast<std::size_t>(cell); }
    const Side& side(int toMove) const { return m_sides[static_cast<std::size_t>(toMove - 1)]; }
    void setWeight(Side& side, int cell, std::uint32_t weight);

    const PlayoutPatterns* m_patterns = nullptr;
    int m_width = 0;
    std::array<int, 6> m_ring{};
    std::array<std::uint8_t, PlayoutBoard::maxCells> m_rowOf{}; // of a board cell
    std::array<Side, 2> m_sides;
};
