#include "players/HumanPlayer.h"

#include "players/HumanInput.h"

HumanPlayer::HumanPlayer(std::string name, HumanInput* input, const Clock& clock)
    : TimedPlayer(std::move(name), clock), m_pInput(input) {}

Hex::Coord HumanPlayer::chooseMove(Event& stopEvent) {
    return m_pInput != nullptr ? m_pInput->getMove(stopEvent) : firstEmptyCell();
}

bool HumanPlayer::decideSwap(Event& stopEvent) {
    return m_pInput != nullptr ? m_pInput->askSwap(stopEvent) : true;
}
