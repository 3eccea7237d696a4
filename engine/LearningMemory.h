#pragma once

#include <array>
#include <cstdint>

// What a computer player remembers of its previous learning move in the current game.
struct LearningMemory {
    double previousValue = 0.0;
    std::array<std::int32_t, 4> previousSums{}; // feature sums, truncated toward zero
    bool havePrevious = false;
};
