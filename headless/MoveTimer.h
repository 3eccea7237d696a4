#pragma once

#include "model/Player.h"

#include <cstdint>

class ComputerPlayer;

// Stands in for a computer player in a headless game and times each of its answers by the
// wall clock, with the time budget it had for that move (0 when it did not search).
class MoveTimer : public Player {
public:
    explicit MoveTimer(ComputerPlayer& player);

    Hex::Coord getMove(Event& stopEvent) override;
    std::uint8_t askSwap(Event& stopEvent) override;

    ComputerPlayer& player() const { return m_player; }
    double lastSeconds() const { return m_lastSeconds; }
    std::int32_t lastBudget() const { return m_lastBudget; }

private:
    ComputerPlayer& m_player;
    double m_lastSeconds = 0.0;
    std::int32_t m_lastBudget = 0;
};
