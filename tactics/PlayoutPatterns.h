#pragma once

#include "tactics/PatternPrior.h"
#include "tactics/PlayoutBoard.h"

#include <array>
#include <cstdint>
#include <vector>

// The playouts' weight for a move: the learned weight of the six cells around it
// (PatternPrior's six-neighbour patterns) as an integer, so that sums of weights kept up move
// by move are exact. A cell's pattern is kept as its base-6 index for each player; a stone
// placed beside it changes one digit, by delta().
//
// Plain data built once; read from any thread.
class PlayoutPatterns {
public:
    // The weight of a move played every time it is there; the least weight is 1.
    static constexpr double scale = 65535.0;

    // From the committed table.
    PlayoutPatterns() : PlayoutPatterns(PatternPrior()) {}
    explicit PlayoutPatterns(const PatternPrior& prior);

    std::uint32_t weight(std::uint32_t index) const { return m_weights[index]; }

    // The index of the empty `cell`'s pattern for `toMove` (PatternPrior::innerIndex of its
    // code).
    std::uint32_t index(const PlayoutBoard& board, int cell, int toMove) const;
    // What the index of a cell changes by, for `toMove`, when a stone of `colour` is placed
    // on its neighbour in ring direction `direction`.
    // (A stone's colour is its PlayoutBoard value, and the cell was empty, digit 0.)
    std::uint32_t delta(int toMove, int colour, int direction) const {
        return m_digits[static_cast<std::size_t>(toMove - 1)][static_cast<std::size_t>(colour)]
                       [static_cast<std::size_t>(direction)];
    }

private:
    std::vector<std::uint16_t> m_weights; // by index, small enough to stay in the cache
    // By side to move and PlayoutBoard value & 15: the digit, times 6^field for each direction.
    std::array<std::array<std::array<std::uint32_t, 6>, 16>, 2> m_digits{};
};
