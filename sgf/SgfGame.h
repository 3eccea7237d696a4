#pragma once

#include "settings/GameRecord.h"

#include <optional>
#include <string>
#include <string_view>

// Hex games in the Smart Game Format as Hex programs exchange them:
//     (;FF[4]GM[11]SZ[11]AP[Quorlen:0.1.0];B[c5];W[swap-pieces];B[d4])
// Moves are B[...] for Black (Player 1) and W[...] for White, named as in HexNotation.
//
// Reading takes what other Hex programs write for a plain game: cells in any case, "swap"
// or "swap-pieces", game-information and other properties (ignored), and one resignation
// as the last move (not kept: a record holds only moves). It refuses, with a message that
// names the problem, what cannot be a record: setup stones (AB, AW, AE), variations, a game
// that is not Hex (GM other than 11), a board that is not square or larger than 30, an
// illegal move, and malformed text. Any bytes at all are read without a crash, in time
// linear in their length.
class SgfGame {
public:
    // Game information written into the root node when not empty.
    struct Info {
        std::string black;  // PB
        std::string white;  // PW
        std::string result; // RE, e.g. "B+" or "W+F"
    };

    struct Reading {
        std::optional<GameRecord> record;
        std::string error; // why there is no record
        std::string note;  // what was read but not kept
    };

    // The SGF text of a record whose moves form a legal game, one line and a line feed.
    static std::string write(const GameRecord& record, const Info& info = {});
    static Reading read(std::string_view text);
};
