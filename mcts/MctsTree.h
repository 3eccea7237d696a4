#pragma once

#include "mcts/MctsNode.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

// The storage of the Monte-Carlo tree: nodes in chunks that are allocated as the tree grows,
// the children of a node in one contiguous block, and a ceiling on the number of nodes.
// Keeping a subtree for the next move copies it into fresh chunks and frees the rest, so the
// memory of a tree never holds more than the nodes in use plus one chunk.
//
// Thread contract: allocate() from any search thread; everything else only while no search
// runs.
class MctsTree {
public:
    static constexpr std::size_t chunkNodes = std::size_t{1} << 16;

    explicit MctsTree(std::size_t nodeLimit);
    MctsTree(const MctsTree&) = delete;
    MctsTree& operator=(const MctsTree&) = delete;

    MctsNode& root() { return *m_root; }
    const MctsNode& root() const { return *m_root; }

    // A block of `count` fresh nodes (count <= chunkNodes), or null when the tree would pass
    // its ceiling.
    MctsNode* allocate(std::size_t count);

    std::size_t nodeCount() const { return m_count.load(std::memory_order_relaxed); }
    std::size_t nodeLimit() const { return m_nodeLimit; }
    std::size_t bytes() const;

    // Starts again from a single fresh root.
    void clear();
    // Keeps the subtree below `node` (a node of this tree) with its statistics; it becomes
    // the root.
    void keepSubtree(const MctsNode& node);

private:
    static void copyStatistics(const MctsNode& from, MctsNode& to);

    const std::size_t m_nodeLimit;
    std::mutex m_lock; // guards the chunks and m_used
    std::vector<std::unique_ptr<MctsNode[]>> m_chunks;
    std::size_t m_used = 0; // nodes taken from the last chunk
    std::atomic<std::size_t> m_count{0};
    MctsNode* m_root = nullptr;
};
