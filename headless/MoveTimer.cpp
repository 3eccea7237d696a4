#include "headless/MoveTimer.h"

#include "model/Game.h"
#include "players/TimedPlayer.h"

#include <chrono>

MoveTimer::MoveTimer(TimedPlayer& player, Budget budget)
    : Player(player.name()), m_player(player), m_budget(std::move(budget)) {}

Hex::Coord MoveTimer::getMove(Event& stopEvent) {
    m_player.setGame(game());
    m_lastBudget = m_budget(game()->board().size(), game()->moveNumber());
    const auto start = std::chrono::steady_clock::now();
    const Hex::Coord move = m_player.getMove(stopEvent);
    m_lastSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return move;
}

std::uint8_t MoveTimer::askSwap(Event& stopEvent) {
    m_player.setGame(game());
    m_lastBudget = 0;
    const auto start = std::chrono::steady_clock::now();
    const std::uint8_t answer = m_player.askSwap(stopEvent);
    m_lastSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return answer;
}
