#pragma once

#include "model/Board.h"

#include <cstdint>

// A position of the given size with about `fill` of its cells taken, the players
// alternating, and no winner yet: the kind of position the search evaluates most. The same
// size and fill always give the same position.
Hex::Board benchPosition(std::uint32_t size, double fill);
