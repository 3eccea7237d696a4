#include "engine/EvaluationWorkers.h"

#include "engine/HexNode.h"
#include "engine/NodeEvaluator.h"
#include "engine/PathFinder.h"

#include <chrono>

struct EvaluationWorkers::Worker {
    Worker(std::uint32_t size, const Weights& weights, const ZobristKeys& keys,
           EvaluationCache* cache)
        : player1(size, 0, 1), player2(size, 1, 2), evaluator(player1, player2, keys, cache) {
        player1.setWeights(&weights);
        player2.setWeights(&weights);
    }

    PathFinder player1;
    PathFinder player2;
    NodeEvaluator evaluator;
};

EvaluationWorkers::EvaluationWorkers(int count, std::uint32_t size, const Weights& weights,
                                     const ZobristKeys& keys, EvaluationCache* cache,
                                     const std::atomic<bool>& stopFlag)
    : m_stopFlag(stopFlag) {
    for (int i = 0; i < count; ++i) {
        m_workers.push_back(std::make_unique<Worker>(size, weights, keys, cache));
    }
    for (const auto& worker : m_workers) {
        m_threads.emplace_back(&EvaluationWorkers::work, this, std::ref(*worker));
    }
}

EvaluationWorkers::~EvaluationWorkers() {
    {
        std::lock_guard lock(m_lock);
        m_closing = true;
        m_closingSoon = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads) {
        thread.join();
    }
}

void EvaluationWorkers::post(const std::vector<HexNode*>& nodes) {
    {
        std::lock_guard lock(m_lock);
        m_queue.insert(m_queue.end(), nodes.begin(), nodes.end());
        m_queued.store(m_queue.size(), std::memory_order_relaxed);
    }
    m_wake.notify_all();
}

bool EvaluationWorkers::helpWithOne(NodeEvaluator& evaluator) {
    for (HexNode* node = next(false); node != nullptr; node = next(false)) {
        if (node->tryClaim()) {
            try {
                evaluator.evaluate(*node);
            } catch (...) {
                node->abandonClaim();
                throw;
            }
            return true;
        }
    }
    return false;
}

// The front of the queue, or null when it is empty (and, when waiting, the workers close).
// Once the search is stopped the queue is dropped.
HexNode* EvaluationWorkers::next(bool wait) {
    if (wait) {
        awaitWork();
    }
    std::unique_lock lock(m_lock);
    if (wait) {
        m_wake.wait(lock, [this] { return m_closing || !m_queue.empty(); });
    }
    if (m_stopFlag.load(std::memory_order_relaxed)) {
        m_queue.clear();
        m_queued.store(0, std::memory_order_relaxed);
    }
    if (m_closing || m_queue.empty()) {
        return nullptr;
    }
    HexNode* node = m_queue.front();
    m_queue.pop_front();
    m_queued.store(m_queue.size(), std::memory_order_relaxed);
    return node;
}

// The search posts a few nodes at every node it visits: a worker that has just run dry keeps
// watching for a while before it sleeps, so that it is there when the next ones come rather
// than woken (late, on a busy machine) when the search has done them itself.
void EvaluationWorkers::awaitWork() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(500);
    while (m_queued.load(std::memory_order_relaxed) == 0 &&
           !m_closingSoon.load(std::memory_order_relaxed) &&
           std::chrono::steady_clock::now() < until) {
        std::this_thread::yield();
    }
}

void EvaluationWorkers::work(Worker& worker) {
    for (;;) {
        HexNode* node = next(true);
        if (node == nullptr) {
            std::lock_guard lock(m_lock);
            if (m_closing) {
                return;
            }
            continue; // the queue was dropped on a stop
        }
        if (node->tryClaim()) {
            try {
                worker.evaluator.evaluate(*node);
            } catch (...) {
                node->abandonClaim(); // the search evaluates it itself, and meets the failure
            }
        }
    }
}
