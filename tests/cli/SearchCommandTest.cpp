#include "support/CliRun.h"
#include "support/TempDirectory.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

using Json = nlohmann::ordered_json;

Json searchOf(const std::vector<std::string>& args) {
    const CliRun run = runCli(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.exitCode == 0 ? Json::parse(run.out) : Json();
}

TEST(Search, FindsAMoveOnAnEmptyCellAndReportsItsWork) {
    const CliRun run = runCli({"search", "--size", "5", "--moves", "2.2", "--budget", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json result = Json::parse(run.out);
    std::vector<std::string> keys;
    for (const auto& item : result.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"move", "value", "depth", "nodes", "evaluations",
                                              "seconds", "peak_rss_mib", "depth_seconds"}));
    const int row = result["move"][0];
    const int col = result["move"][1];
    EXPECT_TRUE(row >= 0 && row < 5 && col >= 0 && col < 5);
    EXPECT_FALSE(row == 2 && col == 2);
    EXPECT_LT(result["seconds"].get<double>(), 5.0); // one second, and about one more
    EXPECT_NE(run.err.find("Looking ahead 1 moves...\n"), std::string::npos);
}

// A fixed depth runs exactly that many iterations and times each (the pinned searches, read
// without times, pin what --each-depth reports of them).
TEST(Search, ADepthIsSearchedToTheEndAndTimedDepthByDepth) {
    const Json result = searchOf({"search", "--size", "5", "--moves", "2.2", "--depth", "3"});
    EXPECT_EQ(result["depth"], 3);
    ASSERT_EQ(result["depth_seconds"].size(), 3u);
    EXPECT_LE(result["depth_seconds"][0].get<double>(), result["depth_seconds"][2].get<double>());
}

// A zero budget, and a won position (Player 1 holds column 1 of a 3 x 3 board from top to
// bottom), give no move and search nothing.
TEST(Search, AZeroBudgetOrAWonPositionGivesNoMove) {
    for (const Json& result : {searchOf({"search", "--size", "7", "--budget", "0"}),
                               searchOf({"search", "--size", "3", "--moves",
                                         "0.1,0.0,1.1,0.2,2.0,2.2", "--budget", "1"})}) {
        EXPECT_EQ(result["move"], Json::parse("[-1, -1]"));
        EXPECT_EQ(result["depth"], 0);
        EXPECT_EQ(result["nodes"], 1);
    }
}

TEST(Search, ShowBestNamesTheMoveInTheStatusTexts) {
    const CliRun run =
        runCli({"search", "--size", "4", "--moves", "1.1", "--budget", "1", "--show-best"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json result = Json::parse(run.out);
    ASSERT_GE(result["depth"].get<int>(), 2);
    EXPECT_NE(run.err.find("Looking ahead 2 moves...("), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Looking ahead 1 moves...("), std::string::npos);
}

// The expert's search takes the swap of a centre stone on a small board and reports its work.
TEST(Search, TheExpertTakesTheSwapOfACentreStone) {
    const Json result = searchOf({"search", "--strength", "expert", "--size", "5", "--moves", "2.2",
                                  "--budget", "60", "--playouts", "5000", "--threads", "1"});
    std::vector<std::string> keys;
    for (const auto& item : result.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"move", "win_rate", "playouts", "seconds",
                                              "playouts_per_second", "cpu_seconds",
                                              "playouts_per_cpu_second", "threads", "nodes",
                                              "tree_mib", "peak_rss_mib"}));
    EXPECT_EQ(result["move"], Json::parse("[5, 5]"));
    EXPECT_GT(result["win_rate"].get<double>(), 0.5);
    EXPECT_EQ(result["playouts"], 5000);
    EXPECT_EQ(result["threads"], 1);
    EXPECT_GT(result["nodes"].get<int>(), 1);
}

// A game whose first stone was swapped reaches the expert as that game: White, holding the
// swapped stone and one beside it, completes its row.
TEST(Search, TheExpertSearchesAGameWithTheSwap) {
    const Json result =
        searchOf({"search", "--strength", "expert", "--size", "3", "--moves", "0.0,3.3,2.2,0.1,2.1",
                  "--budget", "60", "--playouts", "2000", "--threads", "1"});
    EXPECT_EQ(result["move"], Json::parse("[0, 2]"));
    EXPECT_EQ(result["win_rate"], 1.0);
}

// The position's options are shared with analyze, whose test refuses their bad values.
// A record is searched in the position the window's Open shows (see analyze's test): here
// White's stone stands on the cell that both moves name.
TEST(Search, ARecordWithACellTwiceIsSearchedAsOpenShowsIt) {
    const TempDirectory directory;
    const std::string path = (directory / "record.txt").string();
    writeBytes(path, "5\r\n2.2\r\n2.2\r\n");
    const CliRun run = runCli({"search", "--record", path, "--depth", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("quorlen-cli search: note: the game record '" + path +
                           "' is no legal game: move 2 (2.2) goes on a taken cell"),
              std::string::npos)
        << run.err;
    const Json result = Json::parse(run.out);
    EXPECT_NE(result["move"], Json::parse("[2, 2]"));
    EXPECT_EQ(result["depth"], 1);
}

TEST(Search, BadInputIsRefusedWithExitCodeTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"search", "--size", "5"},
          {"search", "--size", "5", "--budget", "1", "--depth", "2"},
          {"search", "--size", "5", "--depth", "0"},
          {"search", "--size", "5", "--budget", "-1"},
          {"search", "--size", "5", "--budget", "1", "--strength", "easy"},
          {"search", "--size", "5", "--budget", "1", "--strength", "expert", "--playouts", "0"},
          {"search", "--size", "1", "--budget", "1", "--strength", "expert"}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

} // namespace
