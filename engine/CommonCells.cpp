#include "engine/CommonCells.h"

std::vector<Hex::Coord> commonCells(const Path& a, const Path& b) {
    std::vector<Hex::Coord> common;
    for (const Hex::Coord cell : a.cells) {
        for (const Hex::Coord other : b.cells) {
            if (cell == other) {
                common.push_back(cell);
            }
        }
    }
    return common;
}
