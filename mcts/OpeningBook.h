#pragma once

#include "model/Coord.h"

#include <cstdint>
#include <optional>

// The expert's first stone and swap decision on the boards its table covers (sides 7 to 13),
// where a move-time search is too short to judge the opening well. The table
// (OpeningBookTable.inc, made offline by tools/make-opening-book.sh) holds every first
// stone's win rate for Player 1 when it may not be swapped, by a long fixed search.
//
// Thread contract: none; the table is constant.
class OpeningBook {
public:
    static bool covers(std::uint32_t side);
    // Player 1's win rate with this first stone, unswapped; nullopt off the table.
    static std::optional<double> winRate(std::uint32_t side, Hex::Coord stone);
    // The first stone where the swap is offered: the one whose win rate is nearest to even,
    // so that the opponent gains least whether it swaps or not (the first such cell), unless
    // matches chose another stone near even for the board.
    static std::optional<Hex::Coord> firstStone(std::uint32_t side);
    // Whether to swap the opponent's first stone: it wins for its owner by the table.
    static std::optional<bool> swaps(std::uint32_t side, Hex::Coord stone);
};
