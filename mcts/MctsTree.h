#pragma once

#include "mcts/MctsNode.h"
#include "mcts/TreeMemoryBudget.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

// The storage of the Monte-Carlo tree: nodes in chunks that are allocated as the tree grows,
// the children of a node in one contiguous block, and a ceiling on the number of nodes. The
// chunks grow from a few nodes to `chunkNodes` as the tree does, so a small tree holds little
// memory, and every chunk is reserved from a budget shared with the other trees that search
// at the same time. Keeping a subtree for the next move slides its blocks down within the
// chunks the tree already holds and frees the rest, so the tree never holds more memory than
// its ceiling and its budget allow, not even while it keeps a subtree (but for one node, the
// new root, when the subtree fills every chunk).
//
// Thread contract: allocate() and the readers from any search thread; everything else only
// while no search runs.
class MctsTree {
public:
    static constexpr std::size_t chunkNodes = std::size_t{1} << 16;
    // Granted past the budget, so that every search can give its root its children.
    static constexpr std::size_t guaranteedNodes = 1 + 32 * 32;

    MctsTree(std::size_t nodeLimit, std::shared_ptr<TreeMemoryBudget> budget);
    ~MctsTree();
    MctsTree(const MctsTree&) = delete;
    MctsTree& operator=(const MctsTree&) = delete;

    MctsNode& root() { return *m_root; }
    const MctsNode& root() const { return *m_root; }

    // A block of `count` fresh nodes (count <= chunkNodes), or null when the tree would pass
    // its ceiling or its budget.
    MctsNode* allocate(std::size_t count);

    std::size_t nodeCount() const { return m_count.load(std::memory_order_relaxed); }
    std::size_t nodeLimit() const { return m_nodeLimit; }
    // The memory of the chunks the tree holds.
    std::size_t bytes() const;
    // How full the tree is, 0 to 1: the larger of its own share of its ceiling and the
    // shared budget's.
    double fill() const;

    // Starts again from a single fresh root and gives the memory back.
    void clear();
    // Keeps the subtree below `node` (a node of this tree, not the root) with its statistics;
    // it becomes the root.
    void keepSubtree(const MctsNode& node);

private:
    struct Chunk {
        std::unique_ptr<MctsNode[]> nodes;
        std::size_t capacity = 0;
    };
    struct Block; // a block of children being slid down

    // force: exactly `count` nodes, past the ceiling and the budget if need be.
    bool addChunk(std::size_t count, bool force = false);
    void freeChunksAfter(std::size_t kept);
    std::vector<Block> liveBlocks(const MctsNode& top) const;
    std::pair<std::size_t, std::size_t> planSlide(std::vector<Block>& blocks) const;
    static void copyNode(const MctsNode& from, MctsNode& to, MctsNode* children);

    const std::size_t m_nodeLimit;
    const std::shared_ptr<TreeMemoryBudget> m_budget;
    mutable std::mutex m_lock; // guards the chunks, m_used and m_capacity
    std::vector<Chunk> m_chunks;
    std::size_t m_used = 0;     // nodes taken from the last chunk
    std::size_t m_capacity = 0; // nodes in all chunks
    std::atomic<std::size_t> m_count{0};
    MctsNode* m_root = nullptr;
};
