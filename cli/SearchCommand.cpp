#include "cli/SearchCommand.h"

#include "engine/HexSearch.h"
#include "engine/PathFinder.h"
#include "engine/SearchThreads.h"
#include "engine/StatusSink.h"
#include "headless/PositionOptions.h"
#include "mcts/MctsSearch.h"
#include "model/Exception.h"
#include "model/Game.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <sys/resource.h>

namespace {

struct SearchOptions {
    PositionOptions position;
    int budget = -1; // -1: not given
    int depth = 0;   // 0: not given
    bool showBest = false;
    std::string strength = "hard";
    std::optional<std::uint64_t> playouts;
    std::uint64_t seed = 1;
    bool eachDepth = false;
    bool noTimes = false;
    int threads = 0; // 0: automatic
    bool priors = MctsSearch::expertConfig().priors;
    bool templates = MctsSearch::expertConfig().templates;
    bool connections = MctsSearch::expertConfig().connections;
    bool inferior = MctsSearch::expertConfig().inferior;
    bool playoutPatterns = MctsSearch::expertConfig().playoutPatterns;
    double priorVisits = MctsSearch::expertConfig().priorVisits;
};

double peakResidentMebibytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kibibytes on Linux
}

// The processor time of the whole process, every thread's, in seconds.
double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The stones of a position as moves from the empty board, alternate from Player 1, the last
// move last: the search takes a position as its game. Stones set up in any other proportion
// are no game's; a position in which Player 2 has one stone more with Player 1 to move (or as
// many with Player 2 to move) is a game whose first stone was swapped.
MctsSearch::Position gameOf(const BoardPosition& position) {
    const Hex::Board& board = position.board;
    const auto n = static_cast<std::int32_t>(board.size());
    std::vector<Hex::Coord> stones[2];
    for (std::int32_t row = 0; row < n; ++row) {
        for (std::int32_t col = 0; col < n; ++col) {
            if (board.at(row, col) != 0 && Hex::Coord{row, col} != position.lastMove) {
                stones[board.at(row, col) - 1].push_back({row, col});
            }
        }
    }
    const Hex::Coord last = position.lastMove;
    if (last.row >= 0 && last.row < n && last.col >= 0 && last.col < n &&
        board.at(last.row, last.col) != 0) { // not the swap marker
        stones[board.at(last.row, last.col) - 1].push_back(last);
    }
    auto& black = stones[0];
    auto& white = stones[1];
    const bool blackToMove = position.toMove == 1;
    MctsSearch::Position game{board.size(), {}, true};
    if (blackToMove ? white.size() == black.size() + 1
                    : !white.empty() && white.size() == black.size()) {
        const Hex::Coord swapped = white.front();
        game.moves = {Hex::Coord{swapped.col, swapped.row}, Hex::Coord{n, n}};
        white.erase(white.begin());
    } else if (black.size() != white.size() + (blackToMove ? 0 : 1)) {
        throw PositionOptions::BadInput(
            "the expert searches games: the stones are not those of alternate moves");
    }
    for (std::size_t i = 0; i < black.size(); ++i) {
        game.moves.push_back(black[i]);
        if (i < white.size()) {
            game.moves.push_back(white[i]);
        }
    }
    return game;
}

// The expert's Monte-Carlo search of the position, with the swap where the rules offer it.
nlohmann::ordered_json searchExpert(const BoardPosition& position, const SearchOptions& options,
                                    std::ostream& err) {
    StatusSink status(&err);
    MctsSearch::Config config;
    config.threads = searchThreadCount(options.threads);
    config.seed = options.seed;
    config.priors = options.priors;
    config.templates = options.templates;
    config.connections = options.connections;
    config.inferior = options.inferior;
    config.playoutPatterns = options.playoutPatterns;
    config.priorVisits = options.priorVisits;
    MctsSearch search(config, &status);
    search.setPosition(gameOf(position));
    MctsSearch::Limits limits;
    limits.time = std::chrono::seconds(options.budget);
    if (options.playouts) {
        limits.playouts = *options.playouts;
    }
    const std::atomic<bool> notStopped{false};
    const double cpuBefore = processorSeconds();
    const MctsSearch::Result found = search.run(limits, notStopped);
    const double cpuSeconds = processorSeconds() - cpuBefore;

    nlohmann::ordered_json result;
    result["move"] = {found.move.row, found.move.col};
    result["win_rate"] = found.winRate;
    result["playouts"] = found.playouts;
    result["seconds"] = found.seconds;
    result["playouts_per_second"] =
        found.seconds > 0.0 ? static_cast<double>(found.playouts) / found.seconds : 0.0;
    result["cpu_seconds"] = cpuSeconds;
    result["playouts_per_cpu_second"] =
        cpuSeconds > 0.0 ? static_cast<double>(found.playouts) / cpuSeconds : 0.0;
    result["threads"] = config.threads;
    result["nodes"] = found.nodes;
    result["tree_mib"] = static_cast<double>(found.treeBytes) / (1024.0 * 1024.0);
    result["peak_rss_mib"] = peakResidentMebibytes();
    return result;
}

// The move, value and tree size at the end of one depth, and every root move's value.
nlohmann::ordered_json iterationJson(const GameTreeSearch::Iteration& iteration,
                                     GameTreeSearch& search) {
    nlohmann::ordered_json rootValues = nlohmann::ordered_json::array();
    for (const auto& child : search.root().children) {
        rootValues.push_back({child->move.row, child->move.col, child->value});
    }
    nlohmann::ordered_json result;
    result["depth"] = iteration.depth;
    result["move"] = {iteration.move.row, iteration.move.col};
    result["value"] = iteration.value;
    result["nodes"] = search.nodeCount();
    result["evaluations"] = search.evaluationCount();
    result["root_values"] = std::move(rootValues);
    return result;
}

nlohmann::ordered_json searchPosition(const BoardPosition& position, const Weights& weights,
                                      const SearchOptions& options, std::ostream& err) {
    const Hex::Board& board = position.board;
    PathFinder player1(board.size(), Hex::Game::player1Direction, Hex::Game::player1Stone);
    PathFinder player2(board.size(), Hex::Game::player2Direction, Hex::Game::player2Stone);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    const int rootType = position.toMove == 1 ? TreeNode::player1ToMove : TreeNode::player2ToMove;
    StatusSink status(&err);
    const std::atomic<bool> notStopped{false};
    HexSearch search(std::max(options.budget, 0),
                     std::make_unique<HexNode>(nullptr, rootType, Hex::noMove, board),
                     HexSearch::Owner{player1, player2, notStopped}, status);
    search.setShowBest(options.showBest);
    search.setFixedDepth(options.depth);
    search.setThreads(searchThreadCount(options.threads));

    const auto start = std::chrono::steady_clock::now();
    nlohmann::ordered_json depthSeconds = nlohmann::ordered_json::array();
    nlohmann::ordered_json depths = nlohmann::ordered_json::array();
    search.setIterationObserver([&](const GameTreeSearch::Iteration& iteration) {
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        depthSeconds.push_back(seconds.count());
        if (options.eachDepth) {
            depths.push_back(iterationJson(iteration, search));
        }
    });
    int row = -1;
    int col = -1;
    const double value = search.run(row, col);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;

    nlohmann::ordered_json result;
    result["move"] = {row, col};
    result["value"] = value;
    result["depth"] = search.depth();
    result["nodes"] = search.nodeCount();
    result["evaluations"] = search.evaluationCount();
    if (!options.noTimes) {
        result["seconds"] = seconds.count();
        result["peak_rss_mib"] = peakResidentMebibytes();
        result["depth_seconds"] = std::move(depthSeconds);
    }
    if (options.eachDepth) {
        result["depths"] = std::move(depths);
    }
    return result;
}

int runSearch(const SearchOptions& options, std::ostream& out, std::ostream& err) {
    if ((options.budget < 0) == (options.depth == 0)) {
        err << "quorlen-cli search: give either --budget or --depth\n";
        return 2;
    }
    if (options.strength == "expert" && options.depth != 0) {
        err << "quorlen-cli search: --depth is the hard player's; give the expert --budget\n";
        return 2;
    }
    try {
        std::vector<std::string> notes;
        const BoardPosition position = options.position.position(notes);
        for (const std::string& note : notes) {
            err << "quorlen-cli search: note: " << note << '\n';
        }
        if (options.strength == "expert") {
            out << searchExpert(position, options, err).dump() << '\n';
            return 0;
        }
        const Weights weights = options.position.weights();
        out << searchPosition(position, weights, options, err).dump() << '\n';
    } catch (const PositionOptions::BadInput& problem) {
        err << "quorlen-cli search: " << problem.what() << '\n';
        return 2;
    } catch (const Hex::Exception& problem) {
        err << "quorlen-cli search: the moves do not fit the board: " << problem.message() << '\n';
        return 2;
    } catch (const std::invalid_argument& problem) { // the expert's board sizes are 2 to 30
        err << "quorlen-cli search: " << problem.what() << '\n';
        return 2;
    }
    return 0;
}

} // namespace

void addSearchCommand(CLI::App& app, int& exitCode) {
    addSearchCommand(app, exitCode, std::cout, std::cerr);
}

void addSearchCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err) {
    auto* search = app.add_subcommand(
        "search", "Run one search of the hard or expert computer player and print its result");
    auto options = std::make_shared<SearchOptions>();
    options->position.addTo(*search);
    auto* budget =
        search->add_option("--budget", options->budget, "Time for the search, whole seconds")
            ->check(CLI::Range(0, 86400));
    search
        ->add_option("--depth", options->depth,
                     "Deepen to exactly this many moves, without a time limit (hard only)")
        ->check(CLI::Range(1, 1000))
        ->excludes(budget);
    search->add_flag("--show-best", options->showBest,
                     "Name the best move in the hard player's status texts");
    search->add_option("--strength", options->strength, "The computer player: hard or expert")
        ->check(CLI::IsMember({"hard", "expert"}));
    search
        ->add_option("--threads", options->threads,
                     "Threads to search on; 0 (the default): one per hardware thread")
        ->check(CLI::Range(0, maxSearchThreads));
    search
        ->add_option("--playouts", options->playouts,
                     "The expert stops after this many playouts (or at the budget)")
        ->check(CLI::Range(std::uint64_t{1}, std::uint64_t{1} << 40));
    search->add_option("--seed", options->seed, "Seed of the expert's playouts (default 1)");
    search->add_flag("--priors,!--no-priors", options->priors,
                     "The expert tries first the moves that its learned local patterns favour "
                     "(on by default)");
    search->add_flag("--templates,!--no-templates", options->templates,
                     "The playouts answer an intrusion into a ziggurat as well as into a bridge");
    search->add_flag("--connections,!--no-connections", options->connections,
                     "The search reads both players' virtual connections at its busier nodes");
    search->add_flag("--inferior,!--no-inferior", options->inferior,
                     "The search skips the cells that can be filled in without changing who "
                     "wins, and those no better than a neighbouring cell (on by default)");
    search->add_flag("--playout-patterns,!--no-playout-patterns", options->playoutPatterns,
                     "The playouts choose their moves by the learned weights of the six cells "
                     "around them");
    search
        ->add_option("--prior-visits", options->priorVisits,
                     "The virtual simulations of a new node's prior (default 10)")
        ->check(CLI::Range(0.0, 1e6));
    search->add_flag("--each-depth", options->eachDepth,
                     "Also print the move, value, tree size and every root move's value at the "
                     "end of each depth");
    search->add_flag("--no-times", options->noTimes,
                     "Leave out the times and the memory, which change from run to run");
    search->callback(
        [options, &exitCode, &out, &err] { exitCode = runSearch(*options, out, err); });
}
