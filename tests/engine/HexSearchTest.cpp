#include "engine/HexSearch.h"
#include "engine/PathFinder.h"
#include "engine/Weights.h"
#include "model/BoardText.h"

#include "support/FakeClock.h"
#include "support/RecordingSink.h"

#include <gtest/gtest.h>

#include <functional>
#include <variant>

namespace {

using Cells = std::vector<Hex::Coord>;

Path path(Cells cells, double cost) {
    return Path{std::move(cells), cost};
}

// Records what is posted, after running the test's hook on it (on the posting thread).
struct HookedSink : RecordingSink {
    std::function<void(const Message&)> onPost;
    void post(Message message) override {
        if (onPost) {
            onPost(message);
        }
        RecordingSink::post(std::move(message));
    }
};

// A search over one root whose path lists the test writes by hand, so that the candidate
// moves follow from the rules alone (the path finders are never asked). Whole searches of real
// positions are pinned by the pinned searches.
struct Fixture {
    Fixture(std::uint32_t n, const std::string& board, std::vector<Path> pathsP1,
            std::vector<Path> pathsP2, int rootType = TreeNode::player1ToMove)
        : player1(n, 0, 1), player2(n, 1, 2) {
        player1.setWeights(&weights);
        player2.setWeights(&weights);
        auto root =
            std::make_unique<HexNode>(nullptr, rootType, Hex::noMove, Hex::parseBoard(n, board));
        root->pathsP1() = std::move(pathsP1);
        root->pathsP2() = std::move(pathsP2);
        search = std::make_unique<HexSearch>(
            10, std::move(root), HexSearch::Owner{player1, player2, stopped}, sink, clock);
    }

    Cells childMoves() {
        Cells moves;
        for (const auto& child : search->root().children) {
            moves.push_back(child->move);
        }
        return moves;
    }

    Weights weights = defaultWeights;
    PathFinder player1;
    PathFinder player2;
    std::atomic<bool> stopped{false};
    HookedSink sink;
    FakeClock clock;
    std::unique_ptr<HexSearch> search;
};

constexpr const char* empty3 = ". . .  . . .  . . .";

TEST(HexSearch, ASingleCrossingWithoutBlocksIsTheOnlyMoveAndIsPlayed) {
    // Player 2's path runs through its own stone next to the crossing, so no empty cell of
    // it touches the crossing.
    Fixture f(3, ". . .  . O .  . . .", {path({{2, 2}, {1, 2}, {0, 2}}, 2.0)},
              {path({{1, 2}, {1, 1}, {1, 0}}, 1.0)});
    int row = -1;
    int col = -1;
    f.search->run(row, col);
    EXPECT_EQ((Hex::Coord{row, col}), (Hex::Coord{1, 2}));
    EXPECT_EQ(f.childMoves(), (Cells{{1, 2}}));
}

// Player 1 to move blocks on Player 2's path, where a blocking neighbour may repeat a
// crossing; Player 2 blocks on Player 1's paths, whose cells outside row 1 keep marks of 1.
TEST(HexSearch, TheSideToMoveBlocksOnTheOtherSidesPaths) {
    const std::pair<int, Cells> cases[] = {
        {TreeNode::player1ToMove, {{1, 1}, {1, 2}, {1, 0}, {1, 2}, {1, 1}}},
        {TreeNode::player2ToMove, {{1, 1}, {1, 2}, {0, 1}, {0, 2}, {2, 1}, {2, 2}}}};
    for (const auto& [toMove, candidates] : cases) {
        Fixture f(3, empty3,
                  {path({{2, 1}, {1, 1}, {0, 1}}, 2.0), path({{2, 2}, {1, 2}, {0, 2}}, 2.0)},
                  {path({{1, 2}, {1, 1}, {1, 0}}, 2.0)}, toMove);
        EXPECT_EQ(f.search->candidateMoves(static_cast<HexNode&>(f.search->root())), candidates)
            << toMove;
    }
}

TEST(HexSearch, NearBestCutKeepsTheLeadingPathsWithinAQuarterOfTheCheapest) {
    const Path a = path({{2, 1}, {1, 1}, {0, 1}}, 2.0);
    const Path b = path({{2, 0}, {1, 0}, {0, 0}}, 2.5);
    const Path c = path({{2, 2}, {1, 2}, {0, 2}}, 2.6);
    const Path d = path({{2, 2}, {1, 2}, {0, 2}}, 2.0);
    const Path across = path({{1, 2}, {1, 1}, {1, 0}}, 4.0);
    Fixture f(3, empty3, {a, b, c, d}, {across, path(across.cells, 5.0), path(across.cells, 5.1)});
    auto& root = static_cast<HexNode&>(f.search->root());
    f.search->expand(root);
    EXPECT_EQ(root.pathsP1().size(), 2u);
    EXPECT_EQ(root.pathsP2().size(), 2u);

    // The root's lists are published as cut, Player 1's first.
    const auto published = f.sink.all<WmAppShowPaths>();
    ASSERT_EQ(published.size(), 2u);
    EXPECT_EQ(published[0].player, 1);
    EXPECT_EQ(published[0].paths, (std::vector<Path>{a, b}));
    EXPECT_EQ(published[1].player, 2);
    EXPECT_EQ(published[1].paths.size(), 2u);
    // Only the root publishes.
    ASSERT_GT(f.search->expand(*root.children.front()), 0);
    EXPECT_EQ(f.sink.all<WmAppShowPaths>().size(), 2u);

    Fixture zero(3, empty3, {path(a.cells, 0.0), path(b.cells, 0.0), path(c.cells, 0.5)}, {across});
    auto& zeroRoot = static_cast<HexNode&>(zero.search->root());
    zero.search->candidateMoves(zeroRoot);
    EXPECT_EQ(zeroRoot.pathsP1().size(), 2u);
}

TEST(HexSearch, AStoppedPlayerExpandsNothingAndPostsNothing) {
    Fixture f(3, empty3, {path({{2, 1}, {1, 1}, {0, 1}}, 2.0)},
              {path({{1, 2}, {1, 1}, {1, 0}}, 2.0)});
    f.stopped = true;
    EXPECT_EQ(f.search->expand(f.search->root()), 3); // (1, 1) and its blocks (1, 0), (1, 2)
    EXPECT_TRUE(f.search->root().children.empty());
    EXPECT_TRUE(f.sink.messages().empty());
}

// The watcher may stop the game between the expansion's test of the search's stop flag and
// its test of the player's stop mark: the root's only candidate then has no child, and the
// search must end without a move instead of reading a child that is not there.
TEST(HexSearch, AStopDuringTheFirstExpansionOfASingleMoveEndsWithoutAMove) {
    Fixture f(3, ". . .  . O .  . . .", {path({{2, 2}, {1, 2}, {0, 2}}, 2.0)},
              {path({{1, 2}, {1, 1}, {1, 0}}, 1.0)});
    f.sink.onPost = [&f](const Message& message) {
        if (std::holds_alternative<WmAppShowPaths>(message)) {
            f.stopped = true; // the watcher's two steps, in its order
            f.search->stop();
        }
    };
    int row = -1;
    int col = -1;
    f.search->run(row, col);
    EXPECT_TRUE(f.search->root().children.empty());
    EXPECT_EQ((Hex::Coord{row, col}), Hex::noMove);
}

TEST(HexSearch, AWonPositionHasNoMovesAndADecidedValue) {
    // Player 1 joins the top and bottom: Player 2 has no path at all.
    Fixture f(3, ". X .  . X .  X . .", {}, {});
    auto& root = static_cast<HexNode&>(f.search->root());
    EXPECT_EQ(f.search->evaluate(root), 1.0);
    EXPECT_EQ(f.search->expand(root), 0);
    EXPECT_TRUE(root.children.empty());
}

} // namespace
