#include "SyntheticSearch.h"

#include "support/FakeClock.h"
#include "support/RecordingSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Hand-checked trees for what the pinned searches cannot show: the time budget, the node
// ceiling, the stop and the status texts. Minimax, cut-offs, extensions, a single move and a
// decided value on real positions are pinned there, value for value.

namespace {

std::vector<std::string> statusTexts(const RecordingSink& sink) {
    std::vector<std::string> texts;
    for (const auto& status : sink.all<WmAppStatusText>()) {
        texts.push_back(status.text);
    }
    return texts;
}

struct Result {
    int row = -1;
    int col = -1;
    double value = 0.0;
};

Result runSearch(GameTreeSearch& search) {
    Result result;
    result.value = search.run(result.row, result.col);
    return result;
}

// Every search reports to one sink and reads one clock, which stands still unless a test
// moves it.
class GameTreeSearchTest : public testing::Test {
protected:
    RecordingSink sink;
    FakeClock clock;
};

TEST_F(GameTreeSearchTest, OnePlyPicksTheBestStaticValue) {
    const Spec root = node(0, {leaf(0.2), leaf(0.5), leaf(0.3)});
    SyntheticSearch search(10, &root, sink, clock);
    const Result result = runSearch(search);
    EXPECT_EQ(result.col, 1);
    EXPECT_EQ(result.value, 0.5);
    EXPECT_EQ(search.depth(), 1);
    EXPECT_EQ(search.nodeCount(), 4u);
    EXPECT_EQ(statusTexts(sink),
              (std::vector<std::string>{"Looking ahead 1 moves...", "Looking ahead 2 moves..."}));
    const auto evals = sink.all<WmAppShowEval>();
    ASSERT_EQ(evals.size(), 3u);
    EXPECT_EQ(*evals[1].evaluation, (CellEvaluation{0, 1, 0.5}));

    // Player 2 minimises.
    const Spec other = node(0, {leaf(0.2), leaf(-0.5), leaf(0.3)});
    SyntheticSearch minimizing(10, &other, sink, clock, TreeNode::player2ToMove);
    const Result lowest = runSearch(minimizing);
    EXPECT_EQ(lowest.col, 1);
    EXPECT_EQ(lowest.value, -0.5);
}

// Moves B = min(0.2, 0.9) and C: C's reply 0.7 swings by 0.5 against C's 0.2, more than twice
// C's own swing, so it is searched one ply deeper; it has no moves, and so answers with the
// bound it was given (B's 0.2), which C then takes.
TEST_F(GameTreeSearchTest, AnExtendedLeafWithoutMovesAnswersItsBound) {
    const Spec root =
        node(0, {node(0.4, {leaf(0.2), leaf(0.9)}), node(0.2, {leaf(0.5), leaf(0.7)})});
    SyntheticSearch search(10, &root, sink, clock);
    const Result result = runSearch(search);
    EXPECT_EQ(result.col, 0);
    EXPECT_EQ(result.value, 0.2);
}

TEST_F(GameTreeSearchTest, ZeroBudgetRunsNoIteration) {
    const Spec root = node(0, {leaf(0.2), leaf(0.5)});
    SyntheticSearch search(0, &root, sink, clock);
    const Result result = runSearch(search);
    EXPECT_EQ(result.row, -1);
    EXPECT_EQ(result.col, -1);
    EXPECT_TRUE(sink.messages().empty());
    EXPECT_EQ(search.expansions, 0);
}

TEST_F(GameTreeSearchTest, StatusNamesTheBestMoveWhenAsked) {
    std::vector<Spec> replies;
    for (int i = 0; i < 6; ++i) {
        replies.push_back(node(0.1 * (i + 1), {leaf(0.05 * (i + 1))}));
    }
    const Spec root = node(0, replies);
    SyntheticSearch search(10, &root, sink, clock);
    search.setShowBest(true);
    runSearch(search);
    const auto texts = statusTexts(sink);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Looking ahead 1 moves...");
    EXPECT_EQ(texts[1], "Looking ahead 2 moves...(A6)");
}

TEST_F(GameTreeSearchTest, TheNextIterationIsSkippedWhenItCannotFit) {
    const Spec root = node(0, {node(0.2, {leaf(0.1)}), node(0.3, {leaf(0.4)})});
    SyntheticSearch search(10, &root, sink, clock);
    search.onEvaluate = [&](const SpecNode&) { clock.advance(1); };
    runSearch(search);
    // The first iteration took 4 seconds (4 evaluations): 10 - 4 < 2 x 4.
    EXPECT_EQ(search.depth(), 1);
    EXPECT_EQ(statusTexts(sink).size(), 1u);
}

// An iteration that expands every leaf of a large tree must not run far past the budget.
TEST_F(GameTreeSearchTest, TheBudgetBoundsTheExpansionToo) {
    SyntheticSearch search(5, nullptr, sink, clock);
    search.onExpand = [&](const SpecNode&) { clock.advance(1); };
    const std::int64_t start = clock.nowSeconds();
    const Result result = runSearch(search);
    EXPECT_LE(clock.nowSeconds() - start, 5 + 1);
    EXPECT_GE(result.col, 0);
}

TEST_F(GameTreeSearchTest, TheNodeCeilingEndsTheDeepening) {
    SyntheticSearch search(1000, nullptr, sink, clock);
    search.setNodeLimit(100);
    const Result result = runSearch(search);
    EXPECT_LE(search.nodeCount(), 100u + 2u);
    EXPECT_GE(search.nodeCount(), 60u);
    EXPECT_GE(result.col, 0);
}

// Iteration 1 prefers B. In iteration 2, B is searched to the end, then the budget runs out
// (or a stop comes) while A's replies are being valued: A's cut-short result must not
// displace B.
TEST_F(GameTreeSearchTest, AChildCutShortByTheBudgetOrAStopGivesNoValue) {
    const Spec root =
        node(0, {node(0.1, {leaf(0.95), leaf(0.97)}), node(0.9, {leaf(0.8), leaf(0.85)})});
    for (const bool stop : {false, true}) {
        SyntheticSearch search(10, &root, sink, clock);
        search.onEvaluate = [&](const SpecNode& evaluated) {
            if (evaluated.spec == &root.children[0].children[0]) {
                if (stop) {
                    search.stop();
                } else {
                    clock.advance(20);
                }
            }
        };
        const Result result = runSearch(search);
        EXPECT_EQ(result.col, 1) << stop;
        EXPECT_EQ(search.depth(), 1) << stop;
    }
}

// What a fixed-depth search sees at each depth: the move, value and tree size of every
// finished iteration, and the root's values.
struct Seen {
    GameTreeSearch::Iteration iteration;
    std::size_t nodes = 0;
    std::vector<double> rootValues;

    friend bool operator==(const Seen& a, const Seen& b) {
        return a.iteration.depth == b.iteration.depth && a.iteration.move == b.iteration.move &&
               a.iteration.value == b.iteration.value && a.nodes == b.nodes &&
               a.rootValues == b.rootValues;
    }
};

std::vector<Seen> iterationsOf(GameTreeSearch& search) {
    std::vector<Seen> seen;
    search.setIterationObserver([&](const GameTreeSearch::Iteration& iteration) {
        Seen one{iteration, search.nodeCount(), {}};
        for (const auto& child : search.root().children) {
            one.rootValues.push_back(child->value);
        }
        seen.push_back(one);
    });
    runSearch(search);
    return seen;
}

// The time-bounded search on a clock that never moves deepens until the node ceiling; a
// search to a fixed depth, even with no budget at all, finds the same at every depth.
TEST_F(GameTreeSearchTest, AFixedDepthFindsWhatTheTimeBoundedSearchFindsThere) {
    SyntheticSearch timed(10, nullptr, sink, clock);
    timed.setNodeLimit(3000);
    const std::vector<Seen> expected = iterationsOf(timed);
    ASSERT_GE(expected.size(), 4u);
    for (int depth = 1; depth <= static_cast<int>(expected.size()); ++depth) {
        SyntheticSearch fixed(0, nullptr, sink, clock);
        fixed.setNodeLimit(3000);
        fixed.setFixedDepth(depth);
        const std::vector<Seen> seen = iterationsOf(fixed);
        EXPECT_TRUE(
            std::equal(seen.begin(), seen.end(), expected.begin(), expected.begin() + depth))
            << "depth " << depth;
        EXPECT_EQ(fixed.depth(), depth);
    }
}

} // namespace
