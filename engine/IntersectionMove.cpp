#include "engine/IntersectionMove.h"

#include "engine/CommonCells.h"

Hex::Coord intersectionMove(PathFinder& player1, PathFinder& player2, const Hex::Board& board) {
    player1.setBoard(&board);
    player2.setBoard(&board);
    const std::vector<Path> paths1 = player1.bestPaths(1);
    const std::vector<Path> paths2 = player2.bestPaths(1);
    if (paths1.empty() || paths2.empty()) {
        return Hex::noMove;
    }
    const std::vector<Hex::Coord> common = commonCells(paths1.front(), paths2.front());
    return common.empty() ? Hex::noMove : common.front();
}
