#pragma once

#include "model/Player.h"

#include <deque>
#include <optional>

class InterruptGate;

// One side of the game that a genmove plays out. It answers with its side's recorded moves
// (and, for White, the recorded swap answer) until they run out; then it asks the computer
// player, keeps the answer, and stops the game: the game loop drops a move answered after a
// stop, so the answer is taken here, before the loop sees it. A side without a computer
// player that runs out of moves stops the game without an answer.
//
// Thread contract: as Player; the gate may stop the game from another thread while the
// computer player thinks.
class GenmoveSide : public Player {
public:
    // swapTaken: White's recorded answer to the swap question; empty when it is not recorded.
    GenmoveSide(std::deque<Hex::Coord> moves, std::optional<bool> swapTaken, Player* computer,
                InterruptGate& gate);

    Hex::Coord getMove(Event& stopEvent) override;
    std::uint8_t askSwap(Event& stopEvent) override;

    // The computer player's answer: a cell, or the swap marker when it took the swap.
    std::optional<Hex::Coord> answer() const { return m_answer; }

private:
    std::deque<Hex::Coord> m_moves;
    std::optional<bool> m_swapTaken;
    Player* m_computer;
    InterruptGate& m_gate;
    std::optional<Hex::Coord> m_answer;
};
