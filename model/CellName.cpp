#include "model/CellName.h"

namespace Hex {

std::string rowName(int row) {
    std::string name;
    if (row >= 26) {
        name += static_cast<char>(64 + row / 26);
    }
    name += static_cast<char>(65 + row % 26);
    return name;
}

std::string cellName(Coord cell) {
    return rowName(cell.row) + std::to_string(cell.col + 1);
}

} // namespace Hex
