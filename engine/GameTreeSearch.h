#pragma once

#include "engine/TreeNode.h"
#include "platform/Clock.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class MessageSink;

// Iterative deepening over a stored game tree: every iteration grows the whole tree by one
// ply and runs a fail-hard alpha-beta over it, children in order of their cached static
// values, leaves whose value swings sharply searched one ply deeper. A budget of whole
// seconds bounds it, and so does a ceiling on the number of nodes.
//
// Only work that finished counts: a child whose search was cut short by the budget or a stop
// gives no value, and the root keeps the best move among the children searched to the end,
// else the previous iteration's move.
//
// Thread contract: run() on the game thread; stop() from any thread. Status texts and the
// root moves' values are posted to the sink as they come.
class GameTreeSearch {
public:
    // One finished iteration: its depth, the move it chose and the value it found.
    struct Iteration {
        int depth = 0;
        Hex::Coord move = Hex::noMove;
        double value = 0.0;
    };

    // Enough for a long think, far below the machine's memory; see HexSearch for the bytes
    // one node takes.
    static constexpr std::size_t defaultNodeLimit = 4'000'000;

    GameTreeSearch(std::int32_t budgetSeconds, std::unique_ptr<TreeNode> root, MessageSink& sink,
                   const Clock& clock = Clock::steady());
    virtual ~GameTreeSearch();
    GameTreeSearch(const GameTreeSearch&) = delete;
    GameTreeSearch& operator=(const GameTreeSearch&) = delete;

    // Searches until the budget is spent, the outcome is decided, or a stop. (row, col) hold
    // the move on return; they stay as passed ((-1, -1) from the computer player) when no
    // iteration produced one. Returns the value of the last completed iteration, 0.0 if none.
    double run(int& row, int& col);
    void stop() { m_stopFlag = true; }

    // When set, the status text names the best move so far.
    void setShowBest(bool showBest) { m_showBest = showBest; }
    void setNodeLimit(std::size_t nodeLimit) { m_nodeLimit = nodeLimit; }
    // Deepens to exactly `depth` iterations, without a time budget (the stop and the node
    // ceiling still end it). Every iteration is the one the time-bounded search makes at that
    // depth. 0 gives the time budget back.
    void setFixedDepth(int depth) { m_fixedDepth = depth; }
    // Told of every iteration that finished, on run()'s thread, while the tree is as that
    // iteration left it.
    void setIterationObserver(std::function<void(const Iteration&)> observer) {
        m_observer = std::move(observer);
    }

    TreeNode& root() { return *m_root; }
    int depth() const { return m_depth; }
    std::size_t nodeCount() const { return m_nodeCount; }
    std::uint64_t evaluationCount() const { return m_evaluations; }
    std::int32_t elapsed() const { return m_elapsed; }
    bool isStopped() const { return m_stopFlag.load(std::memory_order_relaxed); }

protected:
    // Appends the node's children (parent = node, the other node type, value 0.0, move = the
    // node's move, or the child's own move below the root); returns how many it made.
    virtual int expand(TreeNode& node) = 0;
    // The static value from Player 1's side; exactly +1.0 or -1.0 is a decided position.
    // Must not change the tree's shape.
    virtual double evaluate(TreeNode& node) = 0;

    MessageSink& sink() { return m_sink; }
    const std::atomic<bool>& stopFlag() const { return m_stopFlag; }

    // A search that evaluates nodes ahead, on other threads, is told of the nodes it is about
    // to evaluate or expand, in the order it will: every leaf before the tree grows, and the
    // children of a node before they are valued. It must not change what it returns for them.
    virtual bool evaluatesAhead() const { return false; }
    virtual void willNeed(const std::vector<TreeNode*>& nodes) { static_cast<void>(nodes); }

private:
    double alphaBeta(TreeNode& node, double alpha, double beta, int& row, int& col, int& counter);
    int expandLeaves(TreeNode& node);
    void announceLeaves();
    void announceUnvalued(const TreeNode& node);
    bool shouldExtend(TreeNode& node);
    int expandCounted(TreeNode& node);
    double evaluateCounted(TreeNode& node);
    void postStatus(int iteration, int row, int col);
    bool budgetSpent() const;
    bool mustBreakOff();
    bool mayDeepen(int iteration) const;
    void finished(int iteration, int row, int col, double value);

    const std::int32_t m_budget;
    std::int32_t m_elapsed = 0;
    std::int64_t m_start = 0;
    std::unique_ptr<TreeNode> m_root;
    std::atomic<bool> m_stopFlag{false};

    MessageSink& m_sink;
    const Clock& m_clock;
    bool m_showBest = false;
    std::size_t m_nodeLimit = defaultNodeLimit;
    int m_fixedDepth = 0;
    std::function<void(const Iteration&)> m_observer;

    // Set when the budget, a stop or the node ceiling broke off the current iteration.
    bool m_interrupted = false;
    int m_depth = 0;
    std::size_t m_nodeCount = 1;
    std::uint64_t m_evaluations = 0;
};
