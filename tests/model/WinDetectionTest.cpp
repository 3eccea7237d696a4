#include "model/Board.h"
#include "model/BoardText.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Cells = std::vector<Hex::Coord>;

// Independent judge: a flood fill from the first edge over the six neighbours.
bool connects(const Hex::Board& board, int value, int direction) {
    const int n = static_cast<int>(board.size());
    std::vector<bool> seen(static_cast<std::size_t>(n * n));
    Cells todo;
    for (int i = 0; i < n; ++i) {
        todo.push_back(direction == 0 ? Hex::Coord{0, i} : Hex::Coord{i, 0});
    }
    while (!todo.empty()) {
        const auto [r, c] = todo.back();
        todo.pop_back();
        if (r < 0 || r >= n || c < 0 || c >= n || seen[r * n + c] || board.at(r, c) != value) {
            continue;
        }
        if ((direction == 0 ? r : c) == n - 1) {
            return true;
        }
        seen[r * n + c] = true;
        for (const auto& [dr, dc] : {std::pair{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}}) {
            todo.push_back(Hex::Coord{r + dr, c + dc});
        }
    }
    return false;
}

// Each chain found must be the player's stones, each next to the one before.
bool isChain(const Hex::Board& board, const Cells& chain, int value) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (board.at(chain[i].row, chain[i].col) != value ||
            (i > 0 &&
             !board.isNeighbour(chain[i - 1].row, chain[i - 1].col, chain[i].row, chain[i].col))) {
            return false;
        }
    }
    return true;
}

TEST(WinDetection, ShortestConnectionsOfSmallBoards) {
    const struct {
        std::uint32_t size;
        const char* board;
        int value;
        Cells chain;
    } cases[] = {
        {3, ". X .  . X .  X . .", 1, {{0, 1}, {1, 1}, {2, 0}}},
        {3, "X . .  . X .  . . X", 1, {}}, // the other diagonal is no neighbour
        {3, ". . .  O O O  . . .", 2, {{1, 0}, {1, 1}, {1, 2}}},
        {3, ". X .  X X .  X . .", 1, {{0, 1}, {1, 0}, {2, 0}}}, // first chain in neighbour order
        {1, "X", 1, {}}, // one cell touches both edges, but a chain needs two
        {1, "O", 2, {}},
        {2, ". X  X .", 1, {{0, 1}, {1, 0}}},
        {2, "X .  . .", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        EXPECT_EQ(Hex::parseBoard(c.size, c.board).shortestConnection(c.value, c.value - 1),
                  c.chain);
    }
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
}

TEST(WinDetection, ChainMayRunAlongTheFirstEdge) {
    const Hex::Board board = Hex::parseBoard(4, ". X X X  X . . .  X . . .  X . . .");
    EXPECT_EQ(board.connectionFrom(1, 0, 3),
              (Cells{{0, 3}, {0, 2}, {0, 1}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(board.connectionFrom(1, 0, 2).size(), 5u);
    EXPECT_EQ(board.shortestConnection(1, 0), (Cells{{0, 1}, {1, 0}, {2, 0}, {3, 0}}));
}

// Random boards of sizes 2 to 30 against the flood fill; each chain found must be a real
// chain of the player's stones from edge to edge.
TEST(WinDetection, AgreesWithAFloodFillOnRandomBoards) {
    std::mt19937 random(20261206);
    std::uniform_real_distribution<double> coin(0.0, 1.0);
    for (int trial = 0; trial < 3000; ++trial) {
        const auto n = static_cast<std::uint32_t>(2 + trial % 29);
        const double fill = 0.3 + 0.6 * (trial % 7) / 6.0;
        Hex::Board board(n);
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
                const auto along = [&](Hex::Coord cell) {
                    return direction == 0 ? cell.row : cell.col;
                };
                EXPECT_EQ(along(chain.front()), 0);
                EXPECT_EQ(along(chain.back()), static_cast<int>(n) - 1);
            }
        }
    }
}

} // namespace
