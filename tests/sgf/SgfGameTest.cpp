#include "sgf/SgfGame.h"

#include "notation/GamePosition.h"
#include "notation/ProgramVersion.h"
#include "support/EnginePrinters.h"

#include <gtest/gtest.h>

#include <random>

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
    EXPECT_EQ(reading.note, "");
}

TEST(SgfGame, AFinalResignationIsReadButNotKept) {
    const SgfGame::Reading reading = SgfGame::read("(;GM[11]SZ[5];B[c3];W[resign])");
    ASSERT_TRUE(reading.record) << reading.error;
    EXPECT_EQ(reading.record->moves, (std::vector<Coord>{{2, 2}}));
    EXPECT_EQ(reading.note, "White's resignation at the end is not kept");
}

struct Refused {
    const char* sgf;
    const char* error;
};

class RefusedSgf : public testing::TestWithParam<Refused> {};

TEST_P(RefusedSgf, NamesTheProblem) {
    const SgfGame::Reading reading = SgfGame::read(GetParam().sgf);
    EXPECT_FALSE(reading.record);
    EXPECT_EQ(reading.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedSgf,
    testing::Values(
        Refused{"(;SZ[5]AB[c3];W[a1])",
                "setup stones (AB) are not supported: a record holds only moves"},
        Refused{"(;SZ[5];B[a1];AW[b2])",
                "setup stones (AW) are not supported: a record holds only moves"},
        Refused{"(;SZ[5];B[a1](;W[b2])(;W[c2]))",
                "variations are not supported: a record holds one line of play"},
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
        Refused{"(;SZ[5];B[a1];W[swap-sides])",
                "move 2 (W[swap-sides]): swap-sides is not supported, only swap-pieces"},
        Refused{"(;SZ[5];B[f1])", "move 1 (B[f1]): not a cell of a board of size 5"},
        Refused{"(;SZ[5];B[])", "move 1 (B[]): not a cell of a board of size 5"},
        Refused{"(;SZ[5];B[a1];W[resign];B[b2])", "move 2 (W[resign]): moves follow a resignation"},
        Refused{"(;SZ[3];B[a1];W[b1];B[a2];W[b2];B[a3];W[c3])", "move 6 (W[c3]): the game is over"},
        Refused{"(;SZ[5];B[aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa])",
                "move 1 (B[aaaaaaaaaaaaaaaaaaaa...]): not a cell of a board of size 5"}));

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
