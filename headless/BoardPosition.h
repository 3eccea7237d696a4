#pragma once

#include "model/Board.h"
#include "model/Coord.h"

namespace Hex {
class Game;
}

// A position as the analysis and the search take it: the stones as they stand, the side to
// move and the last stone placed. A game's position comes from its replay; a position set
// up stone by stone (an SGF file's setup) has no last move unless moves followed.
struct BoardPosition {
    Hex::Board board{1};
    int toMove = 1;                    // 1 Player 1 (Black), 2 Player 2 (White)
    Hex::Coord lastMove = Hex::noMove; // as Hex::Game::lastMove gives it

    static BoardPosition ofGame(const Hex::Game& game);
};
