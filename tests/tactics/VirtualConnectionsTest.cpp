#include "tactics/VirtualConnections.h"
#include "tactics/PlayoutBoard.h"

#include "Minimax.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>

namespace {

PlayoutBoard withStones(int size, std::initializer_list<Hex::Coord> player1Stones) {
    PlayoutBoard board(size);
    for (const Hex::Coord stone : player1Stones) {
        board.set(board.index(stone), PlayoutBoard::player1);
    }
    return board;
}

// A chain across 5 x 5 and nothing else open: stones on (1,1), (2,2) and (3,3), joined by two
// bridges and to the edges by two edge templates, all other cells Player 2's.
PlayoutBoard corridor() {
    PlayoutBoard board = withStones(5, {{1, 1}, {2, 2}, {3, 3}});
    const std::vector<Hex::Coord> carrier = {{0, 1}, {0, 2}, {1, 2}, {2, 1},
                                             {2, 3}, {3, 2}, {4, 2}, {4, 3}};
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        const Hex::Coord place = board.coord(cell);
        if (board.at(cell) == PlayoutBoard::empty &&
            std::find(carrier.begin(), carrier.end(), place) == carrier.end()) {
            board.set(cell, PlayoutBoard::player2);
        }
    }
    return board;
}

std::vector<int> openCells(const PlayoutBoard& board) {
    std::vector<int> cells;
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (board.at(cell) == PlayoutBoard::empty) {
            cells.push_back(cell);
        }
    }
    return cells;
}

// Bridges and edge templates in a chain join the edges through exactly their carriers; an
// intrusion leaves the one answer as the winning cell, and so does the chain's missing link.
TEST(VirtualConnectionsTest, BridgesAndEdgeTemplatesChain) {
    VirtualConnections vcs;
    const PlayoutBoard chain = corridor();
    vcs.compute(chain, 1);
    EXPECT_TRUE(vcs.connected());
    for (const int cell : openCells(chain)) {
        EXPECT_TRUE(vcs.mustPlay(cell)) << cell;
    }
    vcs.compute(chain, 2);
    EXPECT_FALSE(vcs.threatens());

    PlayoutBoard intruded = chain;
    intruded.set(intruded.index(1, 2), PlayoutBoard::player2);
    vcs.compute(intruded, 1);
    EXPECT_FALSE(vcs.connected());
    EXPECT_EQ(vcs.winningCells(), std::vector<int>{intruded.index(2, 1)});

    PlayoutBoard gap = chain;
    gap.set(gap.index(2, 2), PlayoutBoard::empty);
    vcs.compute(gap, 1);
    EXPECT_EQ(vcs.winningCells(), std::vector<int>{gap.index(2, 2)});
    for (const int cell : openCells(gap)) {
        EXPECT_TRUE(vcs.mustPlay(cell)) << cell;
    }
}

// The centre of 5 x 5 wins: a ziggurat to each edge, found by the rules from adjacency alone.
TEST(VirtualConnectionsTest, TheCentreOfFiveByFiveReachesBothEdges) {
    VirtualConnections vcs;
    vcs.compute(withStones(5, {{2, 2}}), 1);
    EXPECT_TRUE(vcs.connected());
    vcs.compute(withStones(5, {{2, 2}}), 2);
    EXPECT_FALSE(vcs.threatens());
}

// Against exhaustive search on random 4 x 4 and 5 x 5 positions, for both players: a full
// connection wins whoever moves, a winning cell wins, and every move of the other side outside
// the must-play region loses.
TEST(VirtualConnectionsTest, EveryConnectionHoldsOnRandomPositions) {
    std::mt19937 random(20261208);
    VirtualConnections vcs;
    int connected = 0;
    int threats = 0;
    for (const int size : {4, 5}) {
        Minimax minimax;
        for (int position = 0; position < 150; ++position) {
            // Few enough empty cells for the exhaustive search: 4 to 12.
            const int stones = size * size - 4 - static_cast<int>(random() % 9);
            PlayoutBoard board = randomPosition(random, size, stones);
            for (const int player : {1, 2}) {
                if (board.connects(1) || board.connects(2)) {
                    continue;
                }
                vcs.compute(board, player);
                const int other = 3 - player;
                if (vcs.connected()) {
                    ++connected;
                    ASSERT_FALSE(minimax.wins(board, other));
                }
                for (const int key : vcs.winningCells()) {
                    board.set(key, static_cast<std::uint8_t>(player));
                    ASSERT_TRUE(board.connects(player) || !minimax.wins(board, other));
                    board.set(key, PlayoutBoard::empty);
                }
                if (!vcs.threatens()) {
                    continue;
                }
                ++threats;
                for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
                    if (board.at(cell) != PlayoutBoard::empty || vcs.mustPlay(cell)) {
                        continue;
                    }
                    board.set(cell, static_cast<std::uint8_t>(other));
                    ASSERT_TRUE(minimax.wins(board, player)) << "size " << size;
                    board.set(cell, PlayoutBoard::empty);
                }
            }
        }
    }
    EXPECT_GT(connected, 20);
    EXPECT_GT(threats, 100);
}

} // namespace
