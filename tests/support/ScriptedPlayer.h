#pragma once

#include "model/Player.h"

#include <cstdint>
#include <deque>
#include <stdexcept>

// A player that answers from a script: the moves in order, and one swap answer.
class ScriptedPlayer : public Player {
public:
    explicit ScriptedPlayer(std::deque<Hex::Coord> moves, std::uint8_t swapAnswer = 0)
        : Player("scripted"), m_moves(std::move(moves)), m_swapAnswer(swapAnswer) {}

    Hex::Coord getMove(Event&) override {
        ++moveCalls;
        if (m_moves.empty()) {
            throw std::logic_error("script ran out of moves");
        }
        const Hex::Coord move = m_moves.front();
        m_moves.pop_front();
        return move;
    }

    std::uint8_t askSwap(Event&) override {
        ++swapCalls;
        return m_swapAnswer;
    }

    int moveCalls = 0;
    int swapCalls = 0;

private:
    std::deque<Hex::Coord> m_moves;
    std::uint8_t m_swapAnswer;
};
