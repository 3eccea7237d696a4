#pragma once

#include "engine/Path.h"
#include "model/Coord.h"

#include <vector>

// The cells of path a that also lie on path b, in a's order; a cell of a is listed once for
// every time it occurs on b.
std::vector<Hex::Coord> commonCells(const Path& a, const Path& b);
