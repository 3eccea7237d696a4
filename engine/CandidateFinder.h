#pragma once

#include "engine/Path.h"
#include "model/Board.h"
#include "model/Coord.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The candidate moves of a position for the side to move: the cells where a near-best path
// of Player 1 crosses a near-best path of Player 2, in the order the pairs are met (Player 1's
// paths outer, each crossing in the order of the Player 1 path), then, next to each crossing,
// the empty cells that the crossing pairs mark as the opponent's. A crossing may come back as
// a blocking cell of another, so a cell may appear twice.
//
// Thread contract: none; one finder per thread (it keeps its working grids).
class CandidateFinder {
public:
    // Keeps the leading paths up to the first one dearer than 1.25 times the cheapest;
    // returns how many remain.
    static std::size_t cutToNearBest(std::vector<Path>& paths);

    // Cuts both lists to their near-best paths, then finds the candidates; nodeType is
    // TreeNode's (1: Player 1 to move).
    std::vector<Hex::Coord> find(const Hex::Board& board, int nodeType, std::vector<Path>& pathsP1,
                                 std::vector<Path>& pathsP2);

private:
    void prepare(std::size_t cells);
    bool addCrossings(const Path& player1, const Path& player2, int n,
                      std::vector<Hex::Coord>& candidates);

    // Per cell: the last crossing pair's owner mark (1, 2), how often the Player 2 path in
    // hand passes it, and whether it is listed as a crossing or as a block.
    std::vector<std::uint8_t> m_marks;
    std::vector<std::uint8_t> m_onPath;
    std::vector<std::uint8_t> m_crossing;
    std::vector<std::uint8_t> m_block;
};
