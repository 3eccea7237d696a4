#include "cli/GtpEngineCommand.h"

#include "engine/SearchThreads.h"
#include "engine/StatusSink.h"
#include "gtp/GtpEngine.h"
#include "gtp/GtpSession.h"
#include "mcts/MctsSearch.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <csignal>
#include <iostream>
#include <memory>

#include <unistd.h>

namespace {

struct GtpOptions {
    std::string strength = "hard";
    int timeLimit = 300;
    std::string weightsFile = "quorlen.dat";
    bool learning = false;
    double learningRate = 0.05;
    std::optional<std::uint32_t> seed;
    int threads = 0;
    std::optional<double> moveTime;
    std::optional<std::uint64_t> playouts;
    bool priors = MctsSearch::expertConfig().priors;
    bool templates = MctsSearch::expertConfig().templates;
    bool connections = MctsSearch::expertConfig().connections;
    bool inferior = MctsSearch::expertConfig().inferior;
    bool playoutPatterns = MctsSearch::expertConfig().playoutPatterns;
    bool solverConnections = MctsSearch::expertConfig().solverConnections;
    bool noSwap = false;
    bool resign = false;
    bool noBook = false;
    bool noSolver = false;
    bool verbose = false;
};

int runGtp(const GtpOptions& options, int input, std::ostream& out, int output, std::ostream& err) {
    GtpEngine::Options engine;
    engine.strength = strengthNamed(options.strength).value_or(Strength::hard);
    engine.threads = options.threads;
    if (options.moveTime) {
        engine.moveTime = std::chrono::milliseconds(std::llround(*options.moveTime * 1000.0));
    }
    engine.playouts = options.playouts;
    engine.priors = options.priors;
    engine.templates = options.templates;
    engine.connections = options.connections;
    engine.inferior = options.inferior;
    engine.playoutPatterns = options.playoutPatterns;
    engine.solverConnections = options.solverConnections;
    engine.timeLimit = options.timeLimit;
    engine.weightsFile = options.weightsFile;
    engine.learning = options.learning;
    engine.learningRate = options.learningRate;
    engine.seed = options.seed;
    engine.swap = !options.noSwap;
    engine.resign = options.resign;
    engine.openingBook = !options.noBook;
    engine.solver = !options.noSolver;
    StatusSink status(&err);
    engine.messages = options.verbose ? &status : nullptr;

    // A front end that closes its end early must not kill the engine before the players
    // have written their weights; a failed write ends the session instead. SIGTERM, SIGINT
    // and SIGHUP keep their default: they end the engine at once, even while it thinks.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    {
        GtpEngine quorlen(engine);
        GtpSession session(quorlen, input, out, output);
        session.run();
    }
    std::signal(SIGPIPE, previous);
    return 0;
}

} // namespace

void addGtpCommand(CLI::App& app, int& exitCode) {
    addGtpCommand(app, exitCode, STDIN_FILENO, std::cout, std::cerr, STDOUT_FILENO);
}

void addGtpCommand(CLI::App& app, int& exitCode, int input, std::ostream& out, std::ostream& err,
                   int output) {
    auto* gtp = app.add_subcommand("gtp", "Speak GTP on standard input and output");
    auto options = std::make_shared<GtpOptions>();
    gtp->add_option("--strength", options->strength, "The computer player: easy, hard or expert")
        ->check(CLI::IsMember({"easy", "hard", "expert"}));
    gtp->add_option("--time-limit", options->timeLimit,
                    "Each colour's time for a game, seconds (time_left overrides it)")
        ->check(CLI::Range(1, 86400));
    gtp->add_option("--weights-file", options->weightsFile, "Weights file to read and write");
    gtp->add_flag("--learning", options->learning, "The hard player learns after every move");
    gtp->add_option("--learning-rate", options->learningRate, "The learning rate")
        ->check(CLI::Range(0.0, 1000.0));
    gtp->add_option("--seed", options->seed,
                    "Seed of the opening moves and the expert's search (default: the time)");
    gtp->add_option("--threads", options->threads,
                    "The hard and expert players' search threads; 0 (the default): one per "
                    "hardware thread")
        ->check(CLI::Range(0, maxSearchThreads));
    gtp->add_option("--move-time", options->moveTime,
                    "The expert thinks this many seconds a move instead of its time budget")
        ->check(CLI::Range(0.01, 86400.0));
    gtp->add_option("--playouts", options->playouts,
                    "The expert runs this many playouts a move instead of thinking for a time "
                    "(with --threads 1 and --seed, the same moves on every run)")
        ->check(CLI::Range(std::uint64_t{1}, std::uint64_t{1} << 40));
    gtp->add_flag("--priors,!--no-priors", options->priors,
                  "The expert's search tries first the moves that its learned local patterns "
                  "favour; on by default (--no-priors: it does not)");
    gtp->add_flag("--templates,!--no-templates", options->templates,
                  "The expert's playouts answer an intrusion into a ziggurat, the edge template "
                  "of a stone on the third row (--no-templates: only bridges)");
    gtp->add_flag("--connections,!--no-connections", options->connections,
                  "The expert's search reads both players' virtual connections at its busier "
                  "nodes: it proves wins and losses early, and facing a threat it tries only "
                  "the moves that meet it (--no-connections: it does not)");
    gtp->add_flag("--inferior,!--no-inferior", options->inferior,
                  "The expert's search skips the cells that can be filled in without changing "
                  "who wins, and those no better than a neighbouring cell, and its playouts "
                  "start with the first filled; on by default (--no-inferior: it does not)");
    gtp->add_flag("--playout-patterns,!--no-playout-patterns", options->playoutPatterns,
                  "The expert's playouts choose their moves by the learned weights of the six "
                  "cells around them (--no-playout-patterns: uniformly)");
    gtp->add_flag("--no-swap", options->noSwap,
                  "White never takes the swap, and refuses it (param_game allow_swap 1 undoes it)");
    gtp->add_flag("--resign", options->resign,
                  "The expert resigns a position it proves lost, or after five moves in a row "
                  "below a 2% win rate");
    gtp->add_flag("--no-book", options->noBook,
                  "The expert searches its first stone and swap decision instead of taking "
                  "them from its opening book");
    gtp->add_flag("--solver-connections,!--no-solver-connections", options->solverConnections,
                  "The expert's proof-number solver prunes by the virtual connections "
                  "(--no-solver-connections: only with --connections)");
    gtp->add_flag("--no-solver", options->noSolver,
                  "The expert searches small positions without its proof-number solver");
    gtp->add_flag("--verbose", options->verbose, "Print the players' status texts on stderr");
    gtp->callback([options, &exitCode, input, &out, &err, output] {
        exitCode = runGtp(*options, input, out, output, err);
    });
}
