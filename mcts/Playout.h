#pragma once

#include "engine/FastRandom.h"
#include "tactics/PlayoutBoard.h"

#include <array>
#include <cstdint>

// The search's playout policy: plays a position out until the board is full. A move that
// intrudes into a bridge of the side to reply (takes one of the two empty cells between two
// of its stones, or between a stone and its edge) is answered in the other cell; every other
// move is uniform over the empty cells. A full board has exactly one winner, found by one
// connection check at the end.
//
// Holds its own generator and working list, so that run() allocates nothing. One per search
// thread; no thread contract.
class Playout {
public:
    explicit Playout(std::uint64_t seed) : m_random(seed) {}

    // Fills every empty cell of the board, `toMove` first; `lastMove` is the cell the other
    // side played last (-1 for none), whose intrusion the first move may answer. Returns the
    // winner, 1 or 2; the board is left full.
    int run(PlayoutBoard& board, int toMove, int lastMove);

    // The cell that saves the bridge of `player` that a stone just placed on `move` has
    // intruded into; -1 when it intrudes into none. Of several such bridges, one at random.
    int bridgeSave(const PlayoutBoard& board, int move, int player);

    FastRandom& random() { return m_random; }

private:
    FastRandom m_random;
    std::array<std::int16_t, PlayoutBoard::maxCells> m_empty{};
};
