#include "engine/HexNode.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

HexNode::HexNode(TreeNode* parentNode, int type, Hex::Coord firstMove, Hex::Board position)
    : TreeNode(parentNode, type, firstMove),
      m_whole(std::make_unique<Whole>(Whole{std::move(position), {}, {}})) {}

HexNode::HexNode(HexNode& parentNode, Hex::Coord stone, Hex::Coord firstMove)
    : TreeNode(&parentNode, 1 - parentNode.nodeType, firstMove),
      m_stoneRow(static_cast<std::int8_t>(stone.row)),
      m_stoneCol(static_cast<std::int8_t>(stone.col)) {}

std::uint32_t HexNode::boardSize() const {
    const HexNode* node = this;
    while (!node->holdsBoard()) {
        node = static_cast<const HexNode*>(node->parent);
    }
    return node->m_whole->board.size();
}

// Up the line to the node that holds a board; each node on the way adds the stone of the
// side that moved into it (Player 1's when it is Player 2's turn there).
void HexNode::copyPosition(Hex::Board& into) const {
    const HexNode* node = this;
    while (!node->holdsBoard()) {
        node = static_cast<const HexNode*>(node->parent);
    }
    into = node->m_whole->board;
    for (node = this; !node->holdsBoard(); node = static_cast<const HexNode*>(node->parent)) {
        const int stone = node->nodeType == player2ToMove ? 1 : 2;
        into.cell(static_cast<std::uint32_t>(node->m_stoneRow),
                  static_cast<std::uint32_t>(node->m_stoneCol), stone);
    }
}

HexNode::Whole& HexNode::whole() {
    if (!m_whole) {
        throw std::logic_error("only the search's root holds a board and path lists");
    }
    return *m_whole;
}

Hex::Board& HexNode::board() {
    return whole().board;
}

std::vector<Path>& HexNode::pathsP1() {
    return whole().pathsP1;
}

std::vector<Path>& HexNode::pathsP2() {
    return whole().pathsP2;
}

bool HexNode::tryClaim() {
    std::uint32_t expected = fresh;
    return m_state.compare_exchange_strong(expected, claimed, std::memory_order_acquire);
}

void HexNode::abandonClaim() {
    m_state.store(fresh, std::memory_order_release);
    m_state.notify_all();
}

void HexNode::publishEvaluation(double staticValue, std::span<const std::uint16_t> candidates) {
    m_staticValue = staticValue;
    m_count = static_cast<std::uint16_t>(candidates.size());
    m_candidates.reset();
    if (!candidates.empty()) {
        m_candidates = std::make_unique_for_overwrite<std::uint16_t[]>(candidates.size());
        std::copy(candidates.begin(), candidates.end(), m_candidates.get());
    }
    m_state.store(evaluated, std::memory_order_release);
    m_state.notify_all();
}

bool HexNode::isEvaluated() const {
    return m_state.load(std::memory_order_acquire) == evaluated;
}

// The claim is held for one evaluation: a short watch usually sees it end without sleeping.
bool HexNode::waitUntilEvaluated() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(500);
    while (m_state.load(std::memory_order_acquire) == claimed &&
           std::chrono::steady_clock::now() < until) {
        std::this_thread::yield();
    }
    std::uint32_t state = m_state.load(std::memory_order_acquire);
    while (state == claimed) {
        m_state.wait(claimed, std::memory_order_acquire);
        state = m_state.load(std::memory_order_acquire);
    }
    return state == evaluated;
}

void HexNode::releaseCandidates() {
    m_candidates.reset();
    m_count = 0;
}
