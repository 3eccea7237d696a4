#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli solve`: the proof-number solver (DfpnSolver) on a position (see
// PositionOptions) for the side to move, the swap no longer offered, within --seconds and
// --nodes. Prints one JSON object: "result" (won, lost or unknown, for the side to move),
// "winner" (1, 2 or null), "move" ([row, col]: the winning move, or the most resisting one
// of a lost position; null when unknown or when the game is over), "nodes" and "seconds".
// Bad input prints one line on err and sets exit code 2.
void addSolveCommand(CLI::App& app, int& exitCode);
void addSolveCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
