#pragma once

#include "engine/Path.h"
#include "model/Coord.h"

#include <ostream>

// Readable failure messages for cells and paths.
namespace Hex {
inline void PrintTo(const Coord& cell, std::ostream* out) {
    *out << '(' << cell.row << ", " << cell.col << ')';
}
} // namespace Hex

inline void PrintTo(const Path& path, std::ostream* out) {
    *out << "{cost " << path.cost << ':';
    for (const Hex::Coord cell : path.cells) {
        *out << ' ';
        Hex::PrintTo(cell, out);
    }
    *out << '}';
}
