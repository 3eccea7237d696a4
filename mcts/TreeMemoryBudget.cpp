#include "mcts/TreeMemoryBudget.h"

#include <algorithm>

#include <unistd.h>

std::size_t TreeMemoryBudget::machineDefault() {
    constexpr std::size_t mebibyte = std::size_t{1} << 20;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const std::size_t physical =
        pages > 0 && pageSize > 0
            ? static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize)
            : 4096 * mebibyte; // unknown: assume a small machine
    return std::clamp(physical / 4, 64 * mebibyte, 4096 * mebibyte);
}

std::size_t TreeMemoryBudget::reserve(std::size_t wanted, std::size_t least) {
    std::size_t used = m_used.load(std::memory_order_relaxed);
    for (;;) {
        const std::size_t left = used < m_limit ? m_limit - used : 0;
        const std::size_t taken = std::min(wanted, left);
        if (taken < least || taken == 0) {
            return 0;
        }
        if (m_used.compare_exchange_weak(used, used + taken, std::memory_order_relaxed)) {
            return taken;
        }
    }
}
