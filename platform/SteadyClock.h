#pragma once

#include "platform/Clock.h"

// Whole seconds of std::chrono::steady_clock.
class SteadyClock final : public Clock {
public:
    std::int64_t nowSeconds() const override;
};
