#include "sgf/SgfGame.h"

#include "model/BoardText.h"
#include "notation/GamePosition.h"
#include "notation/ProgramVersion.h"
#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

namespace {

using Hex::Coord;

const std::string version(programVersion);

TEST(SgfGame, WritesTheRootPropertiesThenOneNodeAMove) {
    const GameRecord record{11, {{4, 2}, {11, 11}, {3, 3}}};
    EXPECT_EQ(SgfGame::write(record),
              "(;FF[4]GM[11]SZ[11]AP[Quorlen:" + version + "];B[c5];W[swap-pieces];B[d4])\n");
    EXPECT_EQ(SgfGame::write(GameRecord{3, {}}, {"Quorl", "my]engine\\", "W+F"}),
              "(;FF[4]GM[11]SZ[3]AP[Quorlen:" + version +
                  "]PB[Quorl]PW[my\\]engine\\\\]RE[W+F])\n");
}

TEST(SgfGame, ReadsWhatOtherHexProgramsWriteForAPlainGame) {
    const std::string text = "\xEF\xBB\xBF  (;FF[4]AP[HexGui:0.9]GM[11]SZ[11]\n"
                             "PB[someone]PW[some\\]one]RE[B+]C[a comment\\\nover two lines]\n"
                             ";B[C5]C[first];W[swap]\n;B[d4];W[E7]LB[a1:x])\n";
    const SgfGame::Reading reading = SgfGame::read(text);
    ASSERT_TRUE(reading.record) << reading.error;
    EXPECT_EQ(reading.record->size, 11u);
    EXPECT_EQ(reading.record->moves, (std::vector<Coord>{{4, 2}, {11, 11}, {3, 3}, {6, 4}}));
    EXPECT_EQ(reading.notes, std::vector<std::string>{});
    EXPECT_EQ(reading.info.black, "someone");
    EXPECT_EQ(reading.info.white, "some]one");
    EXPECT_EQ(reading.info.result, "B+");
    EXPECT_FALSE(reading.setup);
}

TEST(SgfGame, ARefusedFileNamesTheProblem) {
    const std::pair<const char*, const char*> cases[] = {
        {"(;SZ[5];B[a1];AW[b2])", "setup stones (AW) from the first move on are not supported"},
        {"(;SZ[5]AB[a1][f1])", "AB[f1]: not a cell of a board of size 5"},
        {"(;SZ[5]AB[a1]PL[x])", "PL[x] is not a colour (B or W)"},
        {"(;SZ[5]AB[c3];W[swap])", "move 1 (W[swap]): a swap after setup stones is not supported"},
        {"(;SZ[5]AB[c3];W[c3])", "move 1 (W[c3]): cell c3 is occupied"},
        {"(;SZ[5]AB[c3]PL[B];W[a1])", "move 1 (W[a1]): black is to move"},
        {"(;SZ[5];B[a1]()(;W[b2]))", "a variation has no node"},
        {"(;SZ[5](;B[a1]);W[b2])", "unexpected ';' at byte 16"},
        {"(;SZ[11:13];B[a1])", "SZ[11:13]: boards that are not square are not supported"},
        {"(;SZ[31])", "SZ[31]: board sizes are 1 to 30"},
        {"(;SZ[99999999999999999999])", "SZ[99999999999999999999] is not a board size"},
        {"(;GM[1]SZ[19];B[pd])", "not a Hex game: GM[1] (Hex is GM[11])"},
        {"(;FF[4]GM[11];B[a1])", "the game names no board size (SZ)"},
        {"(;SZ[5];B[a1];SZ[5])", "SZ may only stand in the first node"},
        {"", "not an SGF game: it does not start with '('"},
        {"(;SZ[5];B[a1]", "the game is not closed with ')'"},
        {"(;SZ[5];B[a1", "a property value is not closed with ']'"},
        {"(;SZ[5];B)", "property B has no value"},
        {"(SZ[5])", "unexpected 'S' at byte 2"},
        {"(;SZ[5]\x01)", "unexpected '\\x01' at byte 8"},
        {"()", "the game has no node"},
        {"(;SZ[5])(;SZ[5])", "the file holds more than one game"},
        {"(;SZ[5]) trailing", "unexpected text after the game"},
        {"(;SZ[5];B[a1]W[b2])", "a node holds both a Black and a White move"},
        {"(;SZ[5];B[a1][b2])", "B holds more than one move"},
        {"(;SZ[5];W[a1])", "move 1 (W[a1]): black is to move"},
        {"(;SZ[5];B[a1];W[b1];B[swap])",
         "move 3 (B[swap]): swap-pieces is only allowed as the second move"},
        {"(;SZ[5];B[a1];W[swap-sides];B[c3])",
         "move 3 (B[c3]): after swap-sides White moves again"},
        {"(;SZ[5];B[b1];W[swap];W[a2];B[b1])",
         "move 4 (B[b1], read as W[a2]): cell a2 is occupied"},
        {"(;SZ[5];B[])", "move 1 (B[]): not a cell of a board of size 5"},
        {"(;SZ[5];B[a1];W[resign];B[b2])", "move 2 (W[resign]): moves follow a resignation"},
        {"(;SZ[5];B[aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa])",
         "move 1 (B[aaaaaaaaaaaaaaaaaaaa...]): not a cell of a board of size 5"}};
    for (const auto& [sgf, error] : cases) {
        const SgfGame::Reading reading = SgfGame::read(sgf);
        EXPECT_FALSE(reading.record) << sgf;
        EXPECT_EQ(reading.error, error) << sgf;
    }
}

using Moves = std::vector<Coord>;

// Files that are read in a way worth a note: the record, the result and the notes.
struct Noted {
    const char* sgf;
    Moves moves;
    const char* result;
    std::vector<std::string> notes;
};

const std::string swapOfSides = "the swap is read as a swap of sides, since White moves again "
                                "after it: it becomes a piece swap, and every later move is "
                                "mirrored and played by the other colour";
const std::string variations =
    "the file holds variations: only its main line (the first variation at every branch) is read";

TEST(SgfGame, ANotedFileGivesTheGameAndSaysHowItWasRead) {
    const Noted cases[] = {
        // A swap of sides in each spelling: every move after the swap is mirrored and changes
        // colour, and so does the result.
        {"(;SZ[5]RE[B+];B[b1];W[swap-pieces];W[c3];B[d2])",
         {{0, 1}, {5, 5}, {2, 2}, {3, 1}},
         "W+",
         {swapOfSides}},
        {"(;SZ[5]RE[w+R];B[b1];W[SWAP];W[d2];B[resign])",
         {{0, 1}, {5, 5}, {3, 1}},
         "b+R",
         {swapOfSides, "White's resignation at the end is not kept"}},
        {"(;SZ[5];B[b1];W[swap-sides];W[a1])", {{0, 1}, {5, 5}, {0, 0}}, "", {swapOfSides}},
        // A piece swap keeps its moves, and a swap at the end is one whichever it means.
        {"(;SZ[5]RE[B+];B[b1];W[SWAP];B[c3])", {{0, 1}, {5, 5}, {2, 2}}, "B+", {}},
        {"(;SZ[5];B[b1];W[swap-sides])", {{0, 1}, {5, 5}}, "", {}},
        // Game trees: the first variation at every branch.
        {"(;SZ[4];B[a1](;W[b2];B[c3](;W[d4])(;W[a4]))(;W[c2]))",
         {{0, 0}, {1, 1}, {2, 2}, {3, 3}},
         "",
         {variations}},
        {"(;SZ[4](;B[a1](;W[b2])))", {{0, 0}, {1, 1}}, "", {}}};
    for (const Noted& each : cases) {
        const SgfGame::Reading reading = SgfGame::read(each.sgf);
        ASSERT_TRUE(reading.record) << each.sgf << ": " << reading.error;
        EXPECT_EQ(reading.record->moves, each.moves) << each.sgf;
        EXPECT_EQ(reading.info.result, each.result) << each.sgf;
        EXPECT_EQ(reading.notes, each.notes) << each.sgf;
    }
}

// The game's line comes first at every branch point, an empty node where the game has
// ended; the variations come back by branch point.
TEST(SgfGame, VariationsAreWrittenAsBranchesAndReadBack) {
    const GameRecord game{4, {{0, 0}, {1, 1}, {2, 2}}};
    const std::vector<GameVariation> lines = {
        {0, {{3, 3}}}, {1, {{1, 2}, {3, 0}}}, {1, {{0, 3}}}, {3, {{3, 3}}}};
    const std::string text = SgfGame::write(game, {}, {}, lines);
    EXPECT_EQ(text, "(;FF[4]GM[11]SZ[4]AP[Quorlen:" + version +
                        "](;B[a1](;W[b2];B[c3](;)(;W[d4]))(;W[c2];B[a4])(;W[d1]))(;B[d4]))\n");
    const SgfGame::Reading reading = SgfGame::read(text);
    ASSERT_TRUE(reading.record) << reading.error;
    EXPECT_EQ(reading.record->moves, game.moves);
    EXPECT_EQ(reading.variations, lines);
    EXPECT_FALSE(reading.variationsLeftOut);
}

// Other programs' trees: every line that leaves the main line and follows the rules from
// there; branches of branches, illegal lines and those of a game read as a swap of sides are
// left out.
TEST(SgfGame, OtherProgramsBranchesAreReadAsVariationsWhereTheyCanBe) {
    struct Case {
        const char* sgf;
        std::vector<GameVariation> variations;
        bool leftOut;
    };
    const Case cases[] = {
        {"(;SZ[4];B[a1](;W[b2];B[c3](;W[d4])(;W[A4]C[x]))(;W[c2]))",
         {{1, {{1, 2}}}, {3, {{3, 0}}}},
         false},
        {"(;SZ[4];B[a1](;W[b2])(;W[swap];B[c3];W[resign]))", {{1, {{4, 4}, {2, 2}}}}, false},
        {"(;SZ[4];B[a1](;W[b2])(;C[no move]))", {}, false},
        {"(;SZ[4];B[a1](;W[b2])(;W[a1])(;B[c3]))", {}, true},
        {"(;SZ[4];B[a1](;W[b2])(;W[c2](;B[c3])(;B[d3])))", {{1, {{1, 2}, {2, 2}}}}, true},
        {"(;SZ[5];B[b1](;W[swap];W[c3])(;W[a1]))", {}, true}};
    for (const Case& each : cases) {
        const SgfGame::Reading reading = SgfGame::read(each.sgf);
        ASSERT_TRUE(reading.record) << each.sgf << ": " << reading.error;
        EXPECT_EQ(reading.variations, each.variations) << each.sgf;
        EXPECT_EQ(reading.variationsLeftOut, each.leftOut) << each.sgf;
    }
}

TEST(SgfGame, ASwapOfSidesWonByTheSwappingPlayerIsWonByThemAfterTheConversion) {
    // Black's b1 is swapped; the swapping player then plays Black, keeps b1 and joins the top
    // and bottom edges with a2 and a3. In the piece swap they are White and join the sides.
    const SgfGame::Reading reading =
        SgfGame::read("(;SZ[3]RE[B+];B[b1];W[swap];W[c1];B[a2];W[c2];B[a3])");
    ASSERT_TRUE(reading.record) << reading.error;
    GamePosition position(3);
    ASSERT_EQ(position.playAll(reading.record->moves), "");
    EXPECT_EQ(position.winner(), 2);
    EXPECT_EQ(reading.info.result, "W+");
}

// Setup positions: the position as it stands, and the game that reaches it, if any.
struct SetupCase {
    const char* sgf;
    const char* board; // as the board's text shows it: 'X' Black, 'O' White
    int toMove;
    std::optional<Moves> moves; // the game's moves, or none
    const char* errorOrNote;
};

TEST(SgfGame, ASetupIsThePositionAndTheGameThatReachesIt) {
    const SetupCase cases[] = {
        {"(;SZ[3]AB[a1][c2]AW[b3])", "X . .\n . . X\n  . O .\n", 2, Moves{{0, 0}, {2, 1}, {1, 2}},
         "the setup stones are read as a game: 2 Black and 1 White stones placed as "
         "alternating moves, Black first"},
        // One White stone more, or as many with White to move: Black's first stone was
        // swapped.
        {"(;SZ[3]AB[a1]AW[b3][c1])", "X . O\n . . .\n  . O .\n", 1,
         Moves{{1, 2}, {3, 3}, {0, 0}, {0, 2}},
         "the setup stones are read as a game: 1 Black and 2 White stones placed as "
         "alternating moves, Black first, White's b3 coming from the swap of Black's "
         "first stone c2"},
        {"(;SZ[3]AB[a1]AW[b3]PL[W])", "X . .\n . . .\n  . O .\n", 2, Moves{{1, 2}, {3, 3}, {0, 0}},
         "the setup stones are read as a game: 1 Black and 1 White stones placed as "
         "alternating moves, Black first, White's b3 coming from the swap of Black's "
         "first stone c2"},
        // AE empties a cell; moves may follow the setup, the first one telling whose turn
        // it is.
        {"(;SZ[3]AB[a1][c3]AW[b3];AE[c3]AB[c1];W[b2];B[a3])", "X . X\n . O .\n  X O .\n", 2,
         Moves{{0, 0}, {2, 1}, {0, 2}, {1, 1}, {2, 0}},
         "the setup stones are read as a game: 2 Black and 1 White stones placed as "
         "alternating moves, Black first"},
        // Positions no game reaches, and a won one: analysed, never a game.
        {"(;SZ[3]AB[a1][b1][c1]AW[c3])", "X X X\n . . .\n  . . O\n", 0, std::nullopt,
         "no game reaches the setup position: 3 Black and 1 White stones"},
        {"(;SZ[3]AB[a1][b1]AW[c3]PL[B])", "X X .\n . . .\n  . . O\n", 1, std::nullopt,
         "no game reaches the setup position: 2 Black and 1 White stones, Black to move"},
        {"(;SZ[3]AB[a1][a2][a3]AW[b1][b2])", "X O .\n X O .\n  X . .\n", 2, std::nullopt,
         "the setup stones have already won the game for Black, so no order of placing "
         "them is sure to be a legal game"}};
    for (const SetupCase& setup : cases) {
        const SgfGame::Reading reading = SgfGame::read(setup.sgf);
        ASSERT_TRUE(reading.setup) << setup.sgf << ": " << reading.error;
        EXPECT_EQ(Hex::toText(reading.setup->board), setup.board) << setup.sgf;
        EXPECT_EQ(reading.setup->toMove, setup.toMove) << setup.sgf;
        EXPECT_EQ(reading.record ? std::optional(reading.record->moves) : std::nullopt, setup.moves)
            << setup.sgf;
        EXPECT_EQ(reading.record ? reading.notes.front() : reading.error, setup.errorOrNote)
            << setup.sgf;
    }
}

} // namespace
