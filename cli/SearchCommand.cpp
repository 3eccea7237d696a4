#include "cli/SearchCommand.h"

#include "engine/HexSearch.h"
#include "engine/PathFinder.h"
#include "engine/StatusSink.h"
#include "headless/PositionOptions.h"
#include "model/Exception.h"
#include "model/Game.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <chrono>
#include <iostream>
#include <memory>

#include <sys/resource.h>

namespace {

struct SearchOptions {
    PositionOptions position;
    int budget = 0;
    bool showBest = false;
};

double peakResidentMebibytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kibibytes on Linux
}

nlohmann::ordered_json searchPosition(const BoardPosition& position, const Weights& weights,
                                      int budget, bool showBest, std::ostream& err) {
    const Hex::Board& board = position.board;
    PathFinder player1(board.size(), Hex::Game::player1Direction, Hex::Game::player1Stone);
    PathFinder player2(board.size(), Hex::Game::player2Direction, Hex::Game::player2Stone);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    const int rootType = position.toMove == 1 ? TreeNode::player1ToMove : TreeNode::player2ToMove;
    StatusSink status(&err);
    const std::atomic<bool> notStopped{false};
    HexSearch search(budget, std::make_unique<HexNode>(nullptr, rootType, Hex::noMove, board),
                     HexSearch::Owner{player1, player2, notStopped}, status);
    search.setShowBest(showBest);

    const auto start = std::chrono::steady_clock::now();
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
    result["seconds"] = seconds.count();
    result["peak_rss_mib"] = peakResidentMebibytes();
    return result;
}

int runSearch(const SearchOptions& options, std::ostream& out, std::ostream& err) {
    try {
        std::vector<std::string> notes;
        const BoardPosition position = options.position.position(notes);
        for (const std::string& note : notes) {
            err << "quorlen-cli search: note: " << note << '\n';
        }
        const Weights weights = options.position.weights();
        out << searchPosition(position, weights, options.budget, options.showBest, err).dump()
            << '\n';
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
    search->add_option("--budget", options->budget, "Time for the search, whole seconds")
        ->required()
        ->check(CLI::Range(0, 86400));
    search->add_flag("--show-best", options->showBest, "Name the best move in the status texts");
    search->callback(
        [options, &exitCode, &out, &err] { exitCode = runSearch(*options, out, err); });
}
