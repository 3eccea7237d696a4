#pragma once

#include "engine/Path.h"

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The messages that worker threads post to the main window. Each carries its data by value;
// the receiver owns what it gets, so nothing ever points into another thread's data.

// A human side is to place a stone (player 1 or 2).
struct WmAppHumanTurn {
    int player = 0;
};

// A human side is offered the swap.
struct WmAppSwapOffer {
    int player = 0;
};

// The board has changed.
struct WmAppRedraw {};

// A new status text of the computer player.
struct WmAppStatusText {
    std::string text;
};

// The near-best paths of one side as the search's root published them. A player of 0 with
// no paths clears the paths of both sides.
struct WmAppShowPaths {
    int player = 0;
    std::vector<Path> paths;

    bool clears() const { return player == 0; }
};

// The static value of one root move.
struct CellEvaluation {
    int row = 0;
    int col = 0;
    double value = 0.0;

    friend bool operator==(const CellEvaluation&, const CellEvaluation&) = default;
};

// One root move's value; an empty evaluation clears all shown values.
struct WmAppShowEval {
    std::optional<CellEvaluation> evaluation;

    bool clears() const { return !evaluation.has_value(); }
};

// A game ended with an error; the window shows the text in a message box. The game thread
// does not wait for the box.
struct GameErrorText {
    std::string text;
};

// A hint found for the document's hint request number `request`: the suggested move and its
// value from the side to move's view (+1 won, -1 lost), when the search gave one.
struct WmAppShowHint {
    int request = 0;
    Hex::Coord move = Hex::noMove;
    std::optional<double> value;
};

// One move of the live analysis: its win rate for the side to move (exactly 1 or 0 once
// proven), its share of the root's playouts, and the line the search expects after it.
struct AnalyzedMove {
    Hex::Coord move = Hex::noMove; // the swap is the marker (N, N)
    double winRate = 0.0;
    double share = 0.0;
    bool proven = false;
    std::vector<Hex::Coord> line; // starts with move

    friend bool operator==(const AnalyzedMove&, const AnalyzedMove&) = default;
};

// A snapshot of the live analysis of the document's request number `request`: the root
// moves most visited so far, most visited first (a proven win before them all).
struct WmAppLiveAnalysis {
    int request = 0;
    std::vector<AnalyzedMove> moves;
};

// The analysis of a game, the document's analysis request number `request`, has searched
// `done` of its `total` positions.
struct WmAppAnalysisProgress {
    int request = 0;
    std::size_t done = 0;
    std::size_t total = 0;
};

// The analysis of request number `request` has ended. Its moves are of the search's own type,
// which this layer does not know: the receiver takes them from the run that posted this
// message, once it has joined the run's thread.
struct WmAppAnalysisDone {
    int request = 0;
};

using Message = std::variant<WmAppHumanTurn, WmAppSwapOffer, WmAppRedraw, WmAppStatusText,
                             WmAppShowPaths, WmAppShowEval, GameErrorText, WmAppShowHint,
                             WmAppLiveAnalysis, WmAppAnalysisProgress, WmAppAnalysisDone>;
