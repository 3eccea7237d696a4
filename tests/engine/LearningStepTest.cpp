#include "engine/LearningStep.h"
#include "engine/HexSearch.h"
#include "engine/PathFinder.h"
#include "model/BoardText.h"

#include "support/FakeClock.h"
#include "support/RecordingSink.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

LearningStep::Sample sample(double value, std::array<double, 4> sums) {
    return LearningStep::Sample{value, sums};
}

// Two learning moves by hand: the first is remembered (sums truncated toward zero), the
// second moves each weight by -(change of its sum) x (change of value) x rate.
TEST(LearningStep, TwoMovesByHand) {
    LearningMemory memory;
    Weights weights = defaultWeights;
    const auto first = sample(0.2, {7.9, -3.2, 2.0, 0.5});
    EXPECT_FALSE(LearningStep::update(weights, memory, first, 0.05));
    LearningStep::remember(memory, first);
    EXPECT_EQ(memory.previousSums, (std::array<std::int32_t, 4>{7, -3, 2, 0}));
    EXPECT_EQ(memory.previousValue, 0.2);
    EXPECT_TRUE(memory.havePrevious);
    EXPECT_EQ(weights, defaultWeights);

    EXPECT_TRUE(LearningStep::update(weights, memory, sample(0.5, {9.5, -3.0, 1.25, 4.0}), 0.05));
    EXPECT_DOUBLE_EQ(weights[0], -3.076 - 2.5 * 0.3 * 0.05);
    EXPECT_EQ(weights[1], 3.801); // its sum did not change
    EXPECT_DOUBLE_EQ(weights[2], -5.553 + 0.75 * 0.3 * 0.05);
    EXPECT_DOUBLE_EQ(weights[3], 7.072 - 4.0 * 0.3 * 0.05);
}

// No rate or no change of value changes nothing; an update that would leave the finite
// numbers is skipped.
TEST(LearningStep, SomeUpdatesLeaveTheWeights) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        LearningStep::Sample previous, current;
        double rate;
        bool applied;
    } cases[] = {
        {sample(0.25, {1, 2, 3, 4}), sample(0.75, {5, 6, 7, 8}), 0.0, true},
        {sample(0.25, {1, 2, 3, 4}), sample(0.25, {5, 6, 7, 8}), 0.05, true},
        {sample(-1.0, {0, 0, 0, 0}), sample(1.0, {1e300, 0, 0, 0}), 1e10, false},
        {sample(-1.0, {0, 0, 0, 0}), sample(1.0, {1, 1, 1, 1}), nan, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        LearningMemory memory;
        LearningStep::remember(memory, c.previous);
        Weights weights = defaultWeights;
        EXPECT_EQ(LearningStep::update(weights, memory, c.current, c.rate), c.applied);
        EXPECT_EQ(weights, defaultWeights);
    }
}

TEST(LearningStep, RememberedSumsStayInRange) {
    LearningMemory memory;
    LearningStep::remember(memory, sample(0.0, {1e20, -1e20, -7.9, 0.99}));
    EXPECT_EQ(memory.previousSums[0], std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(memory.previousSums[1], std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(memory.previousSums[2], -7);
    EXPECT_EQ(memory.previousSums[3], 0);
}

struct Measure {
    explicit Measure(const std::string& board, std::uint32_t n)
        : player1(n, 0, 1), player2(n, 1, 2) {
        player1.setWeights(&weights);
        player2.setWeights(&weights);
        auto node = std::make_unique<HexNode>(nullptr, TreeNode::player1ToMove, Hex::noMove,
                                              Hex::parseBoard(n, board));
        root = node.get();
        search = std::make_unique<HexSearch>(
            5, std::move(node), HexSearch::Owner{player1, player2, stopped}, sink, clock);
    }
    Weights weights = defaultWeights;
    PathFinder player1;
    PathFinder player2;
    std::atomic<bool> stopped{false};
    RecordingSink sink;
    FakeClock clock;
    HexNode* root = nullptr;
    std::unique_ptr<HexSearch> search;
};

TEST(LearningStep, AnOpenPositionIsMeasuredAndADecidedOneIsNot) {
    Measure open(". . . .  . . . .  . . . .  . . . .", 4);
    const auto measured =
        LearningStep::measure(*open.search, *open.root, open.player1, open.player2);
    ASSERT_TRUE(measured.has_value());
    EXPECT_GT(measured->value, -1.0);
    EXPECT_LT(measured->value, 1.0);
    EXPECT_EQ(measured->featureSums, (std::array<double, 4>{0, 0, 0, 0}));
    EXPECT_FALSE(open.root->pathsP1().empty());
    EXPECT_FALSE(open.root->pathsP2().empty());

    Measure decided(". X .  . X .  X . .", 3);
    EXPECT_FALSE(
        LearningStep::measure(*decided.search, *decided.root, decided.player1, decided.player2)
            .has_value());
}

} // namespace
