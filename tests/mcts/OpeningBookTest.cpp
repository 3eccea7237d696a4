#include "mcts/OpeningBook.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The table covers every first stone of its boards, a half turn changes nothing, and it
// agrees with what is known of every board: the centre of an odd board wins, the acute corner
// loses. The first stone is near even (within two points of the nearest stone).
TEST(OpeningBookTest, CoversItsBoardsAndKnowsTheCentreAndTheCorner) {
    EXPECT_FALSE(OpeningBook::covers(6));
    EXPECT_FALSE(OpeningBook::covers(14));
    EXPECT_FALSE(OpeningBook::winRate(7, {7, 0}));
    for (std::uint32_t side = 7; side <= 13; ++side) {
        ASSERT_TRUE(OpeningBook::covers(side)) << side;
        const auto n = static_cast<std::int32_t>(side);
        double nearest = 1.0;
        for (std::int32_t row = 0; row < n; ++row) {
            for (std::int32_t col = 0; col < n; ++col) {
                const auto rate = OpeningBook::winRate(side, {row, col});
                ASSERT_TRUE(rate) << side << ": " << row << "," << col;
                EXPECT_EQ(rate, OpeningBook::winRate(side, {n - 1 - row, n - 1 - col}));
                nearest = std::min(nearest, std::abs(*rate - 0.5));
            }
        }
        if (n % 2 == 1) {
            EXPECT_EQ(OpeningBook::swaps(side, {n / 2, n / 2}), true) << side;
        }
        EXPECT_EQ(OpeningBook::swaps(side, {0, 0}), false) << side;
        const Hex::Coord first = *OpeningBook::firstStone(side);
        EXPECT_LE(std::abs(*OpeningBook::winRate(side, first) - 0.5), nearest + 0.02) << side;
    }
}

} // namespace
