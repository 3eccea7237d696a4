#include "headless/PlayGames.h"

#include "support/CliRun.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

TEST(Play, OneGamePrintsEveryMoveTheBoardAndTheWinner) {
    TempDirectory directory;
    const CliRun run = runCli({"play", "--p1", "easy", "--p2", "easy", "--size", "4", "--seed", "5",
                               "--weights-file", (directory / "w.dat").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("   1. Quorl (Player 1): "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("   2. Quorl (Player 2): swap"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("winner: Player "), std::string::npos);
    // The board's last row, shifted by its index: "   X . O ."
    std::istringstream lines(run.out);
    bool boardShown = false;
    for (std::string line; std::getline(lines, line);) {
        boardShown |= line.size() == 10 && line.rfind("   ", 0) == 0 &&
                      line.find_first_not_of(".XO ", 3) == std::string::npos;
    }
    EXPECT_TRUE(boardShown) << run.out;
}

// The swap makes the 3 x 3 board a win for Player 2 (Player 1's every opening either wins,
// and is swapped, or loses), which the expert solves in its shortest thinks. As Player 1 it
// has no winning move, and games against the easy player went either way.
TEST(Play, TheExpertWinsTheSmallestBoardAsPlayer2) {
    TempDirectory directory;
    const CliRun run = runCli({"play", "--p1", "easy", "--p2", "expert", "--size", "3",
                               "--time-limit", "1", "--games", "2", "--seed", "3", "--threads", "1",
                               "--weights-file", (directory / "w.dat").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("expert: 2 wins in 2 games"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("easy: 0 wins in 2 games"), std::string::npos) << run.out;
}

TEST(Play, SeveralGamesEndWithATableAndSavedRecords) {
    TempDirectory directory;
    const CliRun run = runCli({"play", "--p1", "easy", "--p2", "easy", "--size", "3", "--games",
                               "3", "--alternate", "--weights-file", (directory / "w.dat").string(),
                               "--record-dir", directory.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("games             3\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("easy: 3 wins in 6 games"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("3/3"), std::string::npos);
    for (const char* name : {"game-001.txt", "game-002.txt", "game-003.txt"}) {
        EXPECT_TRUE(std::filesystem::exists(directory / name)) << name;
    }
}

// What the hard player learned is what the weights file keeps, whoever leaves last.
TEST(Play, TheWeightsFileKeepsWhatTheHardPlayerLearned) {
    TempDirectory directory;
    const std::string weights = (directory / "w.dat").string();
    const CliRun run = runCli({"play", "--p1", "hard", "--p2", "easy", "--size", "4", "--games",
                               "3", "--time-limit", "4", "--learning", "--learning-rate", "0.5",
                               "--seed", "3", "--weights-file", weights});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::ifstream file(weights);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 4u);
    const std::string expected = "hard weights      Player 1: " + lines[0] + ", " + lines[1] +
                                 ", " + lines[2] + ", " + lines[3] + "\n";
    EXPECT_NE(run.out.find(expected), std::string::npos) << run.out << expected;
}

TEST(Play, BadArgumentsAreRefused) {
    EXPECT_EQ(runCli({"play", "--p1", "strong", "--p2", "easy"}).exitCode, 2);
    EXPECT_EQ(runCli({"play", "--p1", "expert", "--p2", "easy", "--threads", "-1"}).exitCode, 2);
    EXPECT_EQ(runCli({"play", "--p1", "easy"}).exitCode, 2);
    EXPECT_EQ(runCli({"play", "--p1", "easy", "--p2", "easy", "--size", "31"}).exitCode, 2);
    EXPECT_EQ(runCli({"play", "--p1", "easy", "--p2", "easy", "--games", "0"}).exitCode, 2);
}

TEST(Play, AnInterruptedMatchStillReportsWhatWasPlayed) {
    TempDirectory directory;
    PlayGames::Options options;
    options.size = 3;
    options.games = 5;
    options.weightsFile = directory / "w.dat";
    std::ostringstream out;
    std::ostringstream progress;
    const std::atomic<bool> interrupted{true};
    PlayGames games(options, out, progress);
    const PlayGames::Summary summary = games.run(interrupted);
    EXPECT_EQ(summary.played, 0);
    PlayGames::printTable(summary, out);
    EXPECT_NE(out.str().find("games             0"), std::string::npos);
}

} // namespace
