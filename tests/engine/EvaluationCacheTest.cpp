#include "engine/EvaluationCache.h"
#include "engine/HexNode.h"
#include "engine/NodeEvaluator.h"
#include "engine/PathFinder.h"
#include "engine/ZobristKeys.h"
#include "model/Game.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Evaluation = EvaluationCache::Evaluation;

// Positions of a 7 x 7 game below one root, evaluated by a fresh evaluator or through a cache.
struct Positions {
    Positions() : root(nullptr, TreeNode::player1ToMove, Hex::noMove, Hex::Board(7)) {
        const std::vector<Hex::Coord> moves{{3, 3}, {2, 4}, {4, 2}, {2, 2}};
        root.board() = Hex::Game(7, moves).board();
        player1.setWeights(&weights);
        player2.setWeights(&weights);
    }

    // A node of a new line from the root: the stones alternate, Player 1 first.
    HexNode& line(const std::vector<Hex::Coord>& stones) {
        HexNode* node = &root;
        for (const Hex::Coord stone : stones) {
            node->children.push_back(std::make_unique<HexNode>(*node, stone, stones.front()));
            node = static_cast<HexNode*>(node->children.back().get());
        }
        return *node;
    }

    Evaluation evaluate(HexNode& node, EvaluationCache* cache) {
        NodeEvaluator evaluator(player1, player2, keys, cache);
        EXPECT_TRUE(node.tryClaim());
        evaluator.evaluate(node);
        const auto candidates = node.candidates();
        return Evaluation{node.staticValue(), {candidates.begin(), candidates.end()}};
    }

    Weights weights = defaultWeights;
    PathFinder player1{7, 0, 1};
    PathFinder player2{7, 1, 2};
    ZobristKeys keys{7};
    HexNode root;
};

// Two lines to one position (the same stones in another order) and other positions: through a
// cache, every node gets what a fresh evaluation gives, whether the cache holds its position,
// holds another one under the same key, or has all keys the same.
TEST(EvaluationCache, GivesWhatAFreshEvaluationGivesEvenWhenKeysCollide) {
    const std::vector<std::vector<Hex::Coord>> lines{
        {{1, 5}, {5, 1}, {3, 1}}, {{3, 1}, {5, 1}, {1, 5}}, {{1, 5}, {5, 1}},
        {{3, 1}, {5, 1}, {1, 4}}, {{1, 5}, {5, 1}, {3, 1}}, {{0, 6}}};
    Positions fresh;
    std::vector<Evaluation> expected;
    for (const auto& stones : lines) {
        expected.push_back(fresh.evaluate(fresh.line(stones), nullptr));
    }
    EXPECT_EQ(expected[0], expected[1]); // one position, two lines
    EXPECT_NE(expected[0], expected[3]);

    for (const int hashBits : {64, 3, 0}) {
        Positions cached;
        EvaluationCache cache(1 << 20, hashBits);
        cache.useWeights(cached.weights);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(cached.evaluate(cached.line(lines[i]), &cache), expected[i])
                << "line " << i << " with " << hashBits << " key bits";
        }
        if (hashBits == 64) {
            EXPECT_EQ(cache.hits(), 2u); // lines 1 and 4 repeat line 0
        }
    }
}

TEST(EvaluationCache, ConfirmsThePositionAndForgetsOtherWeights) {
    Hex::Board board(5);
    const EvaluationCache::Position empty = EvaluationCache::positionOf(board, 1);
    board.cell(2, 2, 1);
    const EvaluationCache::Position one = EvaluationCache::positionOf(board, 1);
    EXPECT_NE(EvaluationCache::positionOf(board, 0), one); // the side to move counts
    EXPECT_NE(EvaluationCache::positionOf(Hex::Board(4), 1),
              EvaluationCache::positionOf(Hex::Board(3), 1)); // and so does the size

    EvaluationCache cache(1 << 20);
    cache.useWeights(defaultWeights);
    const Evaluation stored{0.25, {1, 2, 3}};
    cache.insert(7, one, stored);
    Evaluation found;
    EXPECT_FALSE(cache.find(7, empty, found)); // the key alone finds nothing
    ASSERT_TRUE(cache.find(7, one, found));
    EXPECT_EQ(found, stored);

    cache.useWeights(defaultWeights); // the same weights keep it
    EXPECT_TRUE(cache.find(7, one, found));
    Weights learned = defaultWeights;
    learned[2] = -5.5;
    cache.useWeights(learned);
    EXPECT_FALSE(cache.find(7, one, found));
    EXPECT_EQ(cache.bytes(), 0u);
}

TEST(EvaluationCache, StaysWithinItsMemory) {
    const std::size_t limit = 64 * 1024;
    EvaluationCache cache(limit);
    cache.useWeights(defaultWeights);
    Hex::Board board(9);
    EvaluationCache::Position last;
    for (std::uint64_t key = 0; key < 5000; ++key) {
        board.cell(static_cast<std::uint32_t>(key % 9), static_cast<std::uint32_t>(key / 9 % 9),
                   static_cast<int>(key % 3));
        last = EvaluationCache::positionOf(board, 1);
        cache.insert(key, last, Evaluation{0.5, std::vector<std::uint16_t>(12, 3)});
        ASSERT_LE(cache.bytes(), limit + 1024);
    }
    Evaluation found;
    EXPECT_TRUE(cache.find(4999, last, found)); // the newest stay
}

} // namespace
