#pragma once

#include "tactics/PlayoutBoard.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// How often a local pattern was there for the side to move, and how often that side played
// its centre, in the games a table was learned from (see PatternTable).
struct LearnedPattern {
    std::uint64_t code = 0; // canonical (PatternPrior::canonical)
    std::uint32_t played = 0;
    std::uint32_t available = 0;
};

// A weight for playing an empty cell, learned from games: how often strong players played the
// centre of the local pattern around it when it was there. The pattern is the cell's six
// neighbours and the six cells at the far end of its possible bridges, each one of six states
// as the side to move sees them; beyond the board's padding the edge goes on.
//
// Patterns are seen from the side to move as if it were Player 1 (top to bottom): for Player 2
// the board is reflected in its long diagonal and the colours exchanged, which keeps the
// rules. The 180-degree rotation, which keeps them too, is folded in by canonical(). The
// twelve-cell pattern's weight is pulled towards its six-neighbour pattern's, and that one
// towards the average, by a pseudo-count of `smoothing` samples; a twelve-cell pattern absent
// from the table has its six-neighbour pattern's weight.
//
// Plain data built once; weight() reads it from any thread.
class PatternPrior {
public:
    enum State : std::uint64_t { empty, mine, theirs, myEdge, theirEdge, corner };
    static constexpr int fieldBits = 3;
    static constexpr std::uint64_t innerMask = (std::uint64_t{1} << (6 * fieldBits)) - 1;
    static constexpr double smoothing = 20.0;

    // The committed table (PatternTable).
    PatternPrior();
    PatternPrior(std::span<const LearnedPattern> inner, std::span<const LearnedPattern> outer);

    // The pattern of `cell` for `toMove`: field j (3 bits) is the neighbour in ring direction
    // j, field 6 + j the far end of the bridge between directions j and j + 1, both as
    // Player 1 would see them in the reflected position when `toMove` is Player 2.
    static std::uint64_t code(const PlayoutBoard& board, int cell, int toMove);
    static std::uint64_t rotated(std::uint64_t code);
    // The state of a cell of PlayoutBoard value `value` for `toMove`.
    static std::uint64_t stateOf(std::uint8_t value, int toMove);
    // One key for a pattern and its rotation: the smaller code.
    static std::uint64_t canonical(std::uint64_t code) {
        const std::uint64_t turned = rotated(code);
        return turned < code ? turned : code;
    }

    // The probability that the side to move plays `cell` (empty) among the cells of such
    // patterns, as learned.
    float weight(const PlayoutBoard& board, int cell, int toMove) const;
    float weight(std::uint64_t code) const;
    // Of a move with a pattern never seen.
    float average() const { return m_average; }

    // The six-neighbour part of a code in base 6, field j the digit of 6^j, and its weight.
    static std::size_t innerIndex(std::uint64_t code);
    static constexpr std::size_t innerCodes = 6 * 6 * 6 * 6 * 6 * 6;
    float innerWeight(std::size_t index) const { return m_inner[index]; }

private:
    std::size_t slotOf(std::uint64_t code) const;

    float m_average = 0.0F;
    // By the six-neighbour pattern in base 6 (every orientation, not only canonical ones).
    std::vector<float> m_inner;
    // Open addressing on the twelve-cell code, every orientation; empty slots hold ~0.
    std::vector<std::uint64_t> m_keys;
    std::vector<float> m_weights;
    int m_shift = 64;
};
