#include "engine/NodeEvaluator.h"

#include "engine/CandidateFinder.h"
#include "engine/HexNode.h"
#include "engine/Path.h"
#include "engine/PathFinder.h"
#include "engine/PositionValue.h"
#include "engine/ZobristKeys.h"

#include <vector>

NodeEvaluator::NodeEvaluator(PathFinder& player1, PathFinder& player2, const ZobristKeys& keys,
                             EvaluationCache* cache)
    : m_player1(player1), m_player2(player2), m_keys(keys), m_cache(cache),
      m_board(player1.size()) {}

void NodeEvaluator::evaluate(HexNode& node) {
    node.copyPosition(m_board);
    if (m_cache == nullptr) {
        compute(node.nodeType, m_evaluation);
    } else {
        const std::uint64_t key = m_keys.of(m_board, node.nodeType);
        EvaluationCache::Position position = EvaluationCache::positionOf(m_board, node.nodeType);
        if (!m_cache->find(key, position, m_evaluation)) {
            compute(node.nodeType, m_evaluation);
            m_cache->insert(key, std::move(position), m_evaluation);
        }
    }
    node.publishEvaluation(m_evaluation.value, m_evaluation.candidates);
}

// Player 1's paths, then Player 2's, each on a cost map of this position; then the value and
// the candidate moves from them. Only the near-best paths are kept: the value reads the
// cheapest, the candidates the near-best.
void NodeEvaluator::compute(int nodeType, EvaluationCache::Evaluation& into) {
    m_player1.setBoard(&m_board);
    std::vector<Path> pathsP1 = m_player1.bestPaths(m_board.size());
    m_player2.setBoard(&m_board);
    std::vector<Path> pathsP2 = m_player2.bestPaths(m_board.size());
    into.value = positionValue(pathsP1, pathsP2);
    const std::vector<Hex::Coord> cells = m_candidates.find(m_board, nodeType, pathsP1, pathsP2);
    const auto n = static_cast<int>(m_board.size());
    into.candidates.clear();
    for (const Hex::Coord cell : cells) {
        into.candidates.push_back(static_cast<std::uint16_t>(cell.row * n + cell.col));
    }
}
