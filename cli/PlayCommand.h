#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli play`: headless games between the computer strengths (see PlayGames). Ctrl-C
// stops the current game through its stop and still prints the table of the games played.
void addPlayCommand(CLI::App& app, int& exitCode);
void addPlayCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
