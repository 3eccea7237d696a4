#pragma once

#include "model/Coord.h"

#include <optional>
#include <string_view>

// What the review of a game found about one move: the mover's win rate in the position
// before it with the search's best move, and in the position after the move played. Win
// rates are for the side that played the move, from 0 to 1; a proven position's rate is
// exactly 1 (won) or 0 (lost). Plain data: the window and the files keep copies.
struct MoveAnalysis {
    enum class Label { good, inaccuracy, mistake, blunder };

    Hex::Coord move = Hex::noMove;     // as played; the swap marker (N, N) for the swap
    int player = 1;                    // 1 or 2; the swap is Player 2's move
    Hex::Coord bestMove = Hex::noMove; // the search's choice in the position before
    double winRateBefore = 0.0;
    bool provenBefore = false;
    double winRateAfter = 0.0;
    bool provenAfter = false;
    double loss = 0.0; // winRateBefore - winRateAfter, never below 0
    Label label = Label::good;

    // The numbers of a move with its loss and label worked out.
    static MoveAnalysis of(Hex::Coord move, int player, Hex::Coord bestMove, double winRateBefore,
                           bool provenBefore, double winRateAfter, bool provenAfter);

    // A loss of 0.05 (five points of win rate) or more is an inaccuracy, 0.10 a mistake,
    // 0.20 a blunder.
    static Label labelOf(double loss);
    static std::string_view labelName(Label label);
    static std::optional<Label> labelNamed(std::string_view name);

    friend bool operator==(const MoveAnalysis&, const MoveAnalysis&) = default;
};
