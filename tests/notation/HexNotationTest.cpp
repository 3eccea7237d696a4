#include "notation/HexNotation.h"

#include "model/CellName.h"
#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Hex::Coord;

TEST(HexNotation, CellsAreColumnLettersThenRowNumbers) {
    EXPECT_EQ(HexNotation::cellName({0, 0}), "a1");
    EXPECT_EQ(HexNotation::cellName({4, 2}), "c5"); // row 4, column 2
    EXPECT_EQ(HexNotation::cellName({10, 25}), "z11");
    EXPECT_EQ(HexNotation::cellName({0, 26}), "aa1");
    EXPECT_EQ(HexNotation::cellName({29, 29}), "ad30");
    EXPECT_EQ(HexNotation::parseCell("C5", 11), (Coord{4, 2}));
    EXPECT_EQ(HexNotation::parseCell("Ab3", 30), (Coord{2, 27}));
    // The board's own display name letters the rows instead.
    EXPECT_EQ(Hex::cellName({4, 2}), "E3");
}

class EveryCell : public testing::TestWithParam<std::uint32_t> {};

TEST_P(EveryCell, NamesReadBackToTheirCells) {
    const std::uint32_t n = GetParam();
    for (int row = 0; row < static_cast<int>(n); ++row) {
        for (int col = 0; col < static_cast<int>(n); ++col) {
            const Coord cell{row, col};
            const std::string name = HexNotation::cellName(cell);
            ASSERT_EQ(HexNotation::parseCell(name, n), cell) << name;
            ASSERT_EQ(HexNotation::parseMove(name, n), cell) << name;
        }
    }
    // One past the last column and the last row is off the board.
    EXPECT_EQ(HexNotation::parseCell(HexNotation::cellName({0, static_cast<int>(n)}), n),
              std::nullopt);
    EXPECT_EQ(HexNotation::parseCell(HexNotation::cellName({static_cast<int>(n), 0}), n),
              std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Sizes, EveryCell, testing::Range(3u, 31u));

TEST(HexNotation, MalformedNamesAreRefused) {
    for (const char* text : {"", "a", "5", "a0", "a05", "5a", "a1x", " a1", "a1 ", "a-1", "aaaa1",
                             "a1000", "é1", "a+1", "swap-sides", "pass", "resign"}) {
        EXPECT_EQ(HexNotation::parseMove(text, 30), std::nullopt) << text;
    }
}

TEST(HexNotation, ColoursAreBlackForPlayerOneAndWhiteForPlayerTwo) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"b", 1},   {"B", 1},  {"black", 1}, {"Black", 1},   {"BLACK", 1},
        {"w", 2},   {"W", 2},  {"white", 2}, {"White", 2},   {"", {}},
        {"bl", {}}, {"x", {}}, {"1", {}},    {"blackk", {}},
    };
    for (const auto& [text, colour] : cases) {
        EXPECT_EQ(HexNotation::parseColour(text), colour) << text;
    }
    EXPECT_EQ(HexNotation::colourName(1), "black");
    EXPECT_EQ(HexNotation::colourName(2), "white");
}

} // namespace
