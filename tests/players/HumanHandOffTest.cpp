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

// A human against a scripted computer on a game thread of its own, as the document runs it;
// the test plays the user-interface side through the HumanInput. The game stops once the
// move list has reached `stopAtLength` entries.
struct HandOff : Hex::GameObserver {
    HandOff(int humanSide, Cells computerMoves, std::size_t stopAtLength,
            const Clock& clock = Clock::steady())
        : input(humanSide, sink), human("human", &input, clock),
          computer({computerMoves.begin(), computerMoves.end()}), m_stopAtLength(stopAtLength),
          game(7, this) {
        game.setPlayer1(humanSide == 1 ? static_cast<Player*>(&human) : &computer);
        game.setPlayer2(humanSide == 2 ? static_cast<Player*>(&human) : &computer);
    }
    ~HandOff() override { game.stop(); } // a failed test must not leave the thread waiting
    void onGameChanged() override {
        if (game.moves().size() >= m_stopAtLength) {
            game.stop();
        }
    }
    void start() {
        result = std::async(std::launch::async, [this] { return game.run(); });
    }
    bool finishes() { return result.wait_for(10s) == std::future_status::ready; }

    RecordingSink sink;
    HumanInput input;
    HumanPlayer human;
    ScriptedPlayer computer;
    std::size_t m_stopAtLength;
    Hex::Game game;
    std::future<int> result;
};

// The status panes poll the clock while the human thinks.
TEST(HumanHandOff, AHumanMoveIsAnnouncedTimedAndPlaced) {
    FakeClock clock;
    HandOff match(1, {}, 1, clock);
    match.start();
    ASSERT_TRUE(match.sink.waitForCount(1));
    ASSERT_EQ(match.sink.all<WmAppHumanTurn>().size(), 1u);
    EXPECT_EQ(match.sink.all<WmAppHumanTurn>()[0].player, 1);
    clock.advance(5);
    EXPECT_EQ(match.human.timeUsed(), 5);
    match.input.setMove(3, 4);
    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(match.game.moves(), (Cells{{3, 4}}));
    EXPECT_EQ(match.human.timeUsed(), 5);
}

// Declining by clicking a cell makes it the first stone, also when the click comes before
// the game thread waits: the two answers are counted, not merged or lost.
TEST(HumanHandOff, DecliningByClickingACellMakesItTheFirstStone) {
    for (const bool clickFirst : {false, true}) {
        SCOPED_TRACE(clickFirst ? "click before the wait" : "click during the wait");
        HandOff match(2, {{1, 2}}, 2);
        if (!clickFirst) {
            match.start();
            ASSERT_TRUE(match.sink.waitForCount(1));
        }
        match.input.setSwap(false);
        match.input.setMove(3, 3);
        if (clickFirst) {
            match.start();
        }
        ASSERT_TRUE(match.finishes());
        EXPECT_EQ(match.game.moves(), (Cells{{1, 2}, {3, 3}}));
        ASSERT_EQ(match.sink.messages().size(), 1u);
        EXPECT_TRUE(std::holds_alternative<WmAppSwapOffer>(match.sink.messages()[0]));
    }
}

TEST(HumanHandOff, CancelPendingDropsAnAnswerNobodyTook) {
    HandOff match(1, {}, 1);
    match.input.setSwap(false);
    match.input.setMove(2, 2);
    match.input.cancelPending();
    match.start();
    ASSERT_TRUE(match.sink.waitForCount(1)); // announced, so the old click was not taken
    match.input.setMove(6, 6);
    ASSERT_TRUE(match.finishes());
    EXPECT_EQ(match.game.moves(), (Cells{{6, 6}}));
}

} // namespace
