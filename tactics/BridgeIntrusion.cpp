#include "tactics/BridgeIntrusion.h"

BridgeIntrusion findBridgeIntrusion(const PlayoutBoard& board, int move, int player) {
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
