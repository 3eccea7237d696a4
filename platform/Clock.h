#pragma once

#include <cstdint>

// A source of whole seconds for clocks and time budgets. Players and searches take one by
// reference so that tests can substitute a clock they move by hand.
class Clock {
public:
    virtual ~Clock() = default;

    // Seconds since an arbitrary fixed point; never goes backwards.
    virtual std::int64_t nowSeconds() const = 0;

    // The process-wide steady clock: durations measured with it are immune to wall-clock
    // jumps. It has no state, so sharing it is harmless.
    static const Clock& steady();
};
