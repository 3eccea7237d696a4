#pragma once

#include "platform/Clock.h"

#include <atomic>

// A clock that moves only when the test says so.
class FakeClock : public Clock {
public:
    std::int64_t nowSeconds() const override { return m_now.load(); }
    void advance(std::int64_t seconds) { m_now += seconds; }

private:
    std::atomic<std::int64_t> m_now{1'000'000};
};
