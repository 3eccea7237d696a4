#include "model/Board.h"
#include "model/BoardText.h"
#include "model/Game.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

namespace {

using Cells = std::vector<Hex::Coord>;

Hex::Board withStones(std::uint32_t size, int value, const Cells& cells) {
    Hex::Board board(size);
    for (const Hex::Coord c : cells) {
        board.cell(c.row, c.col, value);
    }
    return board;
}

// Independent judge: union-find over the six neighbours, with the two edges as extra nodes.
class UnionFind {
public:
    explicit UnionFind(int n) : m_parent(static_cast<std::size_t>(n)) {
        std::iota(m_parent.begin(), m_parent.end(), 0);
    }
    int find(int x) {
        while (m_parent[x] != x) {
            x = m_parent[x] = m_parent[m_parent[x]];
        }
        return x;
    }
    void join(int a, int b) { m_parent[find(a)] = find(b); }

private:
    std::vector<int> m_parent;
};

bool connects(const Hex::Board& board, int value, int direction) {
    const int n = static_cast<int>(board.size());
    const int first = n * n;
    const int last = n * n + 1;
    UnionFind sets(n * n + 2);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            if (board.at(r, c) != value) {
                continue;
            }
            const int along = direction == 0 ? r : c;
            if (along == 0) {
                sets.join(r * n + c, first);
            }
            if (along == n - 1) {
                sets.join(r * n + c, last);
            }
            const int offsets[3][2] = {{0, 1}, {1, -1}, {1, 0}};
            for (const auto& o : offsets) {
                const int nr = r + o[0];
                const int nc = c + o[1];
                if (nr >= 0 && nr < n && nc >= 0 && nc < n && board.at(nr, nc) == value) {
                    sets.join(r * n + c, nr * n + nc);
                }
            }
        }
    }
    return sets.find(first) == sets.find(last);
}

bool isChain(const Hex::Board& board, const Cells& chain, int value) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (board.at(chain[i].row, chain[i].col) != value) {
            return false;
        }
        if (i > 0 &&
            !board.isNeighbour(chain[i - 1].row, chain[i - 1].col, chain[i].row, chain[i].col)) {
            return false;
        }
    }
    return true;
}

TEST(WinDetection, EmptyBoardHasNoWinner) {
    const Hex::Game game(7, nullptr);
    EXPECT_EQ(game.winner(), 0);
    EXPECT_TRUE(game.winningPath().empty());
}

TEST(WinDetection, ChainsFollowTheSixNeighbours) {
    EXPECT_EQ(withStones(3, 1, {{0, 1}, {1, 1}, {2, 0}}).shortestConnection(1, 0),
              (Cells{{0, 1}, {1, 1}, {2, 0}}));
    EXPECT_TRUE(withStones(3, 1, {{0, 0}, {1, 1}, {2, 2}}).shortestConnection(1, 0).empty());
    EXPECT_EQ(withStones(3, 2, {{1, 0}, {1, 1}, {1, 2}}).shortestConnection(2, 1),
              (Cells{{1, 0}, {1, 1}, {1, 2}}));
}

TEST(WinDetection, TieBreaks) {
    // Equal lengths from start indices 1 and 4: index 1 wins.
    const Hex::Board equal = Hex::parseBoard(6, R"(
        . X . . X .
         . X . . X .
          . X . . X .
           . X . . X .
            . X . . X .
             . X . . X .)");
    EXPECT_EQ(equal.shortestConnection(1, 0).front(), (Hex::Coord{0, 1}));

    // A longer chain from index 0 loses to a shorter one from a later index.
    const Hex::Board shorter = Hex::parseBoard(5, R"(
        X . . X .
         X X . X .
          . X . X .
           . X . X .
            X . . X .)");
    EXPECT_EQ(shorter.connectionFrom(1, 0, 0).size(), 6u);
    EXPECT_EQ(shorter.shortestConnection(1, 0), (Cells{{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}));

    // From one start cell the first chain in neighbour order wins.
    const Hex::Board twoWays = withStones(3, 1, {{0, 1}, {1, 0}, {1, 1}, {2, 0}});
    EXPECT_EQ(twoWays.shortestConnection(1, 0), (Cells{{0, 1}, {1, 0}, {2, 0}}));
}

TEST(WinDetection, ChainMayRunAlongTheFirstEdge) {
    const Hex::Board board = withStones(4, 1, {{0, 3}, {0, 2}, {0, 1}, {1, 0}, {2, 0}, {3, 0}});
    EXPECT_EQ(board.connectionFrom(1, 0, 3),
              (Cells{{0, 3}, {0, 2}, {0, 1}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(board.connectionFrom(1, 0, 2).size(), 5u);
    EXPECT_EQ(board.shortestConnection(1, 0), (Cells{{0, 1}, {1, 0}, {2, 0}, {3, 0}}));
}

TEST(WinDetection, TinyBoards) {
    Hex::Board one(1);
    one.cell(0, 0, 1);
    EXPECT_TRUE(one.shortestConnection(1, 0).empty());
    one.cell(0, 0, 2);
    EXPECT_TRUE(one.shortestConnection(2, 1).empty());

    const Hex::Board two = withStones(2, 1, {{0, 1}, {1, 0}});
    EXPECT_EQ(two.shortestConnection(1, 0), (Cells{{0, 1}, {1, 0}}));
    EXPECT_TRUE(withStones(2, 1, {{0, 0}}).shortestConnection(1, 0).empty());
}

TEST(WinDetection, GameReportsTheWinnerAndItsChain) {
    // Player 1 (even entries) runs down column 1; Player 2's stones are scattered.
    const Hex::Game p1Wins(3, Cells{{0, 1}, {0, 0}, {1, 1}, {0, 2}, {2, 0}});
    EXPECT_EQ(p1Wins.winner(), 1);
    EXPECT_EQ(p1Wins.winningPath(), (Cells{{0, 1}, {1, 1}, {2, 0}}));

    // Player 2 (odd entries) crosses row 1.
    const Hex::Game p2Wins(3, Cells{{0, 0}, {1, 0}, {2, 2}, {1, 1}, {0, 2}, {1, 2}});
    EXPECT_EQ(p2Wins.winner(), 2);
    EXPECT_EQ(p2Wins.winningPath(), (Cells{{1, 0}, {1, 1}, {1, 2}}));
}

// Random boards of sizes 2 to 30 against the union-find judge; each chain found must be a
// real chain of the player's stones from edge to edge.
TEST(WinDetection, AgreesWithUnionFindOnRandomBoards) {
    std::mt19937 random(20261206);
    for (int trial = 0; trial < 3000; ++trial) {
        const auto n = static_cast<std::uint32_t>(2 + trial % 29);
        const double fill = 0.3 + 0.6 * (trial % 7) / 6.0;
        Hex::Board board(n);
        std::uniform_real_distribution<double> coin(0.0, 1.0);
        for (std::uint32_t r = 0; r < n; ++r) {
            for (std::uint32_t c = 0; c < n; ++c) {
                if (coin(random) < fill) {
                    board.cell(r, c, coin(random) < 0.5 ? 1 : 2);
                }
            }
        }
        for (int player = 1; player <= 2; ++player) {
            const int direction = player - 1;
            const Cells chain = board.shortestConnection(player, direction);
            ASSERT_EQ(!chain.empty(), connects(board, player, direction))
                << "size " << n << " player " << player << "\n"
                << Hex::toText(board);
            if (!chain.empty()) {
                ASSERT_TRUE(isChain(board, chain, player));
                const Hex::Coord first = chain.front();
                const Hex::Coord last = chain.back();
                EXPECT_EQ(direction == 0 ? first.row : first.col, 0);
                EXPECT_EQ(direction == 0 ? last.row : last.col, static_cast<int>(n) - 1);
            }
        }
    }
}

} // namespace
