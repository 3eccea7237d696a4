#pragma once

#include "engine/Path.h"
#include "model/Board.h"
#include "model/Coord.h"

#include <cstddef>
#include <vector>

// Keeps the leading paths up to the first one dearer than 1.25 times the cheapest; returns
// how many remain.
std::size_t cutToNearBest(std::vector<Path>& paths);

// The candidate moves of a position for the side to move (TreeNode's node types), after the
// near-best cut of both path lists: the cells where a near-best path of Player 1 crosses one
// of Player 2, in the order the pairs are met, then, next to each crossing, the empty cells
// marked as the opponent's by the pairs that cross. A cell may appear twice. `marks` is
// working storage.
std::vector<Hex::Coord> crossingsAndBlocks(const Hex::Board& board, int nodeType,
                                           std::vector<Path>& pathsP1, std::vector<Path>& pathsP2,
                                           std::vector<int>& marks);
