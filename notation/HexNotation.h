#pragma once

#include "model/Coord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The names that Hex engines, front ends and SGF files use, as opposed to the board's own
// display names (rows lettered, columns numbered) and the record's zero-based "row.col":
//  - a cell is its column letters then its row number from 1: "a1" is the top-left cell and
//    "c5" is row 4, column 2. Columns after z are aa, ab, ... Input is case-insensitive,
//    output lower case.
//  - the swap is "swap-pieces" ("swap" is read as the same); in a move list it is the swap
//    marker (N, N).
//  - Black is Player 1 (joins top and bottom) and moves first; White is Player 2.
class HexNotation {
public:
    static constexpr std::string_view swapPieces = "swap-pieces";

    static std::string columnName(int col);
    static std::string cellName(Hex::Coord cell);
    // The cell of a name on a board of side size; nullopt for anything else.
    static std::optional<Hex::Coord> parseCell(std::string_view text, std::uint32_t size);

    // A move of a move list: a cell, or "swap-pieces" for the swap marker.
    static std::string moveName(Hex::Coord move, std::uint32_t size);
    static std::optional<Hex::Coord> parseMove(std::string_view text, std::uint32_t size);

    // 1 for "b" or "black", 2 for "w" or "white", in any case; nullopt otherwise.
    static std::optional<int> parseColour(std::string_view text);
    static std::string_view colourName(int side);

    static Hex::Coord swapMarker(std::uint32_t size);
};
