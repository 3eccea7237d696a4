#include "model/Game.h"
#include "settings/SettingsKeys.h"

#include "support/ComputerPlayerFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <map>

namespace {

using namespace std::chrono_literals;

int clearingMessages(const RecordingSink& sink) {
    int count = 0;
    for (const auto& paths : sink.all<WmAppShowPaths>()) {
        count += paths.clears();
    }
    for (const auto& eval : sink.all<WmAppShowEval>()) {
        count += eval.clears();
    }
    return count;
}

// Notes the player's weights after each entry of the game; switches learning on once the
// game has `learnFrom` entries.
class WeightsWatcher : public Hex::GameObserver {
public:
    WeightsWatcher(const ComputerPlayer& player, SettingsStore& settings, std::size_t learnFrom)
        : m_player(player), m_settings(settings), m_learnFrom(learnFrom) {}
    void onGameChanged() override {
        const std::size_t entries = game->moves().size();
        if (entries == m_learnFrom) {
            m_settings.set(SettingsKeys::learning, "1");
        }
        weightsAfter[entries] = m_player.weights();
    }
    const Hex::Game* game = nullptr;
    std::map<std::size_t, Weights> weightsAfter;

private:
    const ComputerPlayer& m_player;
    SettingsStore& m_settings;
    std::size_t m_learnFrom;
};

class ComputerPlayerGameTest : public ComputerPlayerFixture {
protected:
    // Plays a whole game on the game thread's stand-in, this thread; gives the winner.
    int play(std::uint32_t size, Player& first, Player& second, WeightsWatcher* watcher = nullptr) {
        Hex::Game game(size, watcher);
        if (watcher != nullptr) {
            watcher->game = &game;
        }
        game.setPlayer1(&first);
        game.setPlayer2(&second);
        return game.run();
    }

    Player other{"Player 2"};
};

// A stop during a hard move ends it without the finished text or the clearing messages; the
// same player then plays the next game, on another board side, as before.
TEST_F(ComputerPlayerGameTest, StopDuringAHardMoveAndTheNextGameWorks) {
    auto hard = make(true, 1, 3000); // the fake clock never runs out: only the stop ends it
    {
        Hex::Game game(10, nullptr);
        game.setPlayer1(hard.get());
        game.setPlayer2(&other);
        auto result = std::async(std::launch::async, [&] { return game.run(); });
        ASSERT_TRUE(sink.waitForStatus("Looking ahead 2 moves..."));
        game.stop();
        ASSERT_EQ(result.wait_for(30s), std::future_status::ready);
        EXPECT_EQ(result.get(), 0);
        EXPECT_EQ(sink.countStatus("Quorlen AI finished"), 0);
        EXPECT_EQ(clearingMessages(sink), 0);
    }
    EXPECT_NE(play(3, *hard, other), 0);
    EXPECT_GE(sink.countStatus("Quorlen AI finished"), 1);
    EXPECT_GE(clearingMessages(sink), 2);
}

// Learning switched on in the middle of a game: the next hard move says so and only fills the
// memory, so the weights are still the defaults after it.
TEST_F(ComputerPlayerGameTest, LearningSwitchedOnMidGameFirstOnlyRemembers) {
    // Four seconds on 4 x 4: a short search at move 2, then no time share left; learning
    // runs on every hard move all the same.
    auto hard = make(true, 1, 6, &Clock::steady());
    WeightsWatcher watcher(*hard, settings, 4);
    EXPECT_NE(play(4, *hard, other, &watcher), 0);

    // Entries: 0 the opening, 1 the swap, 2 a hard move without learning, 3 Player 2, then
    // learning is on: entry 4 is the first learning move.
    ASSERT_TRUE(watcher.weightsAfter.count(5));
    EXPECT_EQ(watcher.weightsAfter[5], defaultWeights);
    const auto movesPlayed = watcher.weightsAfter.rbegin()->first;
    EXPECT_EQ(sink.countStatus("Quorlen AI learning..."), static_cast<int>((movesPlayed - 3) / 2));
}

// Each game learns afresh: what the player remembered of the last game is forgotten at the
// start of the next, so its first learning move there leaves the weights as they were.
TEST_F(ComputerPlayerGameTest, TheLearningMemoryIsClearedAtANewGame) {
    settings.set(SettingsKeys::learning, "1");
    auto hard = make(true, 1, 6, &Clock::steady());
    play(4, *hard, other);
    const Weights afterFirstGame = hard->weights();
    WeightsWatcher watcher(*hard, settings, 0);
    play(4, *hard, other, &watcher);
    // Entries 0 (the opening) and 2 (the first hard move, which learns) are Player 1's.
    ASSERT_TRUE(watcher.weightsAfter.count(3));
    EXPECT_EQ(watcher.weightsAfter[3], afterFirstGame);
}

} // namespace
