#pragma once

#include "model/Coord.h"

#include <string>

namespace Hex {

// Cell names as the board shows them: rows lettered from the top (A to Z, then AA, AB, ...),
// columns numbered from 1 at the left. Row 2, column 4 is "C5".
std::string rowName(int row);
std::string cellName(Coord cell);

} // namespace Hex
