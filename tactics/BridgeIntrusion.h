#pragma once

#include "tactics/PlayoutBoard.h"

#include <array>

// The bridges of `player` that a stone of the other side on `move` has intruded into: each
// bridge's other carrier cell is empty, and a stone there keeps the two ends joined. A bridge
// joins two of the player's stones, or a stone and the player's own edge.
//
// Plain function of the board; no thread contract.
struct BridgeIntrusion {
    std::array<int, 3> saves{}; // the other carriers, in ring order; at most three
    unsigned count = 0;
};

BridgeIntrusion findBridgeIntrusion(const PlayoutBoard& board, int move, int player);
