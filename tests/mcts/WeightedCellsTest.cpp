#include "mcts/WeightedCells.h"
#include "model/BoardText.h"
#include "tactics/PatternPrior.h"
#include "tactics/PlayoutPatterns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The weight the table gives the cell's pattern read afresh from the board.
std::uint32_t freshWeight(const PlayoutPatterns& patterns, const PlayoutBoard& board, int cell,
                          int player) {
    if (board.at(cell) != PlayoutBoard::empty) {
        return 0;
    }
    const std::uint64_t code = PatternPrior::code(board, cell, player);
    return patterns.weight(
        static_cast<std::uint32_t>(PatternPrior::innerIndex(code & PatternPrior::innerMask)));
}

// Stones placed one by one, edges and corners included, leave every cell's weight for both
// players what a fresh reading of its pattern gives.
TEST(WeightedCellsTest, PlacedStonesReweighTheirNeighboursAsAFreshReading) {
    const PlayoutPatterns patterns;
    PlayoutBoard board(Hex::parseBoard(6, ". . . . . X  . . X O . .  . . . X . .  "
                                          ". O . . . .  . . . . . .  X . . . . O"));
    WeightedCells cells;
    cells.reset(board, patterns);
    FastRandom random(7);
    for (int placed = 0;; ++placed) {
        for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
            if (board.coord(cell).col >= board.size()) {
                continue; // the ring between rows
            }
            for (int player = 1; player <= 2; ++player) {
                ASSERT_EQ(cells.weight(cell, player), freshWeight(patterns, board, cell, player))
                    << "cell " << cell << " player " << player << " after " << placed;
            }
        }
        if (placed == 27) {
            break; // the board is full
        }
        cells.place(board, cells.draw(random, 1 + placed % 2), 1 + (placed / 3) % 2);
    }
}

// Draws fall on empty cells only, each about as often as its share of the weight.
TEST(WeightedCellsTest, DrawsFollowTheWeights) {
    const PlayoutPatterns patterns;
    const PlayoutBoard board(Hex::parseBoard(4, ". X . .  . . O .  X . . .  . . . O"));
    WeightedCells cells;
    cells.reset(board, patterns);
    FastRandom random(3);
    constexpr int draws = 40000;
    std::vector<int> counts(PlayoutBoard::maxCells, 0);
    for (int i = 0; i < draws; ++i) {
        ++counts[static_cast<std::size_t>(cells.draw(random, 2))];
    }
    double total = 0.0;
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        total += cells.weight(cell, 2);
    }
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (cells.weight(cell, 2) == 0) {
            EXPECT_EQ(counts[static_cast<std::size_t>(cell)], 0) << "cell " << cell;
            continue; // a stone or the ring
        }
        const double share = cells.weight(cell, 2) / total;
        const double expected = draws * share;
        const double spread = std::sqrt(draws * share * (1.0 - share));
        EXPECT_LE(std::abs(counts[static_cast<std::size_t>(cell)] - expected), 5.0 * spread)
            << "cell " << cell;
    }
}

} // namespace
