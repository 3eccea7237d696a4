#pragma once

#include "model/Board.h"
#include "model/Coord.h"
#include "settings/GameRecord.h"
#include "sgf/GameVariation.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Hex games in the Smart Game Format as Hex programs exchange them:
//     (;FF[4]GM[11]SZ[11]AP[Quorlen:0.1.0];B[c5];W[swap-pieces];B[d4])
// Moves are B[...] for Black (Player 1) and W[...] for White, named as in HexNotation.
// Writing always gives a plain game with the swap as a piece swap.
//
// Reading takes what Hex programs write:
//  - plain games: cells in any case, game information and other properties (kept: PB, PW
//    and RE; the rest ignored), and one resignation as the last move (not kept: a record
//    holds only moves);
//  - the swap as swap-pieces, swap or swap-sides, in any case. When the move after it is by
//    the swapping colour again, the file records a swap of sides (the players change
//    colours, the stone stays) and is turned into the piece swap: every later move is
//    mirrored (row and column exchanged) and played by the other colour, which is the same
//    game between the same players; RE's colour is exchanged with them;
//  - setup positions (AB, AW, AE and PL before the first move; see SgfSetup): the position
//    as it stands, and the game of its stones when a game reaches them;
//  - game trees: the main line, the first variation at every branch (see SgfTree), is the
//    game. Every other line that leaves the main line is also read, as a variation of a
//    plain game (no setup, no swap of sides), when its moves follow the rules from its
//    branch point; the others are left out.
// It refuses, naming the problem, what cannot be read: a game that is not Hex (GM other than
// 11), a board that is not square or larger than 30, setup stones after a move, an illegal
// move, and malformed text. Any bytes at all are read without a crash, in time linear in
// their length.
class SgfGame {
public:
    // Game information: written into the root node when not empty, read from it.
    struct Info {
        std::string black;  // PB
        std::string white;  // PW
        std::string result; // RE, e.g. "B+" or "W+F"
    };

    // A position set up with stones, and the moves after them placed as they stand: what
    // an analysis of the file looks at, also when no game reaches it.
    struct Setup {
        Hex::Board board{1};
        int toMove = 0; // 1 Black, 2 White; 0 when neither PL, a move nor the counts tell
        Hex::Coord lastMove = Hex::noMove; // the last move after the setup, if any
        std::vector<std::string> notes;    // as Reading's, for the position
    };

    struct Reading {
        std::optional<GameRecord> record;
        std::string error;              // why there is no record
        std::vector<std::string> notes; // what was read in a way worth telling, or not kept
        Info info;
        // Present when the file sets up stones, also when it holds no game.
        std::optional<Setup> setup;
        // How many of the record's first moves place the setup stones.
        std::size_t setupMoves = 0;
        // The lines that leave the game, by branch point (in the file's order at each); a
        // line that could not be read as one is left out and sets variationsLeftOut.
        std::vector<GameVariation> variations;
        bool variationsLeftOut = false;
    };

    // The note of a file with variations: what reading only the game leaves out.
    static constexpr std::string_view variationsNote =
        "the file holds variations: only its main line (the first variation at every branch) "
        "is read";

    // The SGF text of a record whose moves form a legal game, one line and a line feed.
    // moveProperties, when given, holds one entry per move: properties written into that
    // move's node after the move, e.g. "C[a comment]". Each variation (legal moves from its
    // branch point, which is at most the game's length) becomes a branch after the game's
    // line: the game's continuation is the first variation there, an empty node when the
    // game has ended.
    static std::string write(const GameRecord& record, const Info& info = {},
                             const std::vector<std::string>& moveProperties = {},
                             const std::vector<GameVariation>& variations = {});
    static Reading read(std::string_view text);
};
