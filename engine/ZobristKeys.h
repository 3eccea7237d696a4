#pragma once

#include "model/Board.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Zobrist keys of the positions of one board size: a fixed pseudo-random 64-bit number per
// cell and stone, XORed together, and one more for Player 2 to move. Equal positions have
// equal keys; unequal ones almost always differ, so a key only finds a position, and whoever
// uses it confirms the position itself.
//
// Thread contract: immutable after construction.
class ZobristKeys {
public:
    explicit ZobristKeys(std::uint32_t size);

    // The key of a stone (1 or 2) on cell row * N + col.
    std::uint64_t stone(std::size_t cell, int stoneValue) const {
        return m_keys[2 * cell + static_cast<std::size_t>(stoneValue - 1)];
    }
    std::uint64_t player2ToMove() const { return m_player2ToMove; }

    // The key of a whole position with the given side to move (TreeNode's node types).
    std::uint64_t of(const Hex::Board& board, int nodeType) const;

private:
    std::vector<std::uint64_t> m_keys;
    std::uint64_t m_player2ToMove = 0;
};
