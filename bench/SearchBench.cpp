#include "bench/BenchPositions.h"
#include "engine/HexSearch.h"
#include "engine/MessageSink.h"
#include "engine/PathFinder.h"

#include <benchmark/benchmark.h>

// The look-ahead search's work on fresh nodes: expanding a position about 40% full and
// evaluating each of its children once, as one iteration of the search does at its leaves.

namespace {

class DropMessages : public MessageSink {
public:
    void post(Message) override {}
};

void expandAndEvaluate(benchmark::State& state) {
    const auto size = static_cast<std::uint32_t>(state.range(0));
    const Hex::Board position = benchPosition(size, 0.4);
    Weights weights = defaultWeights;
    PathFinder player1(size, 0, 1);
    PathFinder player2(size, 1, 2);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    const std::atomic<bool> notStopped{false};
    DropMessages sink;
    std::int64_t evaluations = 0;
    for (auto _ : state) {
        auto root =
            std::make_unique<HexNode>(nullptr, TreeNode::player1ToMove, Hex::noMove, position);
        HexSearch search(60, std::move(root), HexSearch::Owner{player1, player2, notStopped}, sink);
        search.expand(search.root());
        for (const auto& child : search.root().children) {
            benchmark::DoNotOptimize(search.evaluate(*child));
            ++evaluations;
        }
    }
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(expandAndEvaluate)->Arg(10)->Arg(19)->Arg(30)->Unit(benchmark::kMillisecond);
