#pragma once

#include "model/Coord.h"

#include <vector>

// An edge-to-edge chain of cells found on a cost map. Cells run from the goal edge back to
// the start edge; cost -1.0 with no cells means that no path was found.
struct Path {
    std::vector<Hex::Coord> cells;
    double cost = -1.0;

    friend bool operator==(const Path&, const Path&) = default;
};
