#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli search`: one look-ahead search of the hard computer player from a position
// (see PositionOptions) for the side to move, within --budget whole seconds. Prints one JSON
// object: "move", "value", "depth" (iterations completed), "nodes" (tree size at the end),
// "evaluations", "seconds" (wall time) and "peak_rss_mib"; the search's status texts go to
// err. Bad input prints one line on err and sets exit code 2.
void addSearchCommand(CLI::App& app, int& exitCode);
void addSearchCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
