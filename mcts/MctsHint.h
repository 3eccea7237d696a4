#pragma once

#include "engine/HintEngine.h"

#include <atomic>
#include <chrono>
#include <memory>

class TreeMemoryBudget;

// The expert player's Monte-Carlo search as a hint: the strongest built-in search, on the
// position as it stands, with the swap where the rules offer it. Its value is the found
// move's win rate for the side to move, mapped onto -1 (lost) to +1 (won).
//
// Thread contract: as HintEngine; the search polls the stop flag after every playout.
class MctsHint : public HintEngine {
public:
    // memory: the budget shared with the players' trees; the machine's default when null.
    explicit MctsHint(int threads, std::shared_ptr<TreeMemoryBudget> memory = nullptr);

    Hint find(const Position& position, std::chrono::seconds time) override;
    void stop() override;

private:
    int m_threads;
    std::shared_ptr<TreeMemoryBudget> m_memory;
    std::atomic<bool> m_stopped{false};
};
