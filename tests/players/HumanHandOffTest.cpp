#include "model/Game.h"
#include "players/HumanInput.h"
#include "players/HumanPlayer.h"

#include "support/FakeClock.h"
#include "support/RecordingSink.h"
#include "support/ScriptedPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

using namespace std::chrono_literals;
using Cells = std::vector<Hex::Coord>;

// Stops the game once the move list has reached a length.
class StopAtLength : public Hex::GameObserver {
public:
    explicit StopAtLength(std::size_t length) : m_length(length) {}
    void watch(Hex::Game* game) { m_game = game; }
    void onGameChanged() override {
        if (m_game->moves().size() >= m_length) {
            m_game->stop();
        }
    }

private:
    Hex::Game* m_game = nullptr;
    std::size_t m_length;
};

// A game on its own thread, as the document runs it, with the user-interface side played
// by the test through the HumanInputs.
struct ThreadedGame {
    ThreadedGame(Player& first, Player& second, std::size_t stopAtLength)
        : observer(stopAtLength), game(7, &observer) {
        observer.watch(&game);
        game.setPlayer1(&first);
        game.setPlayer2(&second);
    }
    void start() {
        result = std::async(std::launch::async, [this] { return game.run(); });
    }
    bool finishes() { return result.wait_for(10s) == std::future_status::ready; }

    StopAtLength observer;
    Hex::Game game;
    std::future<int> result;
};

TEST(HumanHandOff, AHumanMoveIsAnnouncedAndPlaced) {
    RecordingSink sink;
    HumanInput input(1, sink);
    HumanPlayer human("Player 1", &input);
    ScriptedPlayer computer({});
    ThreadedGame match(human, computer, 1);
    match.start();

    ASSERT_TRUE(sink.waitForCount(1));
    ASSERT_EQ(sink.all<WmAppHumanTurn>().size(), 1u);
    EXPECT_EQ(sink.all<WmAppHumanTurn>()[0].player, 1);
    input.setMove(3, 4);
    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(match.game.moves(), (Cells{{3, 4}}));
}

TEST(HumanHandOff, SwapTakenAnnouncesNoMoveUntilTheNextTurn) {
    RecordingSink sink;
    HumanInput input(2, sink);
    ScriptedPlayer computer({{1, 2}, {4, 4}});
    HumanPlayer human("Player 2", &input);
    ThreadedGame match(computer, human, 4);
    match.start();

    ASSERT_TRUE(sink.waitForCount(1));
    ASSERT_EQ(sink.all<WmAppSwapOffer>().size(), 1u);
    EXPECT_EQ(sink.all<WmAppSwapOffer>()[0].player, 2);
    input.setSwap(true);

    // After the swap Player 1 moves, then Player 2 is asked for its first regular move.
    ASSERT_TRUE(sink.waitForCount(2));
    EXPECT_EQ(sink.all<WmAppHumanTurn>().size(), 1u);
    EXPECT_EQ(match.game.moves(), (Cells{{1, 2}, {7, 7}, {4, 4}}));
    input.setMove(0, 0);
    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(match.game.boardSnapshot().cell(2, 1), 2);
    EXPECT_EQ(match.game.boardSnapshot().cell(0, 0), 2);
}

TEST(HumanHandOff, DecliningByClickingACellMakesItTheFirstStone) {
    RecordingSink sink;
    HumanInput input(2, sink);
    ScriptedPlayer computer({{1, 2}});
    HumanPlayer human("Player 2", &input);
    ThreadedGame match(computer, human, 2);
    match.start();

    ASSERT_TRUE(sink.waitForCount(1));
    input.setSwap(false);
    input.setMove(3, 3);
    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(match.game.moves(), (Cells{{1, 2}, {3, 3}}));
    EXPECT_TRUE(sink.all<WmAppHumanTurn>().empty());
    EXPECT_EQ(sink.messages().size(), 1u);
}

TEST(HumanHandOff, AClickBeforeTheGameThreadWaitsIsNotLost) {
    RecordingSink sink;
    HumanInput input(2, sink);
    ScriptedPlayer computer({{1, 2}});
    HumanPlayer human("Player 2", &input);
    ThreadedGame match(computer, human, 2);
    input.setSwap(false);
    input.setMove(5, 0);
    match.start();

    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(match.game.moves(), (Cells{{1, 2}, {5, 0}}));
    EXPECT_TRUE(sink.all<WmAppHumanTurn>().empty());
}

TEST(HumanHandOff, AStopWhileAHumanIsToMoveReturnsAtOnceWithNoStone) {
    RecordingSink sink;
    HumanInput input(1, sink);
    HumanPlayer human("Player 1", &input);
    ScriptedPlayer computer({});
    ThreadedGame match(human, computer, 100);
    match.start();

    ASSERT_TRUE(sink.waitForCount(1));
    match.game.stop();
    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(match.result.get(), 0);
    EXPECT_TRUE(match.game.moves().empty());
    EXPECT_EQ(match.game.boardSnapshot(), Hex::Board(7));
}

TEST(HumanHandOff, CancelPendingDropsAnAnswerNobodyTook) {
    RecordingSink sink;
    HumanInput input(1, sink);
    input.setSwap(false);
    input.setMove(2, 2);
    input.cancelPending();

    HumanPlayer human("Player 1", &input);
    ScriptedPlayer computer({});
    ThreadedGame match(human, computer, 1);
    match.start();
    ASSERT_TRUE(sink.waitForCount(1)); // announced, so the old click was not taken
    input.setMove(6, 6);
    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(match.game.moves(), (Cells{{6, 6}}));
}

TEST(HumanHandOff, StatusPanesPollTheClockWhileAHumanThinks) {
    RecordingSink sink;
    FakeClock clock;
    HumanInput input(1, sink);
    HumanPlayer human("Player 1", &input, clock);
    ScriptedPlayer computer({});
    ThreadedGame match(human, computer, 1);
    match.start();
    ASSERT_TRUE(sink.waitForCount(1));
    for (std::int32_t second = 1; second <= 5; ++second) {
        clock.advance(1);
        EXPECT_EQ(human.timeUsed(), second);
    }
    input.setMove(0, 0);
    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(human.timeUsed(), 5);
}

} // namespace
