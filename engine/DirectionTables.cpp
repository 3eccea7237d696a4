#include "engine/DirectionTables.h"

#include "engine/HexDistance.h"

#include <cstdlib>

DirectionTables::DirectionTables(std::uint32_t size, int direction)
    : n(static_cast<int>(size)), span(size > 0 ? 2 * static_cast<int>(size) - 1 : 0) {
    const std::size_t cells = std::size_t{size} * size;
    baseCost.resize(cells);
    neighbours.resize(cells);
    coords.resize(cells);
    along.resize(cells);
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const std::size_t cell = static_cast<std::size_t>(row * n + col);
            const int alongHere = direction == 0 ? row : col;
            const int acrossHere = direction == 0 ? col : row;
            const int k = (n - alongHere) / 2 + n / 4 - acrossHere;
            baseCost[cell] = 4.0 + 0.25 * std::abs(k);
            coords[cell] = Hex::Coord{row, col};
            along[cell] = alongHere;
            for (std::size_t j = 0; j < 6; ++j) {
                const int r = row + neighbourOffsets[j][0];
                const int c = col + neighbourOffsets[j][1];
                const bool onBoard = r >= 0 && r < n && c >= 0 && c < n;
                neighbours[cell][j] = onBoard ? r * n + c : -1;
            }
        }
    }
    const std::size_t differences = static_cast<std::size_t>(span) * static_cast<std::size_t>(span);
    stoneW.assign(differences, 0.0);
    stoneSquared.assign(differences, 1.0);
    stoneFeature.assign(differences, 0.0);
    for (int dRow = 1 - n; dRow < n; ++dRow) {
        for (int dCol = 1 - n; dCol < n; ++dCol) {
            if (dRow == 0 && dCol == 0) {
                continue;
            }
            const std::size_t at = difference(dRow, dCol);
            const int d = hexDistance(0, 0, dRow, dCol);
            // Along and across of (stone - cell), that is of -(dRow, dCol).
            const int dAlong = -(direction == 0 ? dRow : dCol);
            const int dAcross = -(direction == 0 ? dCol : dRow);
            const double w = std::abs(dAlong + 2 * dAcross) <= 1 ? 1.0 : 0.25 / d;
            stoneW[at] = w;
            stoneSquared[at] = static_cast<double>(d * d);
            stoneFeature[at] = w / stoneSquared[at];
        }
    }
}
