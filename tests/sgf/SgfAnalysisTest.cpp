#include "sgf/SgfAnalysis.h"

#include "notation/ProgramVersion.h"
#include "sgf/GameFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Label = MoveAnalysis::Label;

const GameRecord game{5, {{2, 2}, {5, 5}, {1, 3}}};

// Rates with at most four decimals, which the file keeps exactly.
const std::vector<MoveAnalysis> analysis{
    {{2, 2}, 1, {1, 1}, 0.45, false, 0.38, false, 0.07, Label::inaccuracy},
    {{5, 5}, 2, {5, 5}, 0.62, false, 0.625, false, 0.0, Label::good},
    {{1, 3}, 1, {3, 1}, 1.0, true, 0.0, true, 1.0, Label::blunder},
};

TEST(SgfAnalysis, WritesACommentAndTheNumbersOnEveryMoveAndReadsThemBack) {
    const std::string text = SgfAnalysis::write(game, {"me", "", ""}, analysis);
    EXPECT_EQ(text, "(;FF[4]GM[11]SZ[5]AP[Quorlen:" + std::string(programVersion) +
                        "]PB[me]"
                        ";B[c3]C[Black 38% (best b2 45%), inaccuracy]"
                        "QR[0.4500 0.3800 b2 0.0700 inaccuracy 0 0]"
                        ";W[swap-pieces]C[White 63% (best swap-pieces 62%), good]"
                        "QR[0.6200 0.6250 swap-pieces 0.0000 good 0 0]"
                        ";B[d2]C[Black lost (best b4 won), blunder]"
                        "QR[1.0000 0.0000 b4 1.0000 blunder 1 1])\n");
    const GameFile::Reading reading = GameFile::parse(text); // as the window opens it
    ASSERT_TRUE(reading.record) << reading.error;
    EXPECT_EQ(reading.record->moves, game.moves);
    EXPECT_EQ(reading.analysis, analysis);

    // A review stopped early: the moves analysed.
    const std::vector<MoveAnalysis> firstTwo(analysis.begin(), analysis.begin() + 2);
    EXPECT_EQ(SgfAnalysis::read(SgfAnalysis::write(game, {}, firstTwo), game), firstTwo);
}

// An analysis is read whole or not at all: any QR that is not as written, or that stands on
// another game's move, leaves the file without one. Other programs' files have none.
TEST(SgfAnalysis, AnythingButItsOwnNumbersGivesNoAnalysis) {
    const std::string good = "0.4500 0.3800 b2 0.0700 inaccuracy 0 0";
    EXPECT_EQ(SgfAnalysis::read("(;SZ[5];B[c3]QR[" + good + "])", game).size(), 1u);
    for (const std::string& text : std::vector<std::string>{
             "(;SZ[5];B[c3]QR[0.4500 0.3800 b2 0.0700 inaccuracy 0])",
             "(;SZ[5];B[c3]QR[1.4500 0.3800 b2 0.0700 inaccuracy 0 0])",
             "(;SZ[5];B[c3]QR[nan 0.3800 b2 0.0700 inaccuracy 0 0])",
             "(;SZ[5];B[c3]QR[0,4500 0.3800 b2 0.0700 inaccuracy 0 0])",
             "(;SZ[5];B[c3]QR[0.4500 0.3800 z9 0.0700 inaccuracy 0 0])",
             "(;SZ[5];B[c3]QR[0.4500 0.3800 b2 0.0700 awful 0 0])",
             "(;SZ[5];B[c3]QR[0.4500 0.3800 b2 0.0700 inaccuracy 0 2])",
             "(;SZ[5];B[c3]QR[" + good + "][" + good + "])",
             "(;SZ[5];B[d3]QR[" + good + "])",
             "(;SZ[5]QR[" + good + "];B[c3]QR[" + good + "])",
             "(;SZ[5];B[c3]QR[" + good + "]",
             "(;FF[4]GM[11]SZ[5]AP[HexGui:0.9];B[c3]C[Black is fine];W[swap])",
         }) {
        EXPECT_TRUE(SgfAnalysis::read(text, game).empty()) << text;
    }
}

} // namespace
