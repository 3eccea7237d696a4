#pragma once

#include "model/Coord.h"

#include <cstddef>
#include <vector>

// A line of moves that leaves a game after its first `branch` moves: the game's first moves,
// then these. The sides alternate on from the branch point.
struct GameVariation {
    std::size_t branch = 0;
    std::vector<Hex::Coord> moves;

    bool operator==(const GameVariation&) const = default;
};
