#include "sgf/SgfGame.h"

#include "notation/GamePosition.h"
#include "notation/ProgramVersion.h"
#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string_view>

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

// A case's SGF text as a test name: letters, digits and '-', the rest '_'.
std::string nameOf(std::string_view sgf) {
    std::string name;
    for (const char c : sgf) {
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '-' ? c : '_';
    }
    return name;
}

struct Refused {
    const char* sgf;
    const char* error;
};

void PrintTo(const Refused& refused, std::ostream* out) {
    *out << nameOf(refused.sgf);
}

class RefusedSgf : public testing::TestWithParam<Refused> {};

TEST_P(RefusedSgf, NamesTheProblem) {
    const SgfGame::Reading reading = SgfGame::read(GetParam().sgf);
    EXPECT_FALSE(reading.record);
    EXPECT_EQ(reading.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedSgf,
    testing::Values(
        Refused{"(;SZ[5];B[a1];AW[b2])",
                "setup stones (AW) from the first move on are not supported"},
        Refused{"(;SZ[5];AE[b2]B[a1])",
                "setup stones (AE) from the first move on are not supported"},
        Refused{"(;SZ[5]AB[a1][f1])", "AB[f1]: not a cell of a board of size 5"},
        Refused{"(;SZ[5]AB[a1]PL[x])", "PL[x] is not a colour (B or W)"},
        Refused{"(;SZ[5]AB[c3];W[swap])",
                "move 1 (W[swap]): a swap after setup stones is not supported"},
        Refused{"(;SZ[5]AB[c3];W[c3])", "move 1 (W[c3]): cell c3 is occupied"},
        Refused{"(;SZ[5]AB[c3]PL[B];W[a1])", "move 1 (W[a1]): black is to move"},
        Refused{"(;SZ[5]AB[c3];W[a1];W[b1])", "move 2 (W[b1]): black is to move"},
        Refused{"(;SZ[5];B[a1]()(;W[b2]))", "a variation has no node"},
        Refused{"(;SZ[5](;B[a1]);W[b2])", "unexpected ';' at byte 16"},
        Refused{"(;SZ[5](;B[a1])W[b2])", "unexpected 'W' at byte 16"},
        Refused{"((;SZ[5]))", "unexpected '(' at byte 2"},
        Refused{"(;SZ[11:13];B[a1])", "SZ[11:13]: boards that are not square are not supported"},
        Refused{"(;SZ[31])", "SZ[31]: board sizes are 1 to 30"},
        Refused{"(;SZ[0])", "SZ[0]: board sizes are 1 to 30"},
        Refused{"(;SZ[big])", "SZ[big] is not a board size"},
        Refused{"(;SZ[99999999999999999999])", "SZ[99999999999999999999] is not a board size"},
        Refused{"(;GM[1]SZ[19];B[pd])", "not a Hex game: GM[1] (Hex is GM[11])"},
        Refused{"(;FF[4]GM[11];B[a1])", "the game names no board size (SZ)"},
        Refused{"(;SZ[5];B[a1];SZ[5])", "SZ may only stand in the first node"},
        Refused{"", "not an SGF game: it does not start with '('"},
        Refused{"11\r\n2.5\r\n", "not an SGF game: it does not start with '('"},
        Refused{"(;SZ[5];B[a1]", "the game is not closed with ')'"},
        Refused{"(;SZ[5];B[a1", "a property value is not closed with ']'"},
        Refused{"(;SZ[5];B)", "property B has no value"},
        Refused{"(SZ[5])", "unexpected 'S' at byte 2"},
        Refused{"(;SZ[5]\x01)", "unexpected '\\x01' at byte 8"},
        Refused{"()", "the game has no node"},
        Refused{"(;SZ[5])(;SZ[5])", "the file holds more than one game"},
        Refused{"(;SZ[5]) trailing", "unexpected text after the game"},
        Refused{"(;SZ[5];B[a1]W[b2])", "a node holds both a Black and a White move"},
        Refused{"(;SZ[5];B[a1][b2])", "B holds more than one move"},
        Refused{"(;SZ[5];W[a1])", "move 1 (W[a1]): black is to move"},
        Refused{"(;SZ[5];B[a1];B[b2])", "move 2 (B[b2]): white is to move"},
        Refused{"(;SZ[5];B[a1];W[a1])", "move 2 (W[a1]): cell a1 is occupied"},
        Refused{"(;SZ[5];B[a1];W[b1];B[swap])",
                "move 3 (B[swap]): swap-pieces is only allowed as the second move"},
        Refused{"(;SZ[5];B[a1];W[swap-sides];B[c3])",
                "move 3 (B[c3]): after swap-sides White moves again"},
        Refused{"(;SZ[5];B[b1];W[swap];W[a2];B[b1])",
                "move 4 (B[b1], read as W[a2]): cell a2 is occupied"},
        Refused{"(;SZ[5];B[f1])", "move 1 (B[f1]): not a cell of a board of size 5"},
        Refused{"(;SZ[5];B[])", "move 1 (B[]): not a cell of a board of size 5"},
        Refused{"(;SZ[5];B[a1];W[resign];B[b2])", "move 2 (W[resign]): moves follow a resignation"},
        Refused{"(;SZ[3];B[a1];W[b1];B[a2];W[b2];B[a3];W[c3])", "move 6 (W[c3]): the game is over"},
        Refused{"(;SZ[5];B[aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa])",
                "move 1 (B[aaaaaaaaaaaaaaaaaaaa...]): not a cell of a board of size 5"}));

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

void PrintTo(const Noted& noted, std::ostream* out) {
    *out << nameOf(noted.sgf);
}

class NotedSgf : public testing::TestWithParam<Noted> {};

TEST_P(NotedSgf, GivesTheGameAndSaysHowItWasRead) {
    const SgfGame::Reading reading = SgfGame::read(GetParam().sgf);
    ASSERT_TRUE(reading.record) << reading.error;
    EXPECT_EQ(reading.record->moves, GetParam().moves);
    EXPECT_EQ(reading.info.result, GetParam().result);
    EXPECT_EQ(reading.notes, GetParam().notes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotedSgf,
    testing::Values(
        // A swap of sides in each spelling: every move after the swap is mirrored and changes
        // colour, and so does the result.
        Noted{"(;SZ[5]RE[B+];B[b1];W[swap-pieces];W[c3];B[d2])",
              {{0, 1}, {5, 5}, {2, 2}, {3, 1}},
              "W+",
              {swapOfSides}},
        Noted{"(;SZ[5]RE[w+R];B[b1];W[SWAP];W[d2];B[resign])",
              {{0, 1}, {5, 5}, {3, 1}},
              "b+R",
              {swapOfSides, "White's resignation at the end is not kept"}},
        Noted{"(;SZ[5];B[b1];W[swap];W[a1])", {{0, 1}, {5, 5}, {0, 0}}, "", {swapOfSides}},
        Noted{"(;SZ[5];B[b1];W[swap-sides];W[a1])", {{0, 1}, {5, 5}, {0, 0}}, "", {swapOfSides}},
        // A piece swap keeps its moves, and a swap at the end is one whichever it means.
        Noted{"(;SZ[5]RE[B+];B[b1];W[SWAP];B[c3])", {{0, 1}, {5, 5}, {2, 2}}, "B+", {}},
        Noted{"(;SZ[5];B[b1];W[swap-sides])", {{0, 1}, {5, 5}}, "", {}},
        // Game trees: the first variation at every branch.
        Noted{"(;SZ[4];B[a1](;W[b2];B[c3](;W[d4])(;W[a4]))(;W[c2]))",
              {{0, 0}, {1, 1}, {2, 2}, {3, 3}},
              "",
              {variations}},
        Noted{"(;SZ[4](;B[a1](;W[b2])))", {{0, 0}, {1, 1}}, "", {}}));

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
    std::vector<std::string> board; // one string a row: '.', 'X' Black, 'O' White
    int toMove;
    std::optional<Moves> moves; // the game's moves, or none
    const char* errorOrNote;
};

void PrintTo(const SetupCase& setup, std::ostream* out) {
    *out << nameOf(setup.sgf);
}

class SetupSgf : public testing::TestWithParam<SetupCase> {};

TEST_P(SetupSgf, IsThePositionAndTheGameThatReachesIt) {
    const SetupCase& setup = GetParam();
    const SgfGame::Reading reading = SgfGame::read(setup.sgf);
    ASSERT_TRUE(reading.setup) << reading.error;
    const Hex::Board& board = reading.setup->board;
    std::vector<std::string> rows(board.size(), std::string(board.size(), '.'));
    for (int row = 0; row < static_cast<int>(board.size()); ++row) {
        for (int col = 0; col < static_cast<int>(board.size()); ++col) {
            rows[row][col] = ".XO"[board.at(row, col)];
        }
    }
    EXPECT_EQ(rows, setup.board);
    EXPECT_EQ(reading.setup->toMove, setup.toMove);
    EXPECT_EQ(reading.record ? std::optional(reading.record->moves) : std::nullopt, setup.moves);
    EXPECT_EQ(reading.record ? reading.notes.front() : reading.error, setup.errorOrNote);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupSgf,
    testing::Values(
        SetupCase{"(;SZ[3]AB[a1][c2]AW[b3])",
                  {"X..", "..X", ".O."},
                  2,
                  Moves{{0, 0}, {2, 1}, {1, 2}},
                  "the setup stones are read as a game: 2 Black and 1 White stones placed as "
                  "alternating moves, Black first"},
        SetupCase{"(;SZ[3]AB[a1]AW[b3]PL[b])",
                  {"X..", "...", ".O."},
                  1,
                  Moves{{0, 0}, {2, 1}},
                  "the setup stones are read as a game: 1 Black and 1 White stones placed as "
                  "alternating moves, Black first"},
        // One White stone more, or as many with White to move: Black's first stone was
        // swapped.
        SetupCase{"(;SZ[3]AB[a1]AW[b3][c1])",
                  {"X.O", "...", ".O."},
                  1,
                  Moves{{1, 2}, {3, 3}, {0, 0}, {0, 2}},
                  "the setup stones are read as a game: 1 Black and 2 White stones placed as "
                  "alternating moves, Black first, White's b3 coming from the swap of Black's "
                  "first stone c2"},
        SetupCase{"(;SZ[3]AB[a1]AW[b3]PL[W])",
                  {"X..", "...", ".O."},
                  2,
                  Moves{{1, 2}, {3, 3}, {0, 0}},
                  "the setup stones are read as a game: 1 Black and 1 White stones placed as "
                  "alternating moves, Black first, White's b3 coming from the swap of Black's "
                  "first stone c2"},
        // AE empties a cell; moves may follow the setup, the first one telling whose turn
        // it is.
        SetupCase{"(;SZ[3]AB[a1][c3]AW[b3];AE[c3]AB[c1];W[b2];B[a3])",
                  {"X.X", ".O.", "XO."},
                  2,
                  Moves{{0, 0}, {2, 1}, {0, 2}, {1, 1}, {2, 0}},
                  "the setup stones are read as a game: 2 Black and 1 White stones placed as "
                  "alternating moves, Black first"},
        // Positions no game reaches, and a won one: analysed, never a game.
        SetupCase{"(;SZ[3]AB[a1][b1][c1]AW[c3])",
                  {"XXX", "...", "..O"},
                  0,
                  std::nullopt,
                  "no game reaches the setup position: 3 Black and 1 White stones"},
        SetupCase{"(;SZ[3]AB[a1][b1]AW[c3]PL[B])",
                  {"XX.", "...", "..O"},
                  1,
                  std::nullopt,
                  "no game reaches the setup position: 2 Black and 1 White stones, Black to move"},
        SetupCase{"(;SZ[3]PL[W])",
                  {"...", "...", "..."},
                  2,
                  std::nullopt,
                  "no game reaches the setup position: 0 Black and 0 White stones, White to move"},
        SetupCase{"(;SZ[3]AB[a1][a2][a3]AW[b1][b2])",
                  {"XO.", "XO.", "X.."},
                  2,
                  std::nullopt,
                  "the setup stones have already won the game for Black, so no order of placing "
                  "them is sure to be a legal game"}));

// A legal game of random moves, with the swap now and then.
GameRecord randomGame(std::mt19937& random, std::uint32_t size) {
    GamePosition position(size);
    std::uniform_int_distribution<int> cell(0, static_cast<int>(size) - 1);
    while (position.winner() == 0) {
        const Coord swap{static_cast<int>(size), static_cast<int>(size)};
        if (position.moves().size() == 1 && random() % 2 == 0) {
            position.play(swap);
            continue;
        }
        const Coord move{cell(random), cell(random)};
        if (position.refusal(position.sideToMove(), move).empty()) {
            position.play(move);
        }
    }
    return GameRecord{size, position.moves()};
}

TEST(SgfGame, RecordsGoThroughSgfAndBackUnchanged) {
    std::mt19937 random(20240611);
    for (std::uint32_t size : {3u, 10u, 11u, 26u, 27u, 30u}) {
        for (int game = 0; game < 5; ++game) {
            const GameRecord record = randomGame(random, size);
            const SgfGame::Reading reading = SgfGame::read(SgfGame::write(record));
            ASSERT_TRUE(reading.record) << reading.error;
            EXPECT_EQ(reading.record->size, record.size);
            EXPECT_EQ(reading.record->moves, record.moves);
            EXPECT_EQ(reading.record->text(), record.text());
        }
    }
}

} // namespace
