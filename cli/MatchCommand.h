#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli match --black "COMMAND" --white "COMMAND" [--games K] [--size N]
// [--swap-colours] [--sgf-dir DIR] [--time-per-move S]`: two GTP engines play K games under
// the referee (see Match); a progress bar on err, then the table (see MatchTable) on out.
// Exit code 0 after the games, 1 when an engine cannot be started, 2 for bad arguments, 130
// when interrupted (Ctrl-C ends the match and still prints the table of the games played).
void addMatchCommand(CLI::App& app, int& exitCode);
void addMatchCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
