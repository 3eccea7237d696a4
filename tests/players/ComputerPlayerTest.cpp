#include "players/ComputerPlayer.h"
#include "model/Game.h"
#include "players/MoveBudget.h"
#include "players/WeightsFile.h"

#include "support/ComputerPlayerFixture.h"

#include <gtest/gtest.h>

namespace {

class ComputerPlayerTest : public ComputerPlayerFixture {
protected:
    Event stop{Event::Mode::ManualReset};
};

// The game loop sets the move number; a game object that was never run reads 0.
TEST_F(ComputerPlayerTest, OpeningStoneLiesInTheMiddleSquareOrTheSmallestBoardsCorner) {
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        auto player = make(seed % 2 == 0, 1, 300, nullptr, seed);
        Hex::Game game(10, nullptr);
        game.setPlayer1(player.get());
        const Hex::Coord move = player->getMove(stop);
        EXPECT_TRUE(move.row >= 2 && move.row <= 6 && move.col >= 2 && move.col <= 6) << seed;
        Hex::Game small(3, nullptr);
        small.setPlayer1(player.get());
        EXPECT_EQ(player->getMove(stop), (Hex::Coord{0, 0})) << seed;
    }
    EXPECT_TRUE(sink.messages().empty());
}

TEST_F(ComputerPlayerTest, SwapTakenOnlyInTheMiddleRegion) {
    const auto decides = [&](std::uint32_t n, Hex::Coord first) {
        auto player = make(false, 2);
        Hex::Game game(n, std::vector<Hex::Coord>{first});
        game.setPlayer2(player.get());
        return player->askSwap(stop) == Player::takeSwap;
    };
    EXPECT_TRUE(decides(10, {4, 5}));
    EXPECT_TRUE(decides(10, {2, 7}));
    EXPECT_FALSE(decides(10, {0, 5}));
    EXPECT_FALSE(decides(10, {8, 8}));
    EXPECT_TRUE(decides(11, {8, 2}));
    EXPECT_FALSE(decides(11, {9, 2}));
    EXPECT_TRUE(decides(3, {0, 0}));
    EXPECT_TRUE(decides(3, {2, 2}));
    const auto statuses = sink.all<WmAppStatusText>();
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(statuses[0].text, "Quorlen AI thinking...");
    EXPECT_EQ(statuses[1].text, "Quorlen AI finished");
}

TEST_F(ComputerPlayerTest, BudgetIsTwiceTheEqualShareOfTheTimeLeft) {
    auto player = make(true, 2, 300);
    EXPECT_EQ(player->timeBudget(10, 2), 12);
    EXPECT_EQ(player->timeBudget(4, 8), 0); // no moves left: never a division by zero
    EXPECT_EQ(player->timeBudget(4, 9), 0);
    EXPECT_EQ(player->timeBudget(30, 2), 0); // 300 seconds for 448 moves
    // The expert shares the rule, which counts the time used.
    EXPECT_EQ(moveBudget(300, 100, 11, 10), 8); // 200 seconds for 50 moves
    // It thinks twice as long over each side's first two moves, within a quarter of the time
    // left, and a close call may take half as long again.
    using std::chrono::milliseconds;
    const milliseconds shortest(250);
    EXPECT_EQ(expertThink(300, 100, 11, 10, shortest).time, milliseconds(8000));
    EXPECT_EQ(expertThink(300, 100, 11, 10, shortest).closeCallExtra, milliseconds(4000));
    EXPECT_EQ(expertThink(600, 0, 11, 3, shortest).time, milliseconds(40000)); // 2 x 20 s
    EXPECT_EQ(expertThink(600, 0, 11, 4, shortest).time, milliseconds(20000));
    EXPECT_EQ(expertThink(40, 0, 5, 0, shortest).time, milliseconds(10000)); // a quarter of 40 s
    EXPECT_EQ(expertThink(300, 300, 11, 10, shortest).time, shortest);
    EXPECT_EQ(expertThink(300, 300, 11, 10, shortest).closeCallExtra, milliseconds(0));
}

// With no time share left the hard player plays the crossing of the cheapest paths instead
// of answering (-1, -1): a whole game under a one-second limit ends with a winner.
TEST_F(ComputerPlayerTest, NoTimeLeftGivesTheEasyMove) {
    for (std::uint32_t n = 3; n <= 7; ++n) {
        auto hard = make(true, 1, 1);
        Player other("Player 2");
        Hex::Game game(n, nullptr);
        game.setPlayer1(hard.get());
        game.setPlayer2(&other);
        EXPECT_NE(game.run(), 0) << "size " << n;
    }
}

TEST_F(ComputerPlayerTest, WeightsAreReadFromTheFileOrDefaultAndWrittenAtTheEnd) {
    make(false, 1).reset();
    EXPECT_EQ(readBytes(weightsFile()), "-3.076\n3.801\n-5.553\n7.072\n");
    const Weights stored{1.0, 2.0, 3.0, 4.5};
    ASSERT_TRUE(WeightsFile::write(weightsFile(), stored));
    EXPECT_EQ(make(true, 2)->weights(), stored);
}

} // namespace
