#pragma once

#include "model/Board.h"

#include <string>
#include <string_view>

namespace Hex {

// Boards as text, one row a line, each row shifted right by its index so that the rhombus
// reads as it is drawn:
//     . X .
//      . O .
//       X . .
// '.' is empty, 'X' Player 1 (joins top and bottom), 'O' Player 2 (joins left and right).
std::string toText(const Board& board);

// Reads the form above; white space is ignored, so the shift is optional. Throws
// std::invalid_argument on another character or a wrong number of cells.
Board parseBoard(std::uint32_t size, std::string_view text);

} // namespace Hex
