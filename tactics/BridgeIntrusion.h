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

// Inline: the playouts call it after every move.
inline BridgeIntrusion findBridgeIntrusion(const PlayoutBoard& board, int move, int player) {
    // Bit j of `mine` and `empty` describes the neighbour in ring direction j. A carrier is
    // an empty neighbour whose two ring neighbours both belong to the player (a stone or an
    // edge of its own).
    const std::array<int, 6>& ring = board.ring();
    unsigned mine = 0;
    unsigned empty = 0;
    for (unsigned j = 0; j < 6; ++j) {
        const std::uint8_t value = board.at(move + ring[j]);
        mine |= static_cast<unsigned>((value & 3) == player) << j;
        empty |= static_cast<unsigned>(value == PlayoutBoard::empty) << j;
    }
    const unsigned before = ((mine << 1) | (mine >> 5)) & 63U; // bit j: neighbour j - 1 is mine
    const unsigned after = ((mine >> 1) | (mine << 5)) & 63U;  // bit j: neighbour j + 1 is mine
    unsigned carriers = empty & before & after;
    // Carriers are never adjacent in the ring, so there are at most three.
    BridgeIntrusion found;
    for (unsigned j = 0; carriers != 0; ++j, carriers >>= 1) {
        if ((carriers & 1U) != 0) {
            found.saves[found.count++] = move + ring[j];
        }
    }
    return found;
}
