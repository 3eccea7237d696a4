#pragma once

#include "document/BoardColors.h"
#include "engine/Message.h"
#include "engine/Path.h"
#include "model/Board.h"
#include "model/Coord.h"

#include <map>
#include <optional>
#include <vector>

// Everything one paint of the board reads, copied out of the document and the game before
// painting, so that a paint never touches data that the game thread may be changing or that
// a finished search may already have freed.
struct BoardScene {
    // The side drawn when there is no game: the board size for the next game.
    int size = 10;
    // The board of the current or last game; absent before the first game.
    std::optional<Hex::Board> board;
    // The game's moves; the swap is the entry (N, N).
    std::vector<Hex::Coord> moves;
    Hex::Coord lastMove = Hex::noMove;
    std::vector<Hex::Coord> winningPath;
    // The winning chain is drawn only when this is exactly 1.
    int gameOver = 0;

    BoardColors colors;

    bool showPaths = false;
    bool showEvals = false;
    // Each side's published near-best paths and how many of them to draw.
    std::vector<Path> paths1;
    std::vector<Path> paths2;
    int pathCount1 = 0;
    int pathCount2 = 0;
    // Values of candidate cells, keyed 100 * row + column.
    std::map<int, CellEvaluation> evals;
    // The hinted cell, outlined in the path colour; noMove for none.
    Hex::Coord hint = Hex::noMove;
    // In the review of an analysed game: the stone of the move shown last, outlined in the
    // colour of its label, and the move the search preferred there when it differs, outlined
    // dashed in the path colour; noMove for none.
    Hex::Coord analysedStone = Hex::noMove;
    int analysedColor = 0;
    Hex::Coord betterMove = Hex::noMove;

    // The live analysis: the moves it rates best, for analysisToMove (1 or 2), and the line
    // it expects after the hovered one of them (empty when none is hovered).
    std::vector<AnalyzedMove> analysis;
    std::vector<Hex::Coord> analysisLine;
    int analysisToMove = 1;

    bool hasGame() const { return board.has_value(); }
    // The side of the game's board when there is a game, else size.
    int boardSide() const { return board ? static_cast<int>(board->size()) : size; }
};
