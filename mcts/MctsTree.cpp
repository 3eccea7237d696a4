#include "mcts/MctsTree.h"

#include <algorithm>
#include <deque>
#include <utility>

MctsTree::MctsTree(std::size_t nodeLimit) : m_nodeLimit(std::max<std::size_t>(nodeLimit, 1)) {
    clear();
}

MctsNode* MctsTree::allocate(std::size_t count) {
    std::lock_guard lock(m_lock);
    if (m_count.load(std::memory_order_relaxed) + count > m_nodeLimit || count > chunkNodes) {
        return nullptr;
    }
    if (m_chunks.empty() || m_used + count > chunkNodes) {
        m_chunks.push_back(std::make_unique<MctsNode[]>(chunkNodes));
        m_used = 0;
    }
    MctsNode* block = m_chunks.back().get() + m_used;
    m_used += count;
    m_count.fetch_add(count, std::memory_order_relaxed);
    return block;
}

std::size_t MctsTree::bytes() const {
    return m_chunks.size() * chunkNodes * sizeof(MctsNode);
}

void MctsTree::clear() {
    m_chunks.clear();
    m_used = 0;
    m_count = 0;
    m_root = allocate(1);
}

void MctsTree::copyStatistics(const MctsNode& from, MctsNode& to) {
    constexpr auto relaxed = std::memory_order_relaxed;
    to.visits.store(from.visits.load(relaxed), relaxed);
    to.wins.store(from.wins.load(relaxed), relaxed);
    to.raveVisits.store(from.raveVisits.load(relaxed), relaxed);
    to.raveWins.store(from.raveWins.load(relaxed), relaxed);
    to.move = from.move;
    to.proof.store(from.proof.load(relaxed), relaxed);
    // A node closed only because the tree was full may grow again in the smaller tree.
    const bool terminal = from.state.load(relaxed) == MctsNode::closed &&
                          from.proof.load(relaxed) != MctsNode::unproven;
    to.state.store(terminal ? MctsNode::closed : MctsNode::leaf, relaxed);
}

void MctsTree::keepSubtree(const MctsNode& node) {
    std::vector<std::unique_ptr<MctsNode[]>> oldChunks = std::move(m_chunks);
    clear();
    copyStatistics(node, *m_root);
    // Breadth first, each block of children copied whole; the copy never holds more nodes
    // than the tree did, so no allocation fails.
    std::deque<std::pair<const MctsNode*, MctsNode*>> pending{{&node, m_root}};
    while (!pending.empty()) {
        const auto [from, to] = pending.front();
        pending.pop_front();
        const MctsNode* children = from->children.load(std::memory_order_relaxed);
        if (children == nullptr) {
            continue;
        }
        MctsNode* block = allocate(from->childCount);
        for (std::size_t i = 0; i < from->childCount; ++i) {
            copyStatistics(children[i], block[i]);
            pending.emplace_back(&children[i], &block[i]);
        }
        to->childCount = from->childCount;
        to->children.store(block, std::memory_order_relaxed);
        to->state.store(MctsNode::expanded, std::memory_order_relaxed);
    }
}
