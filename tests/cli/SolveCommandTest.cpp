#include "cli/SolveCommand.h"
#include "support/CliRun.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

using Json = nlohmann::ordered_json;

CliRun solve(std::vector<std::string> args) {
    args.insert(args.begin(), "solve");
    return runCliWith([](CLI::App& app, int& exitCode, std::ostream& out,
                         std::ostream& err) { addSolveCommand(app, exitCode, out, err); },
                      std::move(args));
}

// The centre of 3x3 wins; Player 2 to move has lost, and answers with its most resisting move.
// A budget too small leaves the empty 5x5 board unknown, unless the virtual connections see its
// centre win at once; a board of one cell is refused.
TEST(Solve, PrintsTheResultTheMoveAndTheWork) {
    const CliRun won = solve({"--size", "3"});
    ASSERT_EQ(won.exitCode, 0) << won.err;
    const Json first = Json::parse(won.out);
    EXPECT_EQ(first["result"], "won");
    EXPECT_EQ(first["winner"], 1);

    const Json lost = Json::parse(solve({"--size", "3", "--moves", "1.1"}).out);
    EXPECT_EQ(lost["result"], "lost");
    EXPECT_EQ(lost["winner"], 1);
    EXPECT_EQ(lost["to_move"], 2);
    EXPECT_EQ(lost["move"].size(), 2U);

    const Json unknown =
        Json::parse(solve({"--size", "5", "--nodes", "10", "--no-connections"}).out);
    EXPECT_EQ(unknown["result"], "unknown");
    EXPECT_TRUE(unknown["move"].is_null());
    EXPECT_LE(unknown["nodes"].get<int>(), 10);
    const Json connected = Json::parse(solve({"--size", "5", "--nodes", "10"}).out);
    EXPECT_EQ(connected["result"], "won");
    EXPECT_EQ(connected["move"], Json::array({2, 2}));

    const CliRun tiny = solve({"--size", "1"});
    EXPECT_EQ(tiny.exitCode, 2);
    EXPECT_NE(tiny.err.find("2 to 30"), std::string::npos);
}

} // namespace
