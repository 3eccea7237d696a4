#pragma once

#include "engine/CandidateFinder.h"
#include "engine/GameTreeSearch.h"
#include "engine/HexNode.h"
#include "engine/Weights.h"
#include "engine/ZobristKeys.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class EvaluationCache;
class EvaluationWorkers;
class NodeEvaluator;
class PathFinder;

// The look-ahead search for Hex: a node's value is the position value of both players'
// cheapest paths, and its moves are the cells where a near-best path of Player 1 crosses a
// near-best path of Player 2, plus, next to each crossing, the empty cells on the opponent's
// near-best paths.
//
// Every node but the root is evaluated once, into its static value and its candidate moves,
// and a cache of evaluations serves positions that the tree reaches more than once. With
// more than one thread, workers evaluate the nodes the search is about to meet; the search
// takes their evaluations in its own order, so its results do not depend on the threads.
//
// Thread contract: as GameTreeSearch. The player's stop mark is set by the player's watcher
// thread and read here without a lock. The workers, if any, live from the first evaluation
// of a node below the root until the search is destroyed.
class HexSearch : public GameTreeSearch {
public:
    // What the search needs of the computer player it works for.
    struct Owner {
        PathFinder& player1Paths; // direction 0, stone value 1
        PathFinder& player2Paths; // direction 1, stone value 2
        const std::atomic<bool>& stopped;
    };

    // The bytes one node takes on average (measured; see docs/benchmarks.md), and the memory
    // the tree and the cache may use: at most half of the machine's memory between them.
    static constexpr std::size_t bytesPerNode = 160;
    static std::size_t treeMemoryBudget();
    static std::size_t cacheMemoryBudget();

    HexSearch(std::int32_t budgetSeconds, std::unique_ptr<HexNode> root, Owner owner,
              MessageSink& sink, const Clock& clock = Clock::steady());
    ~HexSearch() override;

    // The threads to compute on, this one included (1: this one alone). Before the search
    // evaluates its first node below the root.
    void setThreads(int threads) { m_threads = threads < 1 ? 1 : threads; }
    // The cache of evaluations to use, one that outlives the search (the computer player
    // keeps one across its moves), or none when null. Without this call the search makes its
    // own. Before the search evaluates its first node below the root.
    void setCache(EvaluationCache* cache);

    HexNode& hexRoot() { return static_cast<HexNode&>(root()); }
    // The cache in use once a node below the root was evaluated; null before, or for none.
    const EvaluationCache* cache() const { return m_cache; }

    double evaluate(TreeNode& node) override;
    int expand(TreeNode& node) override;

    // The candidate moves of a node (duplicates included, in order), after the near-best
    // cut of the root's path lists; it makes no children and posts nothing.
    std::vector<Hex::Coord> candidateMoves(HexNode& node);

protected:
    bool evaluatesAhead() const override { return m_threads > 1; }
    void willNeed(const std::vector<TreeNode*>& nodes) override;

private:
    void ensurePlayer1Paths(HexNode& root);
    void ensurePlayer2Paths(HexNode& root);
    void ensureEvaluated(HexNode& node);
    void prepareEvaluations();
    std::vector<Hex::Coord> rootCandidates(HexNode& root);
    std::vector<Hex::Coord> evaluatedCandidates(const HexNode& node) const;
    void postRootPaths(HexNode& root);

    Owner m_owner;
    const std::uint32_t m_size;
    const ZobristKeys m_keys;
    std::unique_ptr<EvaluationCache> m_ownCache;
    EvaluationCache* m_cache = nullptr;
    bool m_cacheChosen = false;
    Weights m_weights{}; // the weights of every evaluation below the root
    int m_threads = 1;
    CandidateFinder m_candidates; // of the root
    std::unique_ptr<NodeEvaluator> m_evaluator;
    std::unique_ptr<EvaluationWorkers> m_workers; // stopped first, before the rest goes
};
