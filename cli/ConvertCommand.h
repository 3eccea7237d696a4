#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli convert IN OUT`: converts a game between the program's game record and SGF.
// The input's format is told by its content (an SGF game starts with '('); the output's by
// OUT's extension (".sgf" SGF, ".txt" a record), else it is the other format. The output
// file is replaced whole. A refused input prints one line naming the problem on err and sets
// exit code 1; bad arguments set 2.
void addConvertCommand(CLI::App& app, int& exitCode);
void addConvertCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
