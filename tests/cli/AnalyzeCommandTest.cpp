#include "support/CliRun.h"
#include "support/TempDirectory.h"

#include "headless/Analysis.h"
#include "model/Game.h"
#include "sgf/GameFile.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Json = nlohmann::ordered_json;
using Words = std::vector<std::string>;

Json analysisOf(const Words& args) {
    const CliRun run = runCli(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
    return run.exitCode == 0 ? Json::parse(run.out) : Json();
}

// The whole output of the empty board, of won positions, of given weights and of a record
// is pinned (tests/engine/pinned); here what the pinned analyses leave out.
TEST(Analyze, WeightsComeFromTheOptionOrTheFileWhichWins) {
    const Json spaced = analysisOf({"analyze", "--size", "3", "--weights", " 1.5, -2 ,3e0,4"});
    EXPECT_EQ(spaced["weights"], Json::parse("[1.5, -2.0, 3.0, 4.0]"));

    // The file is read as a computer player reads it: the defaults, then as many numbers as
    // it holds; the option's weights are not used.
    const TempDirectory directory;
    writeBytes(directory / "short.dat", "0.5\nnot a number\n9\n");
    const Json partly = analysisOf({"analyze", "--size", "3", "--weights", "9,9,9,9",
                                    "--weights-file", (directory / "short.dat").string()});
    EXPECT_EQ(partly["weights"], Json::parse("[0.5, 3.801, -5.553, 7.072]"));
}

TEST(Analyze, AnSgfSetupIsTakenAsItStandsAndAnSgfGameAsItsMoves) {
    const TempDirectory directory;
    const std::string setup = (directory / "setup.sgf").string();
    const std::string tree = (directory / "tree.sgf").string();
    // Black's c1 and c3 and White's d4: White to move, as after the moves 0.2, 3.3, 2.2.
    writeBytes(setup, "(;FF[4]GM[11]SZ[5];AB[c1][c3]AW[d4])");
    writeBytes(tree, "(;GM[11]SZ[5];B[c1];W[d4](;B[c3])(;B[a1]))");
    Json fromSetup = analysisOf({"analyze", "--sgf", setup});
    EXPECT_EQ(fromSetup["to_move"], 2);
    EXPECT_EQ(fromSetup["last_move"], Json::parse("[-1, -1]"));
    fromSetup["last_move"] = Json::parse("[2, 2]");
    EXPECT_EQ(fromSetup, analysisOf({"analyze", "--size", "5", "--moves", "0.2,3.3,2.2"}));

    const CliRun fromTree = runCli({"analyze", "--sgf", tree});
    EXPECT_EQ(fromTree.out, runCli({"analyze", "--size", "5", "--moves", "0.2,3.3,2.2"}).out);
    EXPECT_EQ(fromTree.err, "quorlen-cli analyze: note: the file holds variations: only its main "
                            "line (the first variation at every branch) is read\n");

    // No game reaches these; --to-move, PL or the counts say whose turn it is.
    writeBytes(setup, "(;SZ[3]AB[a1][b1]AW[c3]PL[B])");
    EXPECT_EQ(analysisOf({"analyze", "--sgf", setup})["to_move"], 1);
    EXPECT_EQ(analysisOf({"analyze", "--sgf", setup, "--to-move", "W"})["to_move"], 2);
}

// A record is read as the window's Open reads it (GameFile, then the record's replay), with
// the record's checks only: a cell that occurs twice holds the later stone, a late swap
// marker swaps the first stone. A note says where the record departs from a legal game.
TEST(Analyze, ARecordIsReadAsTheWindowOpensIt) {
    const TempDirectory directory;
    const std::string path = (directory / "record.txt").string();
    struct Record {
        const char* text;
        const char* departure;
    };
    for (const Record& record : {
             Record{"5\r\n2.2\r\n2.2\r\n1.1\r\n", "move 2 (2.2) goes on a taken cell"},
             Record{"5\r\n1.3\r\n2.2\r\n0.4\r\n5.5\r\n4.0\r\n",
                    "move 4 (5.5) is a swap, which only the second move may be"},
             Record{"3\r\n0.0\r\n1.0\r\n0.1\r\n1.1\r\n0.2\r\n1.2\r\n2.2\r\n",
                    "move 7 (2.2) comes after the game was won"},
         }) {
        writeBytes(path, record.text);
        const CliRun run = runCli({"analyze", "--record", path});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "quorlen-cli analyze: note: the game record '" + path +
                               "' is no legal game: " + record.departure +
                               "; it is read as the window's Open reads it\n");
        const GameFile::Reading opened = GameFile::read(path);
        ASSERT_TRUE(opened.record) << record.text;
        const std::unique_ptr<Hex::Game> shown = opened.record->replay();
        EXPECT_EQ(run.out,
                  analyzePosition(BoardPosition::ofGame(*shown), defaultWeights).dump() + "\n");
    }
    // The later stone stands: White's, on the cell where Black's was.
    writeBytes(path, "5\r\n2.2\r\n2.2\r\n");
    const Json taken = Json::parse(runCli({"analyze", "--record", path}).out);
    EXPECT_EQ(taken["board"][2][2], 2) << taken["board"];
    EXPECT_EQ(taken["to_move"], 1);
    // A legal game's record says nothing.
    writeBytes(path, "5\r\n2.2\r\n5.5\r\n1.1\r\n");
    EXPECT_EQ(analysisOf({"analyze", "--record", path})["to_move"], 2);
}

// Sums of such weights overflow to infinities and their differences to NaN; the search
// must still end, and NaN is written as null.
TEST(Analyze, ExtremeWeightsGiveAnAnswerNotACrash) {
    const Json extreme = analysisOf({"analyze", "--size", "7", "--moves", "3.3,2.4,4.2,1.1,5.5",
                                     "--weights", "-1e308,1e308,-1e308,1e308"});
    EXPECT_EQ(extreme["weights"][1], 1e308);
    EXPECT_LE(extreme["paths"]["1"].size(), 7u);
    EXPECT_LE(extreme["paths"]["2"].size(), 7u);
}

// Every refusal: exit code 2, one line on stderr, nothing on stdout.
TEST(Analyze, BadInputIsRefusedWithOneLineAndExitCodeTwo) {
    const TempDirectory directory;
    writeBytes(directory / "no-turn.sgf", "(;SZ[3]AB[a1][b1][c1])");
    writeBytes(directory / "white-first.sgf", "(;SZ[3];W[a1])");
    writeBytes(directory / "game.sgf", "(;SZ[3];B[a1])");
    const std::string sgf = (directory / "white-first.sgf").string();
    const std::string missing = (directory / "missing").string();
    const std::vector<Words> cases = {
        {"analyze"},
        {"analyze", "--size", "31"},
        {"analyze", "--size", "abc"},
        {"analyze", "--size"},
        {"analyze", "--size", "3", "--moves", "1.1,x"},
        {"analyze", "--size", "3", "--moves", "0.0,1.1,1.1"}, // a stone on a stone
        {"analyze", "--moves", "1.1"},
        {"analyze", "--size", "3", "--weights", "1,2,3"},
        {"analyze", "--size", "3", "--weights", "a,b,c,d"},
        {"analyze", "--size", "3", "--weights", "1,2,3,inf"},
        {"analyze", "--size", "3", "--weights-file", missing},
        {"analyze", "--record", missing},
        {"analyze", "--sgf", (directory / "no-turn.sgf").string()},
        {"analyze", "--sgf", sgf},
        {"analyze", "--sgf", missing},
        {"analyze", "--sgf", sgf, "--size", "3"},
        {"analyze", "--sgf", (directory / "no-turn.sgf").string(), "--to-move", "red"},
        {"analyze", "--size", "3", "--to-move", "white"},
        {"analyze", "--sgf", (directory / "game.sgf").string(), "--to-move", "white"},
        {"analyze", "--size", "3", "--bogus"},
        {},
    };
    for (const Words& args : cases) {
        const CliRun run = runCli(args);
        const std::string shown = testing::PrintToString(args);
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << shown << run.err;
        EXPECT_EQ(run.err.rfind("quorlen-cli", 0), 0u) << shown << run.err;
    }
}

TEST(Analyze, HelpIsNoError) {
    const CliRun run = runCli({"analyze", "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("--weights-file"), std::string::npos);
}

} // namespace
