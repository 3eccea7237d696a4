#pragma once

#include "model/Player.h"

#include <cstdint>
#include <functional>

class TimedPlayer;

// Stands in for a computer player in a headless game and times each of its answers by the
// wall clock, with the time budget it had for that move (0 when it did not search).
class MoveTimer : public Player {
public:
    // The budget of a move at a move number on a board of side n; 0 for none.
    using Budget = std::function<std::int32_t(std::uint32_t n, int moveNumber)>;

    MoveTimer(TimedPlayer& player, Budget budget);

    Hex::Coord getMove(Event& stopEvent) override;
    std::uint8_t askSwap(Event& stopEvent) override;

    TimedPlayer& player() const { return m_player; }
    double lastSeconds() const { return m_lastSeconds; }
    std::int32_t lastBudget() const { return m_lastBudget; }

private:
    TimedPlayer& m_player;
    Budget m_budget;
    double m_lastSeconds = 0.0;
    std::int32_t m_lastBudget = 0;
};
