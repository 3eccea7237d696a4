#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli convert IN OUT`: converts a game between the program's game record and SGF.
// The input is read by GameFile, its format told by its content; the output's format by
// OUT's extension (".sgf" SGF, ".txt" a record), else it is the other format. An SGF input's
// players and result go into an SGF output, and what its reading noted goes to err as
// "note:" lines. The output file is replaced whole. A refused input prints one line naming
// the problem on err and sets exit code 1; bad arguments set 2.
void addConvertCommand(CLI::App& app, int& exitCode);
void addConvertCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
