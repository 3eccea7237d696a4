#include "mcts/MctsTree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Grows a random tree: every node gets a numbered visit count, and a few get children.
void grow(MctsTree& tree, MctsNode& node, std::mt19937& random, int depth, std::uint64_t& number) {
    const auto count = static_cast<std::size_t>(1 + random() % 40);
    MctsNode* block = tree.allocate(count);
    if (block == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        block[i].move = static_cast<std::int16_t>(i);
        block[i].visits.store(++number, relaxed);
        block[i].wins.store(number / 2, relaxed);
        block[i].raveVisits.store(static_cast<std::uint32_t>(number % 1000), relaxed);
        block[i].proof.store(static_cast<std::int8_t>(number % 3) - 1, relaxed);
    }
    node.childCount = static_cast<std::uint16_t>(count);
    node.children.store(block, relaxed);
    node.state.store(MctsNode::expanded, relaxed);
    for (std::size_t i = 0; i < count && depth > 0; ++i) {
        if (random() % 3 == 0) {
            grow(tree, block[i], random, depth - 1, number);
        }
    }
}

// The subtree as text, depth first: what keeping it must not change.
void describe(const MctsNode& node, std::vector<std::uint64_t>& out) {
    out.insert(out.end(), {node.visits.load(relaxed), node.wins.load(relaxed),
                           node.raveVisits.load(relaxed), std::uint64_t(node.move + 2),
                           std::uint64_t(node.proof.load(relaxed) + 1), node.childCount});
    const MctsNode* children = node.children.load(relaxed);
    for (std::size_t i = 0; children != nullptr && i < node.childCount; ++i) {
        describe(children[i], out);
    }
}

// Keeping a subtree slides its blocks down inside the chunks the tree holds: the statistics
// and shape stay, the other nodes and their chunks go, new blocks come fresh, and the memory passes
// the budget by at most the root's one node, even when the tree was full.
TEST(MctsTreeTest, KeepingASubtreeKeepsItWholeWithinTheBudget) {
    for (const std::uint32_t seed : {1U, 2U, 3U, 4U}) {
        const std::size_t limit = std::size_t{3} << 20;
        const auto budget = std::make_shared<TreeMemoryBudget>(limit);
        MctsTree tree(~std::size_t{0}, budget);
        std::mt19937 random(seed);
        std::uint64_t number = 0;
        grow(tree, tree.root(), random, 8, number); // until the budget refuses
        ASSERT_EQ(tree.allocate(64), nullptr) << "the tree is full";
        // The largest subtree of a root move, or (odd seeds) the smallest one with children.
        const MctsNode* children = tree.root().children.load(relaxed);
        const MctsNode* kept = nullptr;
        std::vector<std::uint64_t> before;
        for (std::size_t i = 0; i < tree.root().childCount; ++i) {
            std::vector<std::uint64_t> nodes;
            describe(children[i], nodes);
            const bool smaller =
                seed % 2 == 1 ? nodes.size() < before.size() : nodes.size() > before.size();
            if (children[i].children.load(relaxed) != nullptr && (kept == nullptr || smaller)) {
                kept = &children[i];
                before = nodes;
            }
        }
        ASSERT_NE(kept, nullptr);
        tree.keepSubtree(*kept);
        std::vector<std::uint64_t> after;
        describe(tree.root(), after);
        EXPECT_EQ(after, before) << "seed " << seed;
        EXPECT_EQ(tree.nodeCount(), before.size() / 6) << "seed " << seed;
        EXPECT_LE(budget->used(), limit + sizeof(MctsNode)); // the new root may need one more
        EXPECT_EQ(budget->used(), tree.bytes());
        // The chunks are reused, but what the tree hands out next is fresh.
        while (const MctsNode* node = tree.allocate(1)) {
            ASSERT_EQ(node->visits.load(relaxed), 0U) << "seed " << seed;
            ASSERT_EQ(node->children.load(relaxed), nullptr) << "seed " << seed;
        }
    }
}

} // namespace
