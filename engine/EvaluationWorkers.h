#pragma once

#include "engine/Weights.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class EvaluationCache;
class HexNode;
class NodeEvaluator;
class ZobristKeys;

// Threads that evaluate the search's nodes ahead of the search: the search posts the nodes it
// will need next, in the order it will need them, and the workers take them from the front.
// A node is evaluated by whichever thread claims it first, the search's own included, so
// every value is the one the search would have made itself. Nothing is taken once the stop
// flag is set.
//
// Thread contract: post(), helpWithOne() and the destructor on the search's thread; the
// workers touch only the nodes they claim. The destructor drops what is still queued and
// joins the workers, each of which finishes at most the node it is evaluating.
class EvaluationWorkers {
public:
    // `weights` must outlive the workers and stay unchanged; `cache` may be null.
    EvaluationWorkers(int count, std::uint32_t size, const Weights& weights,
                      const ZobristKeys& keys, EvaluationCache* cache,
                      const std::atomic<bool>& stopFlag);
    ~EvaluationWorkers();
    EvaluationWorkers(const EvaluationWorkers&) = delete;
    EvaluationWorkers& operator=(const EvaluationWorkers&) = delete;

    void post(const std::vector<HexNode*>& nodes);
    // Evaluates the next queued node that nobody has claimed, with the caller's evaluator;
    // false when none is queued.
    bool helpWithOne(NodeEvaluator& evaluator);

private:
    struct Worker;

    HexNode* next(bool wait);
    void awaitWork() const;
    void work(Worker& worker);

    const std::atomic<bool>& m_stopFlag;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<HexNode*> m_queue;
    bool m_closing = false;
    // Copies of the queue's size and of the closing mark, watched without the lock.
    std::atomic<std::size_t> m_queued{0};
    std::atomic<bool> m_closingSoon{false};
    std::vector<std::unique_ptr<Worker>> m_workers;
    std::vector<std::thread> m_threads;
};
