#include "mcts/MctsSearch.h"
#include "model/BoardText.h"
#include "tactics/PlayoutBoard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

// The moves that give a board: its X and O stones in turn, X first (the order does not
// matter to the search, only the stones and the side to move).
MctsSearch::Position positionOf(std::uint32_t size, const char* text, bool swapRule = false) {
    const Hex::Board board = Hex::parseBoard(size, text);
    std::vector<Hex::Coord> stones[2];
    for (int row = 0; row < static_cast<int>(size); ++row) {
        for (int col = 0; col < static_cast<int>(size); ++col) {
            if (board.at(row, col) != 0) {
                stones[board.at(row, col) - 1].push_back({row, col});
            }
        }
    }
    MctsSearch::Position position{size, {}, swapRule};
    for (std::size_t i = 0; i < stones[0].size() + stones[1].size(); ++i) {
        position.moves.push_back(stones[i % 2].at(i / 2));
    }
    return position;
}

MctsSearch::Result searchPlayouts(MctsSearch& search, std::uint64_t playouts) {
    const std::atomic<bool> notStopped{false};
    MctsSearch::Limits limits;
    limits.playouts = playouts;
    return search.run(limits, notStopped);
}

// Positions whose answer was checked by an exhaustive search: the winning move is found with
// a high win rate, and a lost position has a low one.
TEST(MctsSearchTest, FindsTheWinningMoveOfSolvedPositions) {
    const struct {
        const char* name;
        std::uint32_t size;
        const char* board;
        std::vector<Hex::Coord> expected; // any of these; none: the position is lost
    } cases[] = {
        {"one-move win", 4, ". X . .  . X . .  . . O .  X O . O", {{2, 0}, {2, 1}}},
        {"forced block", 4, ". . . .  . X O O  O . . .  . X . X", {{2, 1}}},
        {"3x3, the centre", 3, "X . O  . . .  . . .", {{1, 1}}},
        {"4x4, one winning move", 4, ". . . .  . . O .  . . . O  X . . X", {{1, 1}}},
        {"lost", 4, ". . X O  O . . .  X . . .  X . . .", {}},
    };
    for (const auto& test : cases) {
        MctsSearch search(MctsSearch::Config{});
        search.setPosition(positionOf(test.size, test.board));
        const MctsSearch::Result result = searchPlayouts(search, 20000);
        if (test.expected.empty()) {
            EXPECT_LT(result.winRate, 0.5) << test.name;
            continue;
        }
        const auto& wins = test.expected;
        EXPECT_NE(std::find(wins.begin(), wins.end(), result.move), wins.end())
            << test.name << ": played " << result.move.row << "," << result.move.col;
        EXPECT_GT(result.winRate, 0.5) << test.name;
    }
}

// With the swap offered, Player 2 takes over the strong centre stone of a small board, whatever
// the seed: a swap that loses its first playouts is still tried again.
TEST(MctsSearchTest, TakesTheSwapOfACentreStone) {
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        MctsSearch::Config config;
        config.seed = seed;
        MctsSearch search(config);
        search.setPosition(MctsSearch::Position{5, {{2, 2}}, true});
        const MctsSearch::Result result = searchPlayouts(search, 20000);
        EXPECT_EQ(result.move, (Hex::Coord{5, 5})) << "seed " << seed;
        EXPECT_GT(result.winRate, 0.5) << "seed " << seed;
    }
}

// The principal variation follows the most visited replies from the root move asked for.
TEST(MctsSearchTest, ThePrincipalVariationFollowsTheMostVisitedReplies) {
    MctsSearch search(MctsSearch::Config{});
    search.setPosition(MctsSearch::Position{5, {{2, 2}}, true});
    searchPlayouts(search, 5000);
    const MctsSearch::RootMove best = search.rootMoves(1).front();
    const std::vector<Hex::Coord> line = search.principalVariation(best.move, 4);
    ASSERT_EQ(line.size(), 4U);
    EXPECT_EQ(line.front(), best.move);
    ASSERT_TRUE(search.setPosition(MctsSearch::Position{5, {{2, 2}, line[0]}, true}));
    EXPECT_EQ(search.rootMoves(1).front().move, line[1]);
    EXPECT_TRUE(search.principalVariation(Hex::Coord{2, 2}, 4).empty()) << "no root move";
}

// The reply to each move selects the subtree, with its statistics; anything else starts
// afresh.
TEST(MctsSearchTest, KeepsTheSubtreeOfTheMovesPlayed) {
    MctsSearch search(MctsSearch::Config{});
    EXPECT_FALSE(search.setPosition(MctsSearch::Position{5, {}, true}));
    searchPlayouts(search, 5000);
    const MctsSearch::RootMove first = search.rootMoves(1).front();

    ASSERT_TRUE(search.setPosition(MctsSearch::Position{5, {first.move}, true}));
    EXPECT_EQ(search.rootVisits(), first.visits);
    const auto replies = search.rootMoves(1000);
    const auto swap = std::find_if(replies.begin(), replies.end(), [](const auto& reply) {
        return reply.move == Hex::Coord{5, 5};
    });
    ASSERT_NE(swap, replies.end()) << "the swap is one of the replies";

    ASSERT_TRUE(search.setPosition(MctsSearch::Position{5, {first.move, {5, 5}}, true}));
    EXPECT_EQ(search.rootVisits(), swap->visits);
    const std::size_t kept = search.nodeCount();
    searchPlayouts(search, 1000);
    EXPECT_GT(search.nodeCount(), kept);

    const Hex::Coord other = first.move == Hex::Coord{0, 0} ? Hex::Coord{0, 1} : Hex::Coord{0, 0};
    EXPECT_FALSE(search.setPosition(MctsSearch::Position{5, {other}, true}));
    EXPECT_EQ(search.rootVisits(), 0U);
    EXPECT_THROW(search.setPosition(MctsSearch::Position{5, {other, other}, true}),
                 std::invalid_argument);
    EXPECT_THROW(search.setPosition(MctsSearch::Position{5, {other, {5, 5}}, false}),
                 std::invalid_argument);
}

TEST(MctsSearchTest, StaysUnderItsMemoryCeiling) {
    MctsSearch::Config config;
    config.treeBytes = 64 * 1024;
    MctsSearch search(config);
    search.setPosition(MctsSearch::Position{7, {}, false});
    const MctsSearch::Result result = searchPlayouts(search, 20000);
    EXPECT_EQ(result.playouts, 20000U);
    EXPECT_LE(result.treeBytes, config.treeBytes); // counted as held, chunks and all
    EXPECT_TRUE(result.move.row >= 0 && result.move.row < 7 && result.move.col >= 0 &&
                result.move.col < 7);
}

// A small position goes to the solver first: a win is played before any playout, shown as
// proven and first; a lost one plays a move that is proven lost like all the others. Without the
// solver the search itself runs.
TEST(MctsSearchTest, TheSolverAnswersSmallPositionsAtOnce) {
    const MctsSearch::Position won = positionOf(4, ". . . .  . . O .  . . . O  X . . X");
    MctsSearch search(MctsSearch::Config{});
    search.setPosition(won);
    const MctsSearch::Result result = searchPlayouts(search, 20000);
    EXPECT_EQ(result.move, (Hex::Coord{1, 1}));
    EXPECT_EQ(result.winRate, 1.0);
    EXPECT_EQ(result.playouts, 0U);
    const MctsSearch::RootMove best = search.rootMoves(1).front(); // a proven win leads
    EXPECT_EQ(best.move, (Hex::Coord{1, 1}));
    EXPECT_TRUE(best.proven && best.winRate == 1.0);
    EXPECT_EQ(search.principalVariation({1, 1}, 5), (std::vector<Hex::Coord>{{1, 1}}));

    MctsSearch::Position lostPosition = positionOf(4, ". . X O  O . . .  X . . .  X . . .");
    search.setPosition(lostPosition);
    const MctsSearch::Result lost = searchPlayouts(search, 20000);
    EXPECT_EQ(lost.playouts, 0U);
    EXPECT_EQ(lost.winRate, 0.0);
    Hex::Coord other = Hex::noMove;
    for (const MctsSearch::RootMove& move : search.rootMoves(100)) {
        EXPECT_TRUE(move.proven && move.winRate == 0.0);
        other = move.move != lost.move ? move.move : other;
    }
    // Another losing move leads to a position proven won, whose winning move is found again.
    lostPosition.moves.push_back(other);
    search.setPosition(lostPosition);
    const MctsSearch::Result next = searchPlayouts(search, 20000);
    EXPECT_EQ(next.winRate, 1.0);
    EXPECT_EQ(next.playouts, 0U);

    MctsSearch::Config off;
    off.solver = false;
    MctsSearch unsolved(off);
    unsolved.setPosition(won);
    EXPECT_GT(searchPlayouts(unsolved, 2000).playouts, 0U);
}

// With the connections read at nodes that have had their simulations, a root with a winning
// cell (the link between two stones each joined to its edge) is proven won, and a root lost
// to the centre of 5 x 5 has every move proven lost, long before the search alone (the solver
// off) could prove either.
TEST(MctsSearchTest, VirtualConnectionsProveWinsAndLosses) {
    MctsSearch::Config config;
    config.solver = false;
    for (const bool connections : {true, false}) {
        config.connections = connections;
        MctsSearch search(config);
        search.setPosition(MctsSearch::Position{5, {{1, 1}, {0, 4}, {3, 3}, {4, 0}}, false});
        searchPlayouts(search, 2 * config.connectionVisits);
        const MctsSearch::RootMove best = search.rootMoves(1).front();
        EXPECT_EQ(best.proven && best.winRate == 1.0, connections);

        search.setPosition(MctsSearch::Position{5, {{2, 2}}, false});
        searchPlayouts(search, 30 * config.connectionVisits);
        const std::vector<MctsSearch::RootMove> moves = search.rootMoves(100);
        ASSERT_EQ(moves.size(), 24U);
        const bool allLost = std::all_of(moves.begin(), moves.end(), [](const auto& move) {
            return move.proven && move.winRate == 0.0;
        });
        EXPECT_EQ(allLost, connections);
    }
}

// Cells that the fill-in takes get no root move, and a move after which the filled-in board
// joins the edges (a stone on the fourth row, its edge cells then captured) is proven once it
// has been visited enough.
TEST(MctsSearchTest, InferiorCellsPruneAndProve) {
    MctsSearch::Config config;
    config.solver = false;
    config.inferiorVisits = 20;
    for (const bool inferior : {true, false}) {
        config.inferior = inferior;
        MctsSearch search(config);
        search.setPosition(MctsSearch::Position{5, {{1, 2}, {0, 0}, {2, 2}, {4, 4}}, false});
        searchPlayouts(search, 1000);
        const std::vector<MctsSearch::RootMove> moves = search.rootMoves(100);
        // Two edge cells that the second-row stone captures, and a corner that a neighbour
        // kills.
        const bool edgeCellsSkipped = std::none_of(moves.begin(), moves.end(), [](const auto& m) {
            return m.move == Hex::Coord{0, 2} || m.move == Hex::Coord{0, 3} ||
                   m.move == Hex::Coord{4, 0};
        });
        EXPECT_EQ(edgeCellsSkipped, inferior);
        EXPECT_EQ(moves.front().proven && moves.front().winRate == 1.0, inferior);
    }
}

// Lost to two winning cells of Player 2, Player 1 still blocks one of them once the search
// has proved every move lost (by the cells the winner's connections need).
TEST(MctsSearchTest, ALostRootStillResists) {
    MctsSearch::Config config;
    config.solver = false;
    MctsSearch search(config);
    search.setPosition(positionOf(5, "X . . . X  . . . O O  O O . . .  . . . . X  . . . . X"));
    const Hex::Coord played = searchPlayouts(search, 5000).move;
    EXPECT_TRUE(played == (Hex::Coord{1, 2}) || played == (Hex::Coord{2, 2}))
        << played.row << played.col;
}

TEST(MctsSearchTest, AFinishedGameHasNoMove) {
    MctsSearch search(MctsSearch::Config{});
    search.setPosition(positionOf(3, "X O .  X O .  X . ."));
    EXPECT_EQ(searchPlayouts(search, 100).move, Hex::noMove);
}

// One thread, one seed and a count of playouts make the search exact: this pins its move and
// its statistics, so that a change meant only to be faster can prove that it changed nothing.
TEST(MctsSearchTest, AFixedSearchIsPinned) {
    MctsSearch::Config config;
    config.seed = 7;
    MctsSearch search(config);
    search.setPosition(MctsSearch::Position{9, {{4, 4}, {2, 5}}, true});
    const MctsSearch::Result result = searchPlayouts(search, 30000);
    const MctsSearch::RootMove best = search.rootMoves(1).front();
    EXPECT_EQ(result.move, (Hex::Coord{3, 3}));
    EXPECT_EQ(best.visits, 21985U);
    EXPECT_EQ(result.nodes, 88017U);
}

// With priors a new node's moves start from their learned pattern weights: the first few
// playouts go to saving the intruded bridge, which a strong player answers at once.
TEST(MctsSearchTest, PriorsTryTheLearnedMoveFirst) {
    MctsSearch::Config config;
    config.priors = true;
    MctsSearch search(config);
    search.setPosition(positionOf(7, ". . . . . . O  "
                                     ". . . . . . .  "
                                     ". . X . . . .  "
                                     ". O . . . . .  "
                                     ". X . . . . .  "
                                     ". . . . . . .  "
                                     ". . . . . . ."));
    searchPlayouts(search, 20);
    EXPECT_EQ(search.rootMoves(1).front().move, (Hex::Coord{3, 2}));
}

} // namespace
