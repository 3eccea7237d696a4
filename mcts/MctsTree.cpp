#include "mcts/MctsTree.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <tuple>
#include <utility>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

} // namespace

// A block of children on its way down: where it is, its place in the order of allocation,
// and where it goes.
struct MctsTree::Block {
    MctsNode* from = nullptr;
    std::size_t count = 0;
    std::size_t chunk = 0;
    std::size_t offset = 0;
    MctsNode* to = nullptr;
};

MctsTree::MctsTree(std::size_t nodeLimit, std::shared_ptr<TreeMemoryBudget> budget)
    : m_nodeLimit(std::max(nodeLimit, guaranteedNodes)), m_budget(std::move(budget)) {
    clear();
}

MctsTree::~MctsTree() {
    freeChunksAfter(0);
}

MctsNode* MctsTree::allocate(std::size_t count) {
    std::lock_guard lock(m_lock);
    if (count == 0 || count > chunkNodes || m_count.load(relaxed) + count > m_nodeLimit) {
        return nullptr;
    }
    if ((m_chunks.empty() || m_used + count > m_chunks.back().capacity) && !addChunk(count)) {
        return nullptr;
    }
    MctsNode* block = m_chunks.back().nodes.get() + m_used;
    m_used += count;
    m_count.fetch_add(count, relaxed);
    return block;
}

// Chunks double with the tree up to chunkNodes, and all of them together stay within the
// ceiling; the first few nodes are granted past the budget.
bool MctsTree::addChunk(std::size_t count, bool force) {
    constexpr std::size_t nodeBytes = sizeof(MctsNode);
    const std::size_t limitLeft = m_nodeLimit - std::min(m_nodeLimit, m_capacity);
    const std::size_t wanted =
        force ? count : std::min({chunkNodes, std::max(count, m_capacity), limitLeft});
    if (wanted < count) {
        return false;
    }
    std::size_t granted = wanted;
    if (force || m_capacity + wanted <= guaranteedNodes) {
        m_budget->force(wanted * nodeBytes);
    } else {
        const std::size_t bytes = m_budget->reserve(wanted * nodeBytes, count * nodeBytes);
        granted = bytes / nodeBytes;
        m_budget->release(bytes - granted * nodeBytes);
        if (granted < count) {
            return false;
        }
    }
    try {
        m_chunks.push_back(Chunk{std::make_unique<MctsNode[]>(granted), granted});
    } catch (...) {
        m_budget->release(granted * nodeBytes);
        throw;
    }
    m_capacity += granted;
    m_used = 0;
    return true;
}

void MctsTree::freeChunksAfter(std::size_t kept) {
    std::size_t freed = 0;
    for (std::size_t i = kept; i < m_chunks.size(); ++i) {
        freed += m_chunks[i].capacity;
    }
    m_chunks.resize(std::min(kept, m_chunks.size()));
    m_capacity -= freed;
    m_budget->release(freed * sizeof(MctsNode));
}

std::size_t MctsTree::bytes() const {
    std::lock_guard lock(m_lock);
    return m_capacity * sizeof(MctsNode);
}

double MctsTree::fill() const {
    const double own = static_cast<double>(nodeCount()) / static_cast<double>(m_nodeLimit);
    const double shared = m_budget->limit() == 0 ? 1.0
                                                 : static_cast<double>(m_budget->used()) /
                                                       static_cast<double>(m_budget->limit());
    return std::min(1.0, std::max(own, shared));
}

void MctsTree::clear() {
    {
        std::lock_guard lock(m_lock);
        freeChunksAfter(0);
        m_used = 0;
        m_count = 0;
    }
    m_root = allocate(1);
}

void MctsTree::copyNode(const MctsNode& from, MctsNode& to, MctsNode* children) {
    // Everything is read before anything is written: `to` may be `from` itself.
    const std::uint64_t visits = from.visits.load(relaxed);
    const std::uint64_t wins = from.wins.load(relaxed);
    const std::uint32_t raveVisits = from.raveVisits.load(relaxed);
    const std::uint32_t raveWins = from.raveWins.load(relaxed);
    const std::uint16_t childCount = from.childCount;
    const std::int16_t move = from.move;
    const std::uint8_t prior = from.prior;
    const std::int8_t proof = from.proof.load(relaxed);
    std::uint8_t state = from.state.load(relaxed);
    // A node closed only because the tree was full may grow again in the smaller tree.
    if (state == MctsNode::closed && !MctsNode::isProof(proof)) {
        state = MctsNode::leaf;
    }
    to.visits.store(visits, relaxed);
    to.wins.store(wins, relaxed);
    to.raveVisits.store(raveVisits, relaxed);
    to.raveWins.store(raveWins, relaxed);
    to.children.store(children, relaxed);
    to.childCount = childCount;
    to.move = move;
    to.prior = prior;
    to.proof.store(proof, relaxed);
    to.state.store(state, relaxed);
}

void MctsTree::keepSubtree(const MctsNode& node) {
    // The new root's own slot lies in a block that is about to be overwritten.
    MctsNode top;
    copyNode(node, top, node.children.load(relaxed));
    std::vector<Block> blocks = liveBlocks(node);
    const auto [lastChunk, lastUsed] = planSlide(blocks);
    std::vector<std::pair<const MctsNode*, MctsNode*>> moved;
    moved.reserve(blocks.size());
    std::size_t count = 0;
    for (const Block& block : blocks) {
        moved.emplace_back(block.from, block.to);
        count += block.count;
    }
    std::sort(moved.begin(), moved.end(), [](const auto& a, const auto& b) {
        return std::less<const MctsNode*>{}(a.first, b.first);
    });
    const auto movedTo = [&](const MctsNode* children) -> MctsNode* {
        const auto found = std::lower_bound(
            moved.begin(), moved.end(), children,
            [](const std::pair<const MctsNode*, MctsNode*>& entry, const MctsNode* key) {
                return std::less<const MctsNode*>{}(entry.first, key);
            });
        return children == nullptr ? nullptr : found->second;
    };
    // Every block moves to the same place or lower in the order of allocation, and they go
    // in that order, so a block is read before anything is written over it; a node is read
    // whole before it is written (copyNode).
    for (const Block& block : blocks) {
        for (std::size_t i = 0; i < block.count; ++i) {
            copyNode(block.from[i], block.to[i], movedTo(block.from[i].children.load(relaxed)));
        }
    }
    // The root goes after the last block, in a chunk the tree holds if any has room: so
    // keeping never needs more memory than the tree had.
    std::size_t rootChunk = lastChunk;
    std::size_t rootOffset = lastUsed;
    if (rootOffset == m_chunks[rootChunk].capacity && rootChunk + 1 < m_chunks.size()) {
        ++rootChunk;
        rootOffset = 0;
    }
    {
        std::lock_guard lock(m_lock);
        freeChunksAfter(rootChunk + 1);
        m_used = rootOffset;
        m_count = count;
    }
    try {
        m_root = rootOffset < m_chunks[rootChunk].capacity ? allocate(1) : nullptr;
        if (m_root == nullptr) {
            std::lock_guard lock(m_lock);
            addChunk(1, true);
            m_root = m_chunks.back().nodes.get();
            m_used = 1;
            m_count.fetch_add(1, relaxed);
        }
    } catch (...) {
        clear();
        throw;
    }
    copyNode(top, *m_root, movedTo(top.children.load(relaxed)));
    // allocate() hands out nodes as fresh ones: the rest of the last chunk held old nodes.
    std::lock_guard lock(m_lock);
    Chunk& last = m_chunks.back();
    for (std::size_t i = m_used; i < last.capacity; ++i) {
        std::construct_at(&last.nodes[i]);
    }
}

// The blocks of children below `top`, in the order of allocation.
std::vector<MctsTree::Block> MctsTree::liveBlocks(const MctsNode& top) const {
    std::vector<Block> blocks;
    if (MctsNode* children = top.children.load(relaxed)) {
        blocks.push_back(Block{children, top.childCount});
    }
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        for (std::size_t i = 0; i < blocks[b].count; ++i) {
            const MctsNode& child = blocks[b].from[i];
            if (MctsNode* children = child.children.load(relaxed)) {
                blocks.push_back(Block{children, child.childCount});
            }
        }
    }
    std::vector<std::pair<const MctsNode*, std::size_t>> bases;
    for (std::size_t c = 0; c < m_chunks.size(); ++c) {
        bases.emplace_back(m_chunks[c].nodes.get(), c);
    }
    const auto byAddress = [](const MctsNode* a, const auto& b) {
        return std::less<const MctsNode*>{}(a, b.first);
    };
    std::sort(bases.begin(), bases.end(), [](const auto& a, const auto& b) {
        return std::less<const MctsNode*>{}(a.first, b.first);
    });
    for (Block& block : blocks) {
        const auto after = std::upper_bound(bases.begin(), bases.end(), block.from, byAddress);
        block.chunk = std::prev(after)->second;
        block.offset = static_cast<std::size_t>(block.from - std::prev(after)->first);
    }
    std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) {
        return std::tie(a.chunk, a.offset) < std::tie(b.chunk, b.offset);
    });
    return blocks;
}

// Packs the blocks from the start of the first chunk on, in their order, none across the end
// of a chunk: each lands at or before where it is, since it fitted there. Returns the last
// chunk used and the nodes used in it.
std::pair<std::size_t, std::size_t> MctsTree::planSlide(std::vector<Block>& blocks) const {
    std::size_t chunk = 0;
    std::size_t offset = 0;
    for (Block& block : blocks) {
        while (offset + block.count > m_chunks[chunk].capacity) {
            ++chunk;
            offset = 0;
        }
        block.to = m_chunks[chunk].nodes.get() + offset;
        offset += block.count;
    }
    return {chunk, offset};
}
