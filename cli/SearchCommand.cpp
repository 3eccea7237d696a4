#include "cli/SearchCommand.h"

#include "engine/HexSearch.h"
#include "engine/PathFinder.h"
#include "engine/SearchThreads.h"
#include "engine/StatusSink.h"
#include "headless/PositionOptions.h"
#include "model/Exception.h"
#include "model/Game.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>

#include <sys/resource.h>

namespace {

struct SearchOptions {
    PositionOptions position;
    int budget = -1; // -1: not given
    int depth = 0;   // 0: not given
    bool showBest = false;
    bool eachDepth = false;
    bool noTimes = false;
    int threads = 0; // 0: automatic
};

double peakResidentMebibytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kibibytes on Linux
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
    try {
        std::vector<std::string> notes;
        const BoardPosition position = options.position.position(notes);
        for (const std::string& note : notes) {
            err << "quorlen-cli search: note: " << note << '\n';
        }
        const Weights weights = options.position.weights();
        out << searchPosition(position, weights, options, err).dump() << '\n';
    } catch (const PositionOptions::BadInput& problem) {
        err << "quorlen-cli search: " << problem.what() << '\n';
        return 2;
    } catch (const Hex::Exception& problem) {
        err << "quorlen-cli search: the moves do not fit the board: " << problem.message() << '\n';
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
        "search", "Run one look-ahead search of the hard computer player and print its result");
    auto options = std::make_shared<SearchOptions>();
    options->position.addTo(*search);
    auto* budget =
        search->add_option("--budget", options->budget, "Time for the search, whole seconds")
            ->check(CLI::Range(0, 86400));
    search
        ->add_option("--depth", options->depth,
                     "Deepen to exactly this many moves, without a time limit")
        ->check(CLI::Range(1, 1000))
        ->excludes(budget);
    search->add_flag("--show-best", options->showBest, "Name the best move in the status texts");
    search
        ->add_option("--threads", options->threads,
                     "Threads to search on; 0 (the default): one per hardware thread less one")
        ->check(CLI::Range(0, maxSearchThreads));
    search->add_flag("--each-depth", options->eachDepth,
                     "Also print the move, value, tree size and every root move's value at the "
                     "end of each depth");
    search->add_flag("--no-times", options->noTimes,
                     "Leave out the times and the memory, which change from run to run");
    search->callback(
        [options, &exitCode, &out, &err] { exitCode = runSearch(*options, out, err); });
}
