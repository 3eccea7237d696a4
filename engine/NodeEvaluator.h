#pragma once

#include "engine/CandidateFinder.h"
#include "engine/EvaluationCache.h"
#include "model/Board.h"

#include <cstdint>

class HexNode;
class PathFinder;
class ZobristKeys;

// Evaluates the search's nodes that hold no board: both players' best paths on the node's
// position give its static value and its candidate moves, unless the cache holds them
// already. The result is the same either way, bit for bit.
//
// Thread contract: one thread at a time, with path finders that no other thread uses. The
// cache may be shared.
class NodeEvaluator {
public:
    // cache may be null.
    NodeEvaluator(PathFinder& player1, PathFinder& player2, const ZobristKeys& keys,
                  EvaluationCache* cache);

    // Makes and publishes the evaluation of a node this thread has claimed.
    void evaluate(HexNode& node);

private:
    void compute(int nodeType, EvaluationCache::Evaluation& into);

    PathFinder& m_player1;
    PathFinder& m_player2;
    const ZobristKeys& m_keys;
    EvaluationCache* m_cache;
    Hex::Board m_board;
    CandidateFinder m_candidates;
    EvaluationCache::Evaluation m_evaluation;
};
