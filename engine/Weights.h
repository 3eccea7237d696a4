#pragma once

#include <array>

// The four learned weights of the cell cost map, indexed like a cell's features:
// 0 own-stone proximity, 1 opposing-stone proximity, 2 own bridge count,
// 3 opposing bridge count.
using Weights = std::array<double, 4>;

inline constexpr Weights defaultWeights{-3.076, 3.801, -5.553, 7.072};
