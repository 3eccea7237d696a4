#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli review FILE`: the expert's review of a game (a record or an SGF game's main
// line, read as convert reads it; see GameAnalysis): one search of every position for
// --seconds (or --playouts), then one JSON object: "size", "moves" (per move its number,
// player, move, win rates before and after, best move, loss, label and whether the rates
// are proven) and "players" (each side's count of each label and average loss). A progress
// bar runs on err. --sgf OUT also writes the game with the analysis (see SgfAnalysis). Bad
// input prints one line on err, nothing on out, and sets exit code 2.
void addReviewCommand(CLI::App& app, int& exitCode);
void addReviewCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
