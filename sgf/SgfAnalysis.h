#pragma once

#include "mcts/MoveAnalysis.h"
#include "settings/GameRecord.h"
#include "sgf/SgfGame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A reviewed game in SGF: every analysed move's node carries a comment that any SGF viewer
// shows, C[White 62% (best e5 64%), mistake] (the mover's win rate after the move, the best
// move with the win rate before, the label; a proven rate reads "won" or "lost"), and the
// numbers in the property QR, which no other program reads:
//     QR[0.6400 0.6200 e5 0.0200 mistake 0 0]
// win rate before, win rate after, best move, loss, label, and whether the rates before and
// after are proven (1) or not (0). Rates are written with four decimals, whatever the
// process's locale.
//
// Thread contract: none; the functions keep no state.
class SgfAnalysis {
public:
    // The game as SgfGame writes it (its variations too), with the analysis of its first
    // analysis.size() moves.
    static std::string write(const GameRecord& record, const SgfGame::Info& info,
                             const std::vector<MoveAnalysis>& analysis,
                             const std::vector<GameVariation>& variations = {});

    // The analysis that write() put into the file of `record` (the game SgfGame read from
    // text): the moves from the first up to the first without QR. Empty when the file
    // carries none, or when any of its QR is not one that write() gives for that move, so
    // that an analysis is never half believed.
    static std::vector<MoveAnalysis> read(std::string_view text, const GameRecord& record);

    static std::string comment(const MoveAnalysis& move, std::uint32_t size);
    static std::string numbers(const MoveAnalysis& move, std::uint32_t size);
    // The numbers of QR for a move played by player; nullopt when they are malformed.
    static std::optional<MoveAnalysis> parseNumbers(std::string_view text, Hex::Coord move,
                                                    int player, std::uint32_t size);
};
