#pragma once

namespace CLI {
class App;
}

// `quorlen-cli demo`: a whole game between two players that always take the first empty cell
// (and the swap), printed move by move. Shows the game loop and the win detection at work.
// The command's exit code is written to exitCode when it runs.
void addDemoCommand(CLI::App& app, int& exitCode);
