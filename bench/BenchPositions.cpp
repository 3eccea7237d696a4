#include "bench/BenchPositions.h"

#include <random>
#include <utility>
#include <vector>

Hex::Board benchPosition(std::uint32_t size, double fill) {
    // mt19937's sequence is fixed by the standard; the shuffle below uses it directly so that
    // no library's distribution changes the positions.
    std::mt19937 random(20240601u + size);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> cells;
    for (std::uint32_t row = 0; row < size; ++row) {
        for (std::uint32_t col = 0; col < size; ++col) {
            cells.emplace_back(row, col);
        }
    }
    for (std::size_t i = cells.size(); i > 1; --i) {
        std::swap(cells[i - 1], cells[random() % i]);
    }
    Hex::Board board(size);
    const auto wanted = static_cast<std::size_t>(fill * static_cast<double>(cells.size()));
    std::size_t placed = 0;
    for (const auto& [row, col] : cells) {
        if (placed == wanted) {
            break;
        }
        const int stone = placed % 2 == 0 ? 1 : 2;
        board.cell(row, col, stone);
        if (!board.shortestConnection(stone, stone - 1).empty()) {
            board.cell(row, col, 0); // keep the position undecided
            continue;
        }
        ++placed;
    }
    return board;
}
