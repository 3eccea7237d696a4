#pragma once

#include <cstdint>

// The seven display colours, each a 24-bit value with red in the low byte, then green, then
// blue, as the settings store them.
struct BoardColors {
    std::int32_t back = 10518624;
    std::int32_t cell = 8421504;
    std::int32_t selection = 12632256;
    std::int32_t border = 0;
    std::int32_t p1 = 16777215;
    std::int32_t p2 = 0;
    std::int32_t path = 255;

    friend bool operator==(const BoardColors&, const BoardColors&) = default;
};
