#include "cli/ReviewCommand.h"

#include "support/CliRun.h"
#include "support/TempDirectory.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;

CliRun runReview(std::vector<std::string> args) {
    return runCliWith([](CLI::App& app, int& exitCode, std::ostream& out,
                         std::ostream& err) { addReviewCommand(app, exitCode, out, err); },
                      std::move(args));
}

// The exact value of every position of a 4 x 4 game, the swap included: a memoised
// search of the whole game tree on bit boards (cell r * 4 + c).
class Solver4x4 {
public:
    Solver4x4() {
        const int steps[6][2] = {{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}};
        for (int cell = 0; cell < cells; ++cell) {
            for (const auto& step : steps) {
                const int row = cell / n + step[0];
                const int col = cell % n + step[1];
                if (row >= 0 && row < n && col >= 0 && col < n) {
                    m_neighbours[cell] |= 1U << (row * n + col);
                }
            }
        }
    }

    // Whether the side to move after the moves wins (moves as (row, col); (4, 4) the swap).
    bool sideToMoveWins(const std::vector<std::array<int, 2>>& moves) {
        std::uint32_t stones[2] = {0, 0};
        for (std::size_t i = 0; i < moves.size(); ++i) {
            if (moves[i][0] == n) {
                stones[0] = 0;
                stones[1] = 1U << (moves[0][1] * n + moves[0][0]);
            } else {
                stones[i % 2] |= 1U << (moves[i][0] * n + moves[i][1]);
            }
        }
        const int toMove = moves.size() % 2 == 0 ? 1 : 2;
        if (moves.empty()) {
            for (int row = 0; row < n; ++row) {
                for (int col = 0; col < n; ++col) {
                    if (!sideToMoveWins({{row, col}})) {
                        return true;
                    }
                }
            }
            return false;
        }
        if (moves.size() == 1 && !sideToMoveWins({moves[0], {n, n}})) {
            return true; // the swap wins
        }
        return wins(stones[toMove - 1], stones[2 - toMove], toMove);
    }

private:
    static constexpr int n = 4;
    static constexpr int cells = n * n;

    bool joins(std::uint32_t stones, int player) const {
        std::uint32_t start = 0;
        std::uint32_t goal = 0;
        for (int i = 0; i < n; ++i) {
            start |= 1U << (player == 1 ? i : i * n);
            goal |= 1U << (player == 1 ? (n - 1) * n + i : i * n + n - 1);
        }
        std::uint32_t reached = stones & start;
        for (std::uint32_t frontier = reached; frontier != 0;) {
            std::uint32_t next = 0;
            for (std::uint32_t rest = frontier; rest != 0; rest &= rest - 1) {
                next |= m_neighbours[static_cast<std::size_t>(std::countr_zero(rest))];
            }
            frontier = next & stones & ~reached;
            reached |= frontier;
        }
        return (reached & goal) != 0;
    }

    // Without the swap: whether `player`, to move with `mine` against `theirs`, wins.
    bool wins(std::uint32_t mine, std::uint32_t theirs, int player) {
        if (joins(theirs, 3 - player)) {
            return false;
        }
        const std::uint64_t key = mine | std::uint64_t{theirs} << 16 | std::uint64_t(player) << 32;
        if (const auto known = m_known.find(key); known != m_known.end()) {
            return known->second;
        }
        // A win at once first, then the cells nearest the centre, which cut the search most.
        static constexpr std::array<int, cells> order{5, 6, 9, 10, 2,  3,  12, 13,
                                                      1, 4, 7, 8,  11, 14, 0,  15};
        bool won = false;
        for (const int cell : order) {
            won = won || (((mine | theirs) >> cell & 1U) == 0 && joins(mine | 1U << cell, player));
        }
        for (const int cell : order) {
            won = won || (((mine | theirs) >> cell & 1U) == 0 &&
                          !wins(theirs, mine | 1U << cell, 3 - player));
        }
        m_known.emplace(key, won);
        return won;
    }

    std::array<std::uint32_t, cells> m_neighbours{};
    std::unordered_map<std::uint64_t, bool> m_known;
};

// Player 2 holds a won position before its sixth-move stone on 3.2 and a lost one after it;
// no other move of the game throws a win away. Player 1 then wins.
const std::vector<std::array<int, 2>> blunderGame{{0, 1}, {2, 1}, {3, 0}, {1, 1},
                                                  {2, 0}, {3, 2}, {1, 0}};

class ReviewCommandTest : public testing::Test {
protected:
    std::string record(const std::vector<std::array<int, 2>>& moves) const {
        std::string text = "4\r\n";
        for (const auto& move : moves) {
            text += std::to_string(move[0]) + "." + std::to_string(move[1]) + "\r\n";
        }
        writeBytes(directory / "game.txt", text);
        return (directory / "game.txt").string();
    }

    TempDirectory directory;
};

// The review sees the won positions by the solver's exact values, and every move that turns
// a won position into a lost one is a blunder; the SGF written beside carries the labels.
TEST_F(ReviewCommandTest, AMoveThatThrowsAWinAwayIsABlunder) {
    const std::string sgf = (directory / "game.sgf").string();
    const CliRun run = runReview(
        {"review", record(blunderGame), "--playouts", "3000", "--threads", "1", "--sgf", sgf});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json review = Json::parse(run.out);
    EXPECT_EQ(review["size"], 4);
    ASSERT_EQ(review["moves"].size(), blunderGame.size());

    Solver4x4 solver;
    std::vector<bool> wonBefore;
    for (std::size_t k = 0; k <= blunderGame.size(); ++k) {
        wonBefore.push_back(solver.sideToMoveWins({blunderGame.begin(), blunderGame.begin() + k}));
    }
    int thrownAway = 0;
    for (std::size_t k = 0; k < blunderGame.size(); ++k) {
        const Json& move = review["moves"][k];
        EXPECT_EQ(move["number"], k + 1);
        EXPECT_EQ(move["player"], k % 2 + 1);
        EXPECT_EQ(move["win_rate_before"] > 0.5, wonBefore[k]) << move.dump();
        if (wonBefore[k] && wonBefore[k + 1]) { // the opponent wins after it
            ++thrownAway;
            EXPECT_EQ(move["label"], "blunder") << move.dump();
        }
    }
    EXPECT_EQ(thrownAway, 1);
    EXPECT_EQ(review["moves"][5]["move"], "c4");
    EXPECT_EQ(review["moves"][6]["win_rate_after"], 1.0);
    EXPECT_EQ(review["moves"][6]["proven_after"], true);
    for (const Json& player : review["players"]) {
        int blunders = 0;
        for (const Json& move : review["moves"]) {
            blunders += move["player"] == player["player"] && move["label"] == "blunder" ? 1 : 0;
        }
        EXPECT_EQ(player["blunder"], blunders) << player.dump();
    }
    EXPECT_NE(readBytes(sgf).find(";W[c4]C[White lost (best "), std::string::npos)
        << readBytes(sgf);
    EXPECT_NE(run.err.find("] 7/7"), std::string::npos) << run.err;

    // From the sixth move on, only the last two moves are searched, and the blunder is seen.
    const CliRun last = runReview(
        {"review", record(blunderGame), "--from", "6", "--playouts", "3000", "--threads", "1"});
    ASSERT_EQ(last.exitCode, 0) << last.err;
    const Json tail = Json::parse(last.out)["moves"];
    ASSERT_EQ(tail.size(), 2U);
    EXPECT_EQ(tail[0]["number"], 6);
    EXPECT_EQ(tail[0]["label"], "blunder");
    EXPECT_EQ(tail[1]["number"], 7);
    EXPECT_EQ(runReview({"review", record(blunderGame), "--from", "8"}).exitCode, 2);
}

TEST_F(ReviewCommandTest, RefusesWhatIsNoGameWithOneLine) {
    for (const std::vector<std::string>& args : {
             std::vector<std::string>{"review", (directory / "missing.txt").string()},
             std::vector<std::string>{"review", record({{1, 1}, {1, 1}})},
         }) {
        const CliRun run = runReview(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

} // namespace
