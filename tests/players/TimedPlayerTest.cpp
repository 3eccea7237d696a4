#include "players/TimedPlayer.h"
#include "model/Game.h"
#include "players/HumanPlayer.h"

#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Thinks for a scripted number of seconds of the fake clock, polling its own clock each
// second as the status panes do.
class SlowThinker : public TimedPlayer {
public:
    SlowThinker(FakeClock& clock, int seconds)
        : TimedPlayer("slow", clock), m_clock(clock), m_seconds(seconds) {}
    std::vector<std::int32_t> polls;
    bool failNextThink = false;

protected:
    Hex::Coord chooseMove(Event&) override {
        for (int i = 0; i < m_seconds; ++i) {
            m_clock.advance(1);
            polls.push_back(timeUsed());
        }
        if (failNextThink) {
            throw std::runtime_error("think failed");
        }
        return Hex::Coord{0, 0};
    }
    bool decideSwap(Event&) override {
        m_clock.advance(2);
        return false;
    }

private:
    FakeClock& m_clock;
    int m_seconds;
};

// Only the time inside a think counts, also when the think throws; a reset starts at zero.
TEST(TimedPlayer, CountsWhileThinkingAndPollingKeepsTheTotal) {
    FakeClock clock;
    SlowThinker player(clock, 5);
    Event stop(Event::Mode::ManualReset);
    EXPECT_EQ(player.timeUsed(), 0);
    EXPECT_EQ(player.getMove(stop), (Hex::Coord{0, 0}));
    EXPECT_EQ(player.polls, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(player.timeUsed(), 5);
    clock.advance(7);
    EXPECT_EQ(player.timeUsed(), 5);
    EXPECT_EQ(player.askSwap(stop), Player::declineSwap);
    EXPECT_EQ(player.timeUsed(), 7);
    player.failNextThink = true;
    EXPECT_THROW(player.getMove(stop), std::runtime_error);
    clock.advance(10);
    EXPECT_EQ(player.timeUsed(), 12);
    player.resetClock();
    EXPECT_EQ(player.timeUsed(), 0);
}

TEST(TimedPlayer, DefaultAnswersAreTheFirstEmptyCellAndTheSwap) {
    Hex::Game game(3, std::vector<Hex::Coord>{{0, 0}});
    TimedPlayer timed("plain");
    HumanPlayer human("Player 1", nullptr); // without input it answers at once
    Event stop(Event::Mode::ManualReset);
    for (TimedPlayer* player : {&timed, static_cast<TimedPlayer*>(&human)}) {
        player->setGame(&game);
        EXPECT_EQ(player->getMove(stop), (Hex::Coord{0, 1}));
        EXPECT_EQ(player->askSwap(stop), Player::takeSwap);
    }
    EXPECT_EQ(human.name(), "Player 1");
}

} // namespace
