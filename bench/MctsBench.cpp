#include "bench/BenchPositions.h"
#include "mcts/MctsSearch.h"
#include "mcts/Playout.h"
#include "tactics/InferiorCells.h"
#include "tactics/PatternPrior.h"
#include "tactics/PlayoutBoard.h"
#include "tactics/VirtualConnections.h"

#include <benchmark/benchmark.h>

#include <atomic>

// The Monte-Carlo search's work: one playout of the empty board (the policy alone), and whole
// searches of the empty board by a fixed number of threads, in playouts per second, without
// and with the pattern priors (the third argument); and the priors' cost when a node is
// expanded: the pattern weights of every empty cell of a position 40% full; and the virtual
// connections of both players, and the fill-in of inferior cells, in positions of that size a
// quarter and half full.

namespace {

void playout(benchmark::State& state) {
    const auto size = static_cast<int>(state.range(0));
    const PlayoutBoard empty(size);
    PlayoutBoard board(size);
    Playout policy(1);
    for (auto _ : state) {
        board.copyFrom(empty);
        benchmark::DoNotOptimize(policy.run(board, 1, -1));
    }
    state.counters["playouts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void search(benchmark::State& state) {
    const auto size = static_cast<std::uint32_t>(state.range(0));
    MctsSearch::Config config;
    config.threads = static_cast<int>(state.range(1));
    config.priors = state.range(2) != 0;
    const std::atomic<bool> notStopped{false};
    std::uint64_t playouts = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        MctsSearch mcts(config);
        mcts.setPosition(MctsSearch::Position{size, {}, true});
        MctsSearch::Limits limits;
        limits.time = std::chrono::milliseconds(2000);
        const MctsSearch::Result result = mcts.run(limits, notStopped);
        playouts += result.playouts;
        seconds += result.seconds;
    }
    state.counters["playouts/s"] = static_cast<double>(playouts) / seconds;
}

void patternWeights(benchmark::State& state) {
    const PlayoutBoard board(benchPosition(static_cast<std::uint32_t>(state.range(0)), 0.4));
    const PatternPrior prior;
    for (auto _ : state) {
        float total = 0.0F;
        for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
            if (board.at(cell) == PlayoutBoard::empty) {
                total += prior.weight(board, cell, PlayoutBoard::player1);
            }
        }
        benchmark::DoNotOptimize(total);
    }
}

void virtualConnections(benchmark::State& state) {
    const PlayoutBoard board(benchPosition(static_cast<std::uint32_t>(state.range(0)),
                                           static_cast<double>(state.range(1)) / 100.0));
    VirtualConnections vcs;
    for (auto _ : state) {
        vcs.compute(board, PlayoutBoard::player1);
        benchmark::DoNotOptimize(vcs.threatens());
        vcs.compute(board, PlayoutBoard::player2);
        benchmark::DoNotOptimize(vcs.threatens());
    }
}

void inferiorCells(benchmark::State& state) {
    const PlayoutBoard board(benchPosition(static_cast<std::uint32_t>(state.range(0)),
                                           static_cast<double>(state.range(1)) / 100.0));
    InferiorCells inferior;
    for (auto _ : state) {
        inferior.compute(board);
        benchmark::DoNotOptimize(inferior.fill().size());
    }
    state.counters["filled"] = static_cast<double>(inferior.fill().size());
}

} // namespace

BENCHMARK(inferiorCells)
    ->Args({11, 25})
    ->Args({11, 50})
    ->Args({13, 25})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(virtualConnections)
    ->Args({11, 25})
    ->Args({11, 50})
    ->Args({13, 25})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(patternWeights)->Arg(11)->Arg(19);
BENCHMARK(playout)->Arg(11)->Arg(19);
BENCHMARK(search)
    ->Args({11, 1, 0})
    ->Args({11, 1, 1})
    ->Args({11, 2, 0})
    ->Args({11, 2, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
