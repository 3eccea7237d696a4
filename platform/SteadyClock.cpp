#include "platform/SteadyClock.h"

#include <chrono>

std::int64_t SteadyClock::nowSeconds() const {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(now).count();
}

const Clock& Clock::steady() {
    static const SteadyClock clock;
    return clock;
}
