#include "cli/SolveCommand.h"

#include "headless/PositionOptions.h"
#include "model/Exception.h"
#include "tactics/DfpnSolver.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <chrono>
#include <iostream>
#include <memory>
#include <string>

namespace {

struct SolveOptions {
    PositionOptions position;
    double seconds = 0.0; // 0: no time limit
    std::uint64_t nodes = 0;
    std::size_t tableMebibytes = DfpnSolver::defaultTableBytes >> 20;
    bool connections = true;
    bool inferior = true;
};

nlohmann::ordered_json solvePosition(const BoardPosition& position, const SolveOptions& options) {
    DfpnSolver::Limits limits;
    if (options.seconds > 0.0) {
        limits.time =
            std::chrono::milliseconds(static_cast<std::int64_t>(options.seconds * 1000.0));
    }
    if (options.nodes > 0) {
        limits.nodes = options.nodes;
    }
    DfpnSolver solver(options.tableMebibytes << 20, options.connections, options.inferior);
    const std::atomic<bool> notStopped{false};
    const DfpnSolver::Result found =
        solver.solve(PlayoutBoard(position.board), position.toMove, limits, notStopped);

    nlohmann::ordered_json result;
    const int other = 3 - position.toMove;
    switch (found.outcome) {
    case DfpnSolver::Outcome::won:
        result["result"] = "won";
        result["winner"] = position.toMove;
        break;
    case DfpnSolver::Outcome::lost:
        result["result"] = "lost";
        result["winner"] = other;
        break;
    case DfpnSolver::Outcome::unknown:
        result["result"] = "unknown";
        result["winner"] = nullptr;
        break;
    }
    result["to_move"] = position.toMove;
    result["move"] = found.move == Hex::noMove
                         ? nlohmann::ordered_json(nullptr)
                         : nlohmann::ordered_json{found.move.row, found.move.col};
    result["nodes"] = found.nodes;
    result["seconds"] = found.seconds;
    return result;
}

int runSolve(const SolveOptions& options, std::ostream& out, std::ostream& err) {
    try {
        std::vector<std::string> notes;
        const BoardPosition position = options.position.position(notes);
        for (const std::string& note : notes) {
            err << "quorlen-cli solve: note: " << note << '\n';
        }
        if (position.board.size() < 2) {
            err << "quorlen-cli solve: the solver takes boards of 2 to 30 cells a side\n";
            return 2;
        }
        out << solvePosition(position, options).dump() << '\n';
    } catch (const PositionOptions::BadInput& problem) {
        err << "quorlen-cli solve: " << problem.what() << '\n';
        return 2;
    } catch (const Hex::Exception& problem) {
        err << "quorlen-cli solve: the moves do not fit the board: " << problem.message() << '\n';
        return 2;
    } catch (const std::bad_alloc&) {
        err << "quorlen-cli solve: not enough memory for the table\n";
        return 2;
    }
    return 0;
}

} // namespace

void addSolveCommand(CLI::App& app, int& exitCode) {
    addSolveCommand(app, exitCode, std::cout, std::cerr);
}

void addSolveCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err) {
    auto* solve = app.add_subcommand(
        "solve", "Solve a position with the proof-number solver and print the result");
    auto options = std::make_shared<SolveOptions>();
    options->position.addTo(*solve);
    solve->add_option("--seconds", options->seconds, "Time limit in seconds (default: none)")
        ->check(CLI::Range(0.001, 86400.0));
    solve->add_option("--nodes", options->nodes, "Stop after this many positions (default: none)")
        ->check(CLI::Range(std::uint64_t{1}, std::uint64_t{1} << 50));
    solve
        ->add_option("--table-mib", options->tableMebibytes,
                     "Size of the transposition table in MiB (default 32)")
        ->check(CLI::Range(std::size_t{1}, std::size_t{65536}));
    solve->add_flag("!--no-connections", options->connections,
                    "Without the pruning by both players' virtual connections at every position");
    solve->add_flag("!--no-inferior", options->inferior,
                    "Without the fill-in of inferior cells at every position");
    solve->callback([options, &exitCode, &out, &err] { exitCode = runSolve(*options, out, err); });
}
