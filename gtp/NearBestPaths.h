#pragma once

#include "engine/Path.h"
#include "engine/Weights.h"
#include "model/Board.h"

#include <vector>

// What the search sees at the root of a position: each side's near-best paths (its cheapest
// paths up to the first one dearer than 1.25 times the cheapest, as the search cuts them)
// and the position value from Player 1's side.
struct NearBestPaths {
    std::vector<Path> player1;
    std::vector<Path> player2;
    double value = 0.0;

    static NearBestPaths of(const Hex::Board& board, const Weights& weights);
};
