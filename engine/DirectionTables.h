#pragma once

#include "model/Coord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// What a PathFinder needs that depends only on the board size and the player's direction,
// made once at construction. Cells are indexed row * N + col.
struct DirectionTables {
    // The neighbour offsets in the order every search tries them.
    static constexpr int neighbourOffsets[6][2] = {{-1, 0}, {-1, 1}, {0, -1},
                                                   {0, 1},  {1, -1}, {1, 0}};

    DirectionTables(std::uint32_t size, int direction);

    // The index of a difference (cell - stone) in the stone tables.
    std::size_t difference(int dRow, int dCol) const {
        return static_cast<std::size_t>((dRow + n - 1) * span + dCol + n - 1);
    }

    int n;
    int span; // 2N - 1 differences per coordinate

    // Per cell: 4.0 plus a quarter per step away from the line through the middle of the
    // board that runs in the player's own direction.
    std::vector<double> baseCost;
    // Per cell: its neighbours in the order of neighbourOffsets, -1 off the board.
    std::vector<std::array<std::int32_t, 6>> neighbours;
    std::vector<Hex::Coord> coords;
    std::vector<std::int32_t> along;

    // Per difference (cell - stone): the stone's weight w, 1.0 when the stone lies ahead of
    // or behind the cell in the player's own direction to within half a cell and 0.25 / d
    // otherwise; d² for the distance d; and the feature term w / d². The stone's own cell
    // has 0.0 for w and for the term.
    std::vector<double> stoneW;
    std::vector<double> stoneSquared;
    std::vector<double> stoneFeature;
};
