#pragma once

#include <atomic>
#include <cstddef>

// The memory that Monte-Carlo trees may take together: one budget for everything that
// searches at once (the players of a game and a hint), so that two players and a hint never
// take more than one search would. Trees reserve their chunks from it and give them back when
// they shrink or go.
//
// Thread contract: every method from any thread; the count is one atomic.
class TreeMemoryBudget {
public:
    explicit TreeMemoryBudget(std::size_t limitBytes) : m_limit(limitBytes) {}
    virtual ~TreeMemoryBudget() = default;
    TreeMemoryBudget(const TreeMemoryBudget&) = delete;
    TreeMemoryBudget& operator=(const TreeMemoryBudget&) = delete;

    // A quarter of the machine's memory, at most 4 GiB and at least 64 MiB: the trees of a
    // long think use what they get, and the window and the other programs keep the rest.
    static std::size_t machineDefault();

    // Takes up to `wanted` bytes, but not fewer than `least`; returns what it took, 0 when
    // not even `least` is left. A tree may throw std::bad_alloc from here when the system
    // refuses memory (tests stand in for that by overriding it).
    virtual std::size_t reserve(std::size_t wanted, std::size_t least);
    // Takes `bytes` whatever the budget holds: the few nodes every search needs to have a
    // move at all.
    void force(std::size_t bytes) { m_used.fetch_add(bytes, std::memory_order_relaxed); }
    void release(std::size_t bytes) { m_used.fetch_sub(bytes, std::memory_order_relaxed); }

    std::size_t limit() const { return m_limit; }
    std::size_t used() const { return m_used.load(std::memory_order_relaxed); }

private:
    const std::size_t m_limit;
    std::atomic<std::size_t> m_used{0};
};
