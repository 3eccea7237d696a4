#include "gtp/GenmoveSide.h"

#include "gtp/InterruptGate.h"
#include "model/Game.h"

namespace {

// The gate is left however the think ends, an exception included.
class Think {
public:
    Think(InterruptGate& gate, Hex::Game& game) : m_gate(gate) { m_gate.enter(game); }
    ~Think() { m_gate.leave(); }
    Think(const Think&) = delete;
    Think& operator=(const Think&) = delete;

private:
    InterruptGate& m_gate;
};

} // namespace

GenmoveSide::GenmoveSide(std::deque<Hex::Coord> moves, std::optional<bool> swapTaken,
                         Player* computer, InterruptGate& gate)
    : Player("genmove side"), m_moves(std::move(moves)), m_swapTaken(swapTaken),
      m_computer(computer), m_gate(gate) {}

Hex::Coord GenmoveSide::getMove(Event& stopEvent) {
    if (!m_moves.empty()) {
        const Hex::Coord move = m_moves.front();
        m_moves.pop_front();
        return move;
    }
    if (m_computer == nullptr) {
        game()->stop();
        return Hex::noMove;
    }
    m_computer->setGame(game());
    {
        Think think(m_gate, *game());
        m_answer = m_computer->getMove(stopEvent);
    }
    game()->stop();
    return *m_answer;
}

std::uint8_t GenmoveSide::askSwap(Event& stopEvent) {
    if (m_swapTaken) {
        return *m_swapTaken ? takeSwap : declineSwap;
    }
    if (m_computer == nullptr) {
        game()->stop();
        return declineSwap;
    }
    m_computer->setGame(game());
    std::uint8_t answer = declineSwap;
    {
        Think think(m_gate, *game());
        answer = m_computer->askSwap(stopEvent);
    }
    if (answer == takeSwap) {
        const auto n = static_cast<std::int32_t>(game()->board().size());
        m_answer = Hex::Coord{n, n};
        game()->stop();
    }
    // Declined: the game asks this side for its move next, in the same turn.
    return answer;
}
