#pragma once

#include "engine/PathFinder.h"
#include "model/Board.h"
#include "model/Coord.h"

// The easy computer player's whole move choice: the first cell where Player 1's cheapest
// path meets Player 2's. Both path finders are set to the board (player1 joins the rows,
// player2 the columns). Gives (-1, -1) when a side has no path (the position is won) or the
// two cheapest paths share no cell.
Hex::Coord intersectionMove(PathFinder& player1, PathFinder& player2, const Hex::Board& board);
