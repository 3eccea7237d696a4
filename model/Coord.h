#pragma once

#include <cstdint>

namespace Hex {

// A cell as (row, col), both from 0; row 0 is the top row. (-1, -1) is "no move", and in a
// move list (N, N) is the swap marker.
struct Coord {
    std::int32_t row = -1;
    std::int32_t col = -1;

    friend bool operator==(const Coord&, const Coord&) = default;
};

inline constexpr Coord noMove{-1, -1};

} // namespace Hex
