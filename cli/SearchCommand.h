#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli search`: one look-ahead search of the hard computer player from a position
// (see PositionOptions) for the side to move, within --budget whole seconds or to exactly
// --depth iterations. Prints one JSON object: "move", "value", "depth" (iterations
// completed), "nodes" (tree size at the end), "evaluations", "seconds" (wall time),
// "peak_rss_mib" and "depth_seconds" (the wall time at which each depth was finished);
// --no-times leaves out the last three. --each-depth adds "depths": per finished depth its
// move, value, tree size, evaluations and every root move's value, in the root's order. The
// search's status texts go to err. Bad input prints one line on err and sets exit code 2.
void addSearchCommand(CLI::App& app, int& exitCode);
void addSearchCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
