#include "engine/HexSearch.h"

#include "engine/CandidateFinder.h"
#include "engine/EvaluationCache.h"
#include "engine/EvaluationWorkers.h"
#include "engine/MessageSink.h"
#include "engine/NodeEvaluator.h"
#include "engine/PathFinder.h"
#include "engine/PositionValue.h"

#include <algorithm>
#include <stdexcept>

#include <unistd.h>

namespace {

constexpr std::size_t gibibyte = std::size_t{1} << 30;

std::size_t physicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) {
        return 4 * gibibyte; // unknown: assume a small machine
    }
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize);
}

} // namespace

// 2 GiB for the tree and an eighth of that for the cache, within half of the memory.
std::size_t HexSearch::treeMemoryBudget() {
    return std::min(2 * gibibyte, physicalMemory() / 2 / 9 * 8);
}

std::size_t HexSearch::cacheMemoryBudget() {
    return treeMemoryBudget() / 8;
}

HexSearch::HexSearch(std::int32_t budgetSeconds, std::unique_ptr<HexNode> root, Owner owner,
                     MessageSink& sink, const Clock& clock)
    : GameTreeSearch(budgetSeconds, std::move(root), sink, clock), m_owner(owner),
      m_size(hexRoot().boardSize()), m_keys(m_size) {
    setNodeLimit(std::max<std::size_t>(1000, treeMemoryBudget() / bytesPerNode));
}

HexSearch::~HexSearch() = default;

void HexSearch::setCache(EvaluationCache* cache) {
    m_cache = cache;
    m_cacheChosen = true;
}

// The root's path lists are computed at most once. A cost map is recomputed only when a list
// must be computed from it: the lists, and so every value, are the same as when both maps are
// set for every node, and nothing else reads the maps before its next setBoard.
void HexSearch::ensurePlayer1Paths(HexNode& root) {
    if (root.pathsP1().empty()) {
        m_owner.player1Paths.setBoard(&root.board());
        root.pathsP1() = m_owner.player1Paths.bestPaths(m_size);
    }
}

void HexSearch::ensurePlayer2Paths(HexNode& root) {
    if (root.pathsP2().empty()) {
        m_owner.player2Paths.setBoard(&root.board());
        root.pathsP2() = m_owner.player2Paths.bestPaths(m_size);
    }
}

// The evaluation of a node below the root: made here, taken from the worker that claimed it,
// or, while that worker is busy, waited for by helping with the nodes queued after it.
void HexSearch::ensureEvaluated(HexNode& node) {
    while (!node.isEvaluated()) {
        prepareEvaluations();
        if (node.tryClaim()) {
            try {
                m_evaluator->evaluate(node);
            } catch (...) {
                node.abandonClaim();
                throw;
            }
            return;
        }
        while (!node.isEvaluated() && m_workers && m_workers->helpWithOne(*m_evaluator)) {
        }
        node.waitUntilEvaluated(); // false: its worker failed, and this thread tries again
    }
}

// Made when the first node below the root is evaluated: by then the weights are those of the
// whole search (the learning step changes them before it).
void HexSearch::prepareEvaluations() {
    if (m_evaluator) {
        return;
    }
    const Weights* weights = m_owner.player1Paths.weights();
    if (weights == nullptr) {
        throw std::invalid_argument("HexSearch needs path finders with weights");
    }
    m_weights = *weights;
    if (!m_cacheChosen) {
        m_ownCache = std::make_unique<EvaluationCache>(cacheMemoryBudget());
        m_cache = m_ownCache.get();
    }
    if (m_cache != nullptr) {
        m_cache->useWeights(m_weights);
    }
    m_evaluator = std::make_unique<NodeEvaluator>(m_owner.player1Paths, m_owner.player2Paths,
                                                  m_keys, m_cache);
    if (m_threads > 1) {
        m_workers = std::make_unique<EvaluationWorkers>(m_threads - 1, m_size, m_weights, m_keys,
                                                        m_cache, stopFlag());
    }
}

void HexSearch::willNeed(const std::vector<TreeNode*>& nodes) {
    std::vector<HexNode*> waiting;
    for (TreeNode* node : nodes) {
        auto* hexNode = static_cast<HexNode*>(node);
        if (!hexNode->holdsBoard() && !hexNode->isEvaluated()) {
            waiting.push_back(hexNode);
        }
    }
    if (!waiting.empty()) {
        prepareEvaluations();
        if (m_workers) {
            m_workers->post(waiting);
        }
    }
}

double HexSearch::evaluate(TreeNode& node) {
    auto& hexNode = static_cast<HexNode&>(node);
    if (hexNode.holdsBoard()) {
        ensurePlayer1Paths(hexNode);
        ensurePlayer2Paths(hexNode);
        return positionValue(hexNode.pathsP1(), hexNode.pathsP2());
    }
    ensureEvaluated(hexNode);
    return hexNode.staticValue();
}

std::vector<Hex::Coord> HexSearch::rootCandidates(HexNode& root) {
    return m_candidates.find(root.board(), root.nodeType, root.pathsP1(), root.pathsP2());
}

std::vector<Hex::Coord> HexSearch::evaluatedCandidates(const HexNode& node) const {
    std::vector<Hex::Coord> cells;
    const int n = static_cast<int>(m_size);
    for (const std::uint16_t cell : node.candidates()) {
        cells.push_back(Hex::Coord{cell / n, cell % n});
    }
    return cells;
}

std::vector<Hex::Coord> HexSearch::candidateMoves(HexNode& node) {
    if (node.holdsBoard()) {
        ensurePlayer1Paths(node);
        ensurePlayer2Paths(node);
        return rootCandidates(node);
    }
    ensureEvaluated(node);
    return evaluatedCandidates(node);
}

int HexSearch::expand(TreeNode& node) {
    auto& hexNode = static_cast<HexNode&>(node);
    std::vector<Hex::Coord> candidates;
    if (hexNode.holdsBoard()) {
        ensurePlayer1Paths(hexNode);
        if (isStopped()) {
            return 0;
        }
        ensurePlayer2Paths(hexNode);
        candidates = rootCandidates(hexNode);
        if (node.parent == nullptr) {
            postRootPaths(hexNode);
        }
    } else {
        ensureEvaluated(hexNode);
        if (isStopped()) {
            return 0;
        }
        candidates = evaluatedCandidates(hexNode);
    }
    if (m_owner.stopped) {
        return static_cast<int>(candidates.size());
    }
    node.children.reserve(node.children.size() + candidates.size());
    for (const Hex::Coord cell : candidates) {
        const Hex::Coord firstMove = node.move.row >= 0 && node.move.col >= 0 ? node.move : cell;
        node.children.push_back(std::make_unique<HexNode>(hexNode, cell, firstMove));
    }
    if (!hexNode.holdsBoard()) {
        hexNode.releaseCandidates(); // its children are made; nothing reads them again
    }
    return static_cast<int>(candidates.size());
}

void HexSearch::postRootPaths(HexNode& root) {
    if (!m_owner.stopped) {
        sink().post(WmAppShowPaths{1, root.pathsP1()});
    }
    if (!m_owner.stopped) {
        sink().post(WmAppShowPaths{2, root.pathsP2()});
    }
}
