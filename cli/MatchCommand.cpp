#include "cli/MatchCommand.h"

#include "match/Match.h"
#include "match/MatchTable.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>

namespace {

// Set by the interrupt signal; a lock-free atomic is the one thing a handler may touch.
std::atomic<bool> matchInterrupted{false};

extern "C" void onMatchInterrupt(int) {
    matchInterrupted = true;
}

struct MatchOptions {
    std::string black;
    std::string white;
    int games = 1;
    unsigned size = 11;
    bool swapColours = false;
    bool swap = false;
    std::string sgfDir;
    double timePerMove = 60.0;
};

int runMatch(const MatchOptions& options, std::ostream& out, std::ostream& err) {
    Match::Options referee;
    referee.engineA = options.black;
    referee.engineB = options.white;
    referee.games = options.games;
    referee.size = options.size;
    referee.swapColours = options.swapColours;
    referee.swap = options.swap;
    if (!options.sgfDir.empty()) {
        referee.sgfDir = options.sgfDir;
    }
    referee.timePerMove =
        std::chrono::milliseconds(static_cast<std::int64_t>(options.timePerMove * 1000.0));

    matchInterrupted = false;
    const auto previous = std::signal(SIGINT, onMatchInterrupt);
    Match::Summary summary;
    {
        Match match(referee, err);
        summary = match.run(matchInterrupted);
    }
    std::signal(SIGINT, previous);
    if (!summary.error.empty()) {
        err << "quorlen-cli match: " << summary.error << '\n';
        return 1;
    }
    MatchTable::print(summary, out);
    return matchInterrupted ? 130 : 0;
}

} // namespace

void addMatchCommand(CLI::App& app, int& exitCode) {
    addMatchCommand(app, exitCode, std::cout, std::cerr);
}

void addMatchCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err) {
    auto* match = app.add_subcommand("match", "Match games between two GTP engines");
    auto options = std::make_shared<MatchOptions>();
    match->add_option("--black", options->black, "Engine A's command, Black in the first game")
        ->required();
    match->add_option("--white", options->white, "Engine B's command, White in the first game")
        ->required();
    match->add_option("--games", options->games, "Number of games")->check(CLI::Range(1, 100000));
    match->add_option("--size", options->size, "Board side, 3 to 30")->check(CLI::Range(3u, 30u));
    match->add_flag("--swap-colours", options->swapColours, "A and B change colours every game");
    match->add_flag("--swap", options->swap,
                    "White may answer the first stone with swap-pieces (off: that loses)");
    match->add_option("--sgf-dir", options->sgfDir, "Save every game as SGF here")
        ->check(CLI::ExistingDirectory);
    match
        ->add_option("--time-per-move", options->timePerMove,
                     "Longest time an engine may take for one reply, seconds")
        ->check(CLI::Range(0.1, 86400.0));
    match->callback([options, &exitCode, &out, &err] { exitCode = runMatch(*options, out, err); });
}
