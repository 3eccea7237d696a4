#pragma once

#include "model/Coord.h"

#include <cstdint>
#include <optional>
#include <vector>

class Player;
class InterruptGate;

// A genmove as the computer player decides it: inside a running game. The game replays the
// recorded moves through two GenmoveSides, and the computer player answers for the side to
// move once the record runs out, with everything it does in a game of the program: the
// opening move at move number 1, the swap decision, the time budget from its own clock and
// time limit, learning and the search.
//
// Thread contract: play() runs the game on the calling thread; the gate may interrupt the
// think from another thread.
class GenmoveGame {
public:
    // The computer player's answer for the side to move after moves on a board of side size
    // (the swap marker when it takes the swap); nullopt when the game ended without one (a
    // won position). computer must play the side to move. Without swapOffered White is
    // never asked the swap question: it declines the swap unasked and plays its first stone
    // (which, as its opening move, may then fall on Black's stone; the caller checks).
    static std::optional<Hex::Coord> play(std::uint32_t size, const std::vector<Hex::Coord>& moves,
                                          Player& computer, InterruptGate& gate, bool swapOffered);
};
