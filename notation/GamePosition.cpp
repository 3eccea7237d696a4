#include "notation/GamePosition.h"

#include "model/Game.h"
#include "notation/HexNotation.h"

GamePosition::GamePosition(std::uint32_t size) : m_size(size) {
    replay();
}

GamePosition::~GamePosition() = default;

const Hex::Board& GamePosition::board() const {
    return m_replay->board();
}

std::string GamePosition::refusal(int side, Hex::Coord move) const {
    if (m_winner != 0) {
        return "the game is over";
    }
    if (side != sideToMove()) {
        return std::string(HexNotation::colourName(sideToMove())) + " is to move";
    }
    if (move == HexNotation::swapMarker(m_size)) {
        return m_moves.size() == 1 ? "" : "swap-pieces is only allowed as the second move";
    }
    if (!board().inBounds(move.row, move.col)) {
        return "the move is not on the board";
    }
    if (!board().isEmpty(move.row, move.col)) {
        return "cell " + HexNotation::cellName(move) + " is occupied";
    }
    return "";
}

void GamePosition::play(Hex::Coord move) {
    m_moves.push_back(move);
    replay();
}

std::string GamePosition::playAll(const std::vector<Hex::Coord>& moves) {
    for (const Hex::Coord move : moves) {
        const std::string why = refusal(sideToMove(), move);
        if (!why.empty()) {
            return "move " + std::to_string(m_moves.size() + 1) + " (" +
                   HexNotation::moveName(move, m_size) + "): " + why;
        }
        play(move);
    }
    return "";
}

bool GamePosition::undo() {
    if (m_moves.empty()) {
        return false;
    }
    m_moves.pop_back();
    replay();
    return true;
}

void GamePosition::clear() {
    m_moves.clear();
    replay();
}

// The replay constructor places every stone and the swap exactly as a played game does, so
// the position never needs rules of its own for the swap.
void GamePosition::replay() {
    m_replay = std::make_unique<Hex::Game>(m_size, m_moves);
    m_winner = m_replay->winner();
}
