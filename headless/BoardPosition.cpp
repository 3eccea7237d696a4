#include "headless/BoardPosition.h"

#include "model/Game.h"

BoardPosition BoardPosition::ofGame(const Hex::Game& game) {
    return BoardPosition{game.board(), game.moves().size() % 2 == 0 ? 1 : 2, game.lastMove()};
}
