#include "model/Player.h"

#include "model/Game.h"

Player::Player(std::string name) : m_name(std::move(name)) {}

Player::~Player() = default;

Hex::Coord Player::getMove(Event&) {
    return firstEmptyCell();
}

std::uint8_t Player::askSwap(Event&) {
    return takeSwap;
}

Hex::Coord Player::firstEmptyCell() const {
    if (m_game == nullptr) {
        return Hex::noMove;
    }
    // Called on the game thread, which is the only writer of the board.
    const Hex::Board& board = m_game->board();
    const int n = static_cast<int>(board.size());
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            if (board.at(row, col) == 0) {
                return Hex::Coord{row, col};
            }
        }
    }
    return Hex::noMove;
}
