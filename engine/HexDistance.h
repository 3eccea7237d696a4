#pragma once

#include <cstdlib>

// The number of steps between two cells on the six-neighbour grid. Stepping to (r-1, c+1) or
// (r+1, c-1) moves one row and one column at once, so a difference whose row and column parts
// have opposite signs is covered diagonally; any other difference is walked part by part.
constexpr int hexDistance(int r1, int c1, int r2, int c2) {
    const int dr = r1 - r2;
    const int dc = c1 - c2;
    const int absRow = dr < 0 ? -dr : dr;
    const int absCol = dc < 0 ? -dc : dc;
    const bool oppositeSigns = (dr < 0 && dc > 0) || (dr > 0 && dc < 0);
    if (oppositeSigns) {
        return absRow > absCol ? absRow : absCol;
    }
    return absRow + absCol;
}
