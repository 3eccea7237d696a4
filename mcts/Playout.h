#pragma once

#include "engine/FastRandom.h"
#include "mcts/WeightedCells.h"
#include "tactics/PlayoutBoard.h"
#include "tactics/Ziggurat.h"

#include <array>
#include <cstdint>
#include <optional>

class PlayoutPatterns;

// The search's playout policy: plays a position out until the board is full. A move that
// intrudes into a bridge of the side to reply (takes one of the two empty cells between two
// of its stones, or between a stone and its edge) is answered in the other cell. With
// templates on, while the board is at most half full, a move into the carrier of its
// ziggurat is answered too (Ziggurat). Every other move is uniform over the empty cells, or,
// with patterns, drawn in proportion to the mover's weight of the six cells around it
// (PlayoutPatterns). A full board has exactly one winner, found by one connection check at
// the end.
//
// Holds its own generator and working list, so that run() allocates nothing. One per search
// thread; no thread contract.
class Playout {
public:
    // `patterns`, when given, must outlive the playout.
    explicit Playout(std::uint64_t seed, bool templates = false,
                     const PlayoutPatterns* patterns = nullptr)
        : m_random(seed), m_templates(templates), m_patterns(patterns) {}

    // Fills every empty cell of the board, `toMove` first; `lastMove` is the cell the other
    // side played last (-1 for none), whose intrusion the first move may answer. Returns the
    // winner, 1 or 2; the board is left full.
    int run(PlayoutBoard& board, int toMove, int lastMove);

    // The cell that saves the bridge of `player` that a stone just placed on `move` has
    // intruded into; -1 when it intrudes into none. Of several such bridges, one at random.
    int bridgeSave(const PlayoutBoard& board, int move, int player);

    // The cell that keeps the ziggurat of `player` that a stone just placed on `move` has
    // intruded into, of the answers that hold one at random; -1 when there is none to answer.
    int templateSave(const PlayoutBoard& board, int move, int player);

    FastRandom& random() { return m_random; }

private:
    int runWeighted(PlayoutBoard& board, int toMove, int lastMove);
    int forcedReply(const PlayoutBoard& board, int last, int player, int emptyLeft);

    FastRandom m_random;
    bool m_templates;
    const PlayoutPatterns* m_patterns;
    WeightedCells m_weighted;           // with patterns
    std::optional<Ziggurat> m_ziggurat; // for the width of the board last played on
    std::array<std::int16_t, PlayoutBoard::maxCells> m_empty{};
};
