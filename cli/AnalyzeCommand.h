#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli analyze`: the engine's view of one position as one JSON object (see
// analyzePosition), from --size and --moves, --record or --sgf (see PositionOptions), with
// the default weights, --weights or --weights-file. What reading an SGF file noted goes to
// err as "note:" lines. Bad input prints one line on err, nothing on out, and sets exit
// code 2. The command's exit code is written to exitCode when it runs.
void addAnalyzeCommand(CLI::App& app, int& exitCode);
void addAnalyzeCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err);
