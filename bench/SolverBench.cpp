// The proof-number solver's speed: the empty boards of 3x3 to 7x7, and the positions of games
// of the expert against itself (without its solver, a fixed count of playouts a move, so the
// games are the same on every run), each solved within a time limit. Prints, for every ten
// empty cells, how many positions the solver proved within the limit and how long it took.
//
//     quorlen_solver_bench [GAMES] [PLAYOUTS] [SECONDS] [SIZES]   (defaults 6 3000 1 9,11)
//
// A size of 0 skips the empty boards.

#include "mcts/MctsSearch.h"
#include "tactics/DfpnSolver.h"
#include "tactics/PlayoutBoard.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

const std::atomic<bool> notStopped{false};

struct Bucket {
    int positions = 0;
    std::uint64_t nodes = 0;
    std::vector<double> solvedSeconds;
};

void solveEmptyBoards(double seconds) {
    std::printf("empty boards (limit %.0f s)\n", seconds * 30.0);
    DfpnSolver solver;
    for (int size = 3; size <= 7; ++size) {
        DfpnSolver::Limits limits;
        limits.time = std::chrono::milliseconds(static_cast<long>(seconds * 30000.0));
        const DfpnSolver::Result result = solver.solve(PlayoutBoard(size), 1, limits, notStopped);
        const char* outcome = result.outcome == DfpnSolver::Outcome::won    ? "won"
                              : result.outcome == DfpnSolver::Outcome::lost ? "lost"
                                                                            : "unknown";
        std::printf("  %dx%d: %-7s %10llu nodes %8.3f s\n", size, size, outcome,
                    static_cast<unsigned long long>(result.nodes), result.seconds);
    }
}

// The positions of one game of the expert against itself, after each move, until a win.
std::vector<std::pair<PlayoutBoard, int>> gamePositions(int size, std::uint64_t seed,
                                                        std::uint64_t playouts) {
    MctsSearch::Config config;
    config.seed = seed;
    config.solver = false;
    MctsSearch search(config);
    MctsSearch::Position position{static_cast<std::uint32_t>(size), {}, false};
    PlayoutBoard board(size);
    std::vector<std::pair<PlayoutBoard, int>> positions;
    MctsSearch::Limits limits;
    limits.playouts = playouts;
    for (int toMove = 1;; toMove = 3 - toMove) {
        search.setPosition(position);
        const Hex::Coord move = search.run(limits, notStopped).move;
        if (move == Hex::noMove) {
            return positions;
        }
        position.moves.push_back(move);
        board.set(board.index(move), static_cast<std::uint8_t>(toMove));
        if (board.connects(toMove)) {
            return positions;
        }
        positions.emplace_back(board, 3 - toMove);
    }
}

void solveGamePositions(int size, int games, std::uint64_t playouts, double seconds) {
    std::map<int, Bucket> buckets; // by empty cells / 10
    DfpnSolver solver;
    DfpnSolver::Limits limits;
    limits.time = std::chrono::milliseconds(static_cast<long>(seconds * 1000.0));
    for (int game = 0; game < games; ++game) {
        std::map<int, int> taken; // of this game, by empty cells / 10
        for (const auto& [board, toMove] :
             gamePositions(size, static_cast<std::uint64_t>(game) + 1, playouts)) {
            int empties = 0;
            for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
                empties += board.at(cell) == PlayoutBoard::empty ? 1 : 0;
            }
            if (++taken[empties / 10] > 2) {
                continue; // two of each game, so that every game counts
            }
            Bucket& bucket = buckets[empties / 10];
            ++bucket.positions;
            const DfpnSolver::Result result = solver.solve(board, toMove, limits, notStopped);
            bucket.nodes += result.nodes;
            if (result.outcome != DfpnSolver::Outcome::unknown) {
                bucket.solvedSeconds.push_back(result.seconds);
            }
        }
    }
    std::printf("%dx%d game positions (limit %.1f s): empty cells, positions, solved, median "
                "and longest time of the solved, nodes in all\n",
                size, size, seconds);
    for (auto& [tens, bucket] : buckets) {
        std::vector<double>& times = bucket.solvedSeconds;
        std::sort(times.begin(), times.end());
        std::printf("  %3d-%3d  %3d  %3zu  %7.3f s  %7.3f s  %10llu\n", tens * 10, tens * 10 + 9,
                    bucket.positions, times.size(), times.empty() ? 0.0 : times[times.size() / 2],
                    times.empty() ? 0.0 : times.back(),
                    static_cast<unsigned long long>(bucket.nodes));
    }
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::atoi(argv[1]) : 6;
    const std::uint64_t playouts = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 3000;
    const double seconds = argc > 3 ? std::atof(argv[3]) : 1.0;
    std::vector<int> sizes = {0, 9, 11};
    if (argc > 4) {
        sizes.clear();
        for (char* next = argv[4]; *next != 0; next += *next == ',' ? 1 : 0) {
            sizes.push_back(static_cast<int>(std::strtol(next, &next, 10)));
        }
    }
    for (const int size : sizes) {
        if (size == 0) {
            solveEmptyBoards(seconds);
        } else {
            solveGamePositions(size, games, playouts, seconds);
        }
    }
    return 0;
}
