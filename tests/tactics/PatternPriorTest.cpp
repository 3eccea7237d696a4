#include "tactics/PatternPrior.h"
#include "model/BoardText.h"

#include <gtest/gtest.h>

namespace {

// X stones near the top edge and the top-right corner, O stones near them, so that the
// patterns hold both colours, both kinds of edge and a corner.
const char* const position = ". . . . X  "
                             ". . X O .  "
                             ". . . X .  "
                             ". O . . .  "
                             ". . . . .";

// The board turned by 180 degrees, or reflected in its long diagonal with the colours
// exchanged: the same game for the same side, or for the other side.
PlayoutBoard transformed(const PlayoutBoard& board, bool reflect) {
    const int n = board.size();
    PlayoutBoard result(n);
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const std::uint8_t value = board.at(board.index(row, col));
            if (reflect) {
                result.set(result.index(col, row),
                           static_cast<std::uint8_t>(value == 0 ? 0 : 3 - value));
            } else {
                result.set(result.index(n - 1 - row, n - 1 - col), value);
            }
        }
    }
    return result;
}

TEST(PatternPriorTest, TwinPositionsGiveTheSameKey) {
    const PlayoutBoard board(Hex::parseBoard(5, position));
    const PlayoutBoard turned = transformed(board, false);
    const PlayoutBoard reflected = transformed(board, true);
    bool asymmetric = false;
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 5; ++col) {
            const int cell = board.index(row, col);
            if (board.at(cell) != PlayoutBoard::empty) {
                continue;
            }
            for (const int toMove : {1, 2}) {
                const std::uint64_t code = PatternPrior::code(board, cell, toMove);
                EXPECT_EQ(PatternPrior::canonical(code),
                          PatternPrior::canonical(
                              PatternPrior::code(turned, turned.index(4 - row, 4 - col), toMove)))
                    << row << "," << col;
                EXPECT_EQ(code,
                          PatternPrior::code(reflected, reflected.index(col, row), 3 - toMove))
                    << row << "," << col;
                asymmetric = asymmetric || code != PatternPrior::rotated(code);
            }
        }
    }
    EXPECT_TRUE(asymmetric); // the rotation is not the identity on these patterns
    // The colour decides: X and O see the same cell differently.
    const int cell = board.index(2, 2);
    EXPECT_NE(PatternPrior::code(board, cell, 1), PatternPrior::code(board, cell, 2));
}

TEST(PatternPriorTest, WeightsComeFromTheTableSmoothed) {
    const PlayoutBoard board(Hex::parseBoard(5, position));
    const int learned = board.index(2, 2);
    const int innerOnly = board.index(1, 1);
    const int unseen = board.index(4, 4); // by the corner, no stone near
    const std::uint64_t code = PatternPrior::code(board, learned, 1);
    const std::uint64_t innerCode = PatternPrior::code(board, innerOnly, 1);
    const LearnedPattern inner[] = {
        {PatternPrior::canonical(code & PatternPrior::innerMask), 10, 20},
        {PatternPrior::canonical(innerCode & PatternPrior::innerMask), 0, 80},
    };
    const LearnedPattern outer[] = {{PatternPrior::canonical(code), 30, 40}};
    const PatternPrior prior(inner, outer);
    const double average = 10.0 / 100.0;
    const double innerWeight = (10 + 20 * average) / (20 + 20.0);
    EXPECT_FLOAT_EQ(prior.average(), average);
    EXPECT_FLOAT_EQ(prior.weight(board, learned, 1), (30 + 20 * innerWeight) / (40 + 20.0));
    EXPECT_FLOAT_EQ(prior.weight(board, innerOnly, 1), (0 + 20 * average) / (80 + 20.0));
    EXPECT_FLOAT_EQ(prior.weight(board, unseen, 1), average);
}

// The committed table knows the commonest answer: a bridge intruded into is saved.
TEST(PatternPriorTest, TheLearnedTableFavoursSavingABridge) {
    const PlayoutBoard board(Hex::parseBoard(7, ". . . . . . .  "
                                                ". . . . . . .  "
                                                ". . X . . . .  "
                                                ". O . . . . .  "
                                                ". X . . . . .  "
                                                ". . . . . . .  "
                                                ". . . . . . ."));
    const PatternPrior prior;
    const float save = prior.weight(board, board.index(3, 2), 1);
    EXPECT_GT(save, 2 * prior.weight(board, board.index(5, 5), 1));
    EXPECT_GT(save, 2 * prior.average());
}

} // namespace
