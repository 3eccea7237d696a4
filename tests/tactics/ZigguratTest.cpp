#include "tactics/Ziggurat.h"
#include "model/BoardText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr int side = 5;

// A ziggurat of X towards the top edge, leaning right (the stone on the first column) and
// left (on the second), its stone joined to the bottom edge and every cell outside the
// carrier taken by O: the position is the template's local game and nothing else.
const char* const leaningRight = ". . . . O  . . . O O  X . O O O  X O O O O  X O O O O";
const char* const leaningLeft = ". . . . O  . . . O O  . X O O O  O X O O O  O X O O O";

// The same board turned half round, or with rows and columns exchanged and the colours with
// them: the template on each edge of each player.
std::string transformed(const char* text, bool halfTurn, bool transpose) {
    std::vector<char> cells;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c != ' ') {
            cells.push_back(*c);
        }
    }
    std::string out;
    for (int row = 0; row < side; ++row) {
        for (int col = 0; col < side; ++col) {
            int r = halfTurn ? side - 1 - row : row;
            int c = halfTurn ? side - 1 - col : col;
            if (transpose) {
                std::swap(r, c);
            }
            char cell = cells[static_cast<std::size_t>(r * side + c)];
            if (transpose && cell != '.') {
                cell = cell == 'X' ? 'O' : 'X';
            }
            out += cell;
            out += ' ';
        }
    }
    return out;
}

// Exhaustive search: does `owner` win, `toMove` to move, every empty cell played out?
bool ownerWins(PlayoutBoard& board, int owner, int toMove) {
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (board.at(cell) != PlayoutBoard::empty) {
            continue;
        }
        board.set(cell, static_cast<std::uint8_t>(toMove));
        const bool wins = ownerWins(board, owner, 3 - toMove);
        board.set(cell, PlayoutBoard::empty);
        if (wins == (toMove == owner)) {
            return wins;
        }
    }
    bool full = true;
    for (int cell = board.firstCell(); cell < board.endCell() && full; ++cell) {
        full = board.at(cell) != PlayoutBoard::empty;
    }
    return full ? board.connects(owner) : toMove != owner;
}

// On all eight placements the template holds against every intrusion, and the answers that it
// gives are exactly the cells that keep the connection, where the intrusion threatens it.
TEST(ZigguratTest, EveryPlacementHoldsAndIsAnsweredWhereTheSearchSays) {
    int threatening = 0;
    for (const char* base : {leaningRight, leaningLeft}) {
        for (const bool halfTurn : {false, true}) {
            for (const bool transpose : {false, true}) {
                const std::string text = transformed(base, halfTurn, transpose);
                PlayoutBoard board(Hex::parseBoard(side, text));
                const Ziggurat ziggurat(board);
                const int owner = transpose ? 2 : 1;
                ASSERT_TRUE(ownerWins(board, owner, 3 - owner)) << text;
                std::vector<int> carrier;
                for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
                    if (board.at(cell) == PlayoutBoard::empty) {
                        carrier.push_back(cell);
                    }
                }
                ASSERT_EQ(carrier.size(), 8u);
                for (const int intrusion : carrier) {
                    board.set(intrusion, static_cast<std::uint8_t>(3 - owner));
                    const bool threatens = !ownerWins(board, owner, 3 - owner);
                    std::set<int> holding;
                    for (const int answer : carrier) {
                        if (threatens && board.at(answer) == PlayoutBoard::empty) {
                            board.set(answer, static_cast<std::uint8_t>(owner));
                            if (ownerWins(board, owner, 3 - owner)) {
                                holding.insert(answer);
                            }
                            board.set(answer, PlayoutBoard::empty);
                        }
                    }
                    const Ziggurat::Answers found = ziggurat.answers(board, intrusion, owner);
                    const std::set<int> given(found.cells.begin(),
                                              found.cells.begin() + found.count);
                    EXPECT_EQ(given, holding) << text << " intrusion " << intrusion;
                    EXPECT_TRUE(!threatens || !holding.empty()) << text;
                    EXPECT_TRUE(ziggurat.answers(board, intrusion, 3 - owner).count == 0);
                    threatening += threatens ? 1 : 0;
                    board.set(intrusion, PlayoutBoard::empty);
                }
            }
        }
    }
    EXPECT_GT(threatening, 0);
}

// A carrier cell already taken, or a stone off the third row, is no ziggurat.
TEST(ZigguratTest, ABrokenOrMisplacedCarrierIsNoTemplate) {
    const struct {
        const char* board;
        Hex::Coord intrusion;
    } cases[] = {
        {". . . O .  . . . . .  X . . . .  . . . . .  . . . . .", {1, 0}}, // (0, 3) taken
        {". . . . .  . . . . .  . . . . .  X . . . .  . . . . .", {2, 0}}, // on the fourth row
    };
    for (const auto& sample : cases) {
        PlayoutBoard board(Hex::parseBoard(side, sample.board));
        const Ziggurat ziggurat(board);
        const int intrusion = board.index(sample.intrusion);
        board.set(intrusion, PlayoutBoard::player2);
        EXPECT_EQ(ziggurat.answers(board, intrusion, 1).count, 0u) << sample.board;
    }
}

} // namespace
