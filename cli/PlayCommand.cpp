#include "cli/PlayCommand.h"

#include "engine/SearchThreads.h"
#include "headless/PlayGames.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>

namespace {

// Set by the interrupt signal; a lock-free atomic is the one thing a handler may touch.
std::atomic<bool> interruptRequested{false};

extern "C" void onInterrupt(int) {
    interruptRequested = true;
}

struct PlayOptions {
    std::string p1 = "easy";
    std::string p2 = "easy";
    unsigned size = 10;
    int timeLimit = 300;
    int games = 1;
    bool learning = false;
    double learningRate = 0.05;
    std::string weightsFile = "quorlen.dat";
    std::optional<std::uint32_t> seed;
    std::string recordDir;
    bool alternate = false;
    int threads = 0;
};

int runPlay(const PlayOptions& options, std::ostream& out, std::ostream& err) {
    PlayGames::Options settings;
    settings.p1 = strengthNamed(options.p1).value_or(Strength::easy);
    settings.p2 = strengthNamed(options.p2).value_or(Strength::easy);
    settings.threads = options.threads;
    settings.size = options.size;
    settings.timeLimit = options.timeLimit;
    settings.games = options.games;
    settings.learning = options.learning;
    settings.learningRate = options.learningRate;
    settings.weightsFile = options.weightsFile;
    settings.seed = options.seed;
    settings.alternate = options.alternate;
    if (!options.recordDir.empty()) {
        settings.recordDir = options.recordDir;
    }

    interruptRequested = false;
    const auto previous = std::signal(SIGINT, onInterrupt);
    PlayGames::Summary summary;
    {
        PlayGames games(settings, out, err);
        summary = games.run(interruptRequested);
    }
    std::signal(SIGINT, previous);
    if (options.games > 1 || summary.interrupted) {
        PlayGames::printTable(summary, out);
    }
    return summary.interrupted ? 130 : 0;
}

} // namespace

void addPlayCommand(CLI::App& app, int& exitCode) {
    addPlayCommand(app, exitCode, std::cout, std::cerr);
}

void addPlayCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err) {
    auto* play = app.add_subcommand("play", "Play games between the computer strengths");
    auto options = std::make_shared<PlayOptions>();
    const auto strengths = CLI::IsMember({"easy", "hard", "expert"});
    play->add_option("--p1", options->p1, "Player 1 (joins top and bottom): easy, hard or expert")
        ->required()
        ->check(strengths);
    play->add_option("--p2", options->p2, "Player 2 (joins left and right): easy, hard or expert")
        ->required()
        ->check(strengths);
    play->add_option("--size", options->size, "Board side, 3 to 30")->check(CLI::Range(3u, 30u));
    play->add_option("--time-limit", options->timeLimit, "Each side's time for a game, seconds")
        ->check(CLI::Range(1, 86400));
    play->add_option("--games", options->games, "Number of games")->check(CLI::Range(1, 100000));
    play->add_flag("--learning", options->learning, "Hard players learn after every move");
    play->add_option("--learning-rate", options->learningRate, "The learning rate")
        ->check(CLI::Range(0.0, 1000.0));
    play->add_option("--weights-file", options->weightsFile, "Weights file to read and write");
    play->add_option("--seed", options->seed,
                     "Seed of the opening moves and the expert's search (default: the time)");
    play->add_option("--record-dir", options->recordDir, "Save each game as a record here")
        ->check(CLI::ExistingDirectory);
    play->add_flag("--alternate", options->alternate, "Swap the strengths' sides every game");
    play->add_option("--threads", options->threads,
                     "The hard and expert players' search threads; 0 (the default): one per "
                     "hardware thread")
        ->check(CLI::Range(0, maxSearchThreads));
    play->callback([options, &exitCode, &out, &err] { exitCode = runPlay(*options, out, err); });
}
