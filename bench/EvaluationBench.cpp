#include "bench/BenchPositions.h"
#include "engine/PathFinder.h"
#include "engine/PositionValue.h"

#include <benchmark/benchmark.h>

// The hard player's work per search node: both sides' cost maps and best paths, on
// positions about 40% full.

namespace {

constexpr double fill = 0.4;

struct Sides {
    explicit Sides(std::uint32_t size) : board(benchPosition(size, fill)) {
        player1.setWeights(&weights);
        player2.setWeights(&weights);
        player1.setBoard(&board);
        player2.setBoard(&board);
    }
    Weights weights = defaultWeights;
    Hex::Board board;
    PathFinder player1{board.size(), 0, 1};
    PathFinder player2{board.size(), 1, 2};
};

void setBoard(benchmark::State& state) {
    Sides sides(static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) {
        sides.player1.setBoard(&sides.board);
        benchmark::DoNotOptimize(sides.player1.cost(0, 0));
    }
}

void bestPaths(benchmark::State& state) {
    Sides sides(static_cast<std::uint32_t>(state.range(0)));
    const auto n = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(sides.player1.bestPaths(n));
    }
}

void evaluation(benchmark::State& state) {
    Sides sides(static_cast<std::uint32_t>(state.range(0)));
    const auto n = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        sides.player1.setBoard(&sides.board);
        sides.player2.setBoard(&sides.board);
        const std::vector<Path> paths1 = sides.player1.bestPaths(n);
        const std::vector<Path> paths2 = sides.player2.bestPaths(n);
        benchmark::DoNotOptimize(positionValue(paths1, paths2));
    }
}

BENCHMARK(setBoard)->Arg(10)->Arg(19)->Arg(30)->Unit(benchmark::kMicrosecond);
BENCHMARK(bestPaths)->Arg(10)->Arg(19)->Arg(30)->Unit(benchmark::kMicrosecond);
BENCHMARK(evaluation)->Arg(10)->Arg(19)->Arg(30)->Unit(benchmark::kMicrosecond);

} // namespace
