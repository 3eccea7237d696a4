#pragma once

#include "engine/Path.h"

#include <vector>

// The value of a position from Player 1's side, in [-1, 1], from both players' path lists
// (cheapest first): (b² - a²) / (a² + b²) for cheapest costs a (Player 1) and b (Player 2).
// A side with no path has lost and a side whose cheapest path costs 0.0 has won: exactly
// -1.0 or +1.0.
double positionValue(const std::vector<Path>& player1Paths, const std::vector<Path>& player2Paths);
