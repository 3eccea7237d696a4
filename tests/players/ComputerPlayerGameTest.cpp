#include "model/Game.h"
#include "players/ComputerPlayer.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include "support/FakeClock.h"
#include "support/RecordingSink.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <map>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

int countStatus(const RecordingSink& sink, const std::string& text) {
    const auto statuses = sink.all<WmAppStatusText>();
    return static_cast<int>(std::count_if(statuses.begin(), statuses.end(),
                                          [&](const auto& status) { return status.text == text; }));
}

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

class ComputerPlayerGameTest : public ::testing::Test {
protected:
    void SetUp() override { SettingsDefaults::apply(settings); }

    std::unique_ptr<ComputerPlayer> make(bool hard, int number, std::int32_t timeLimit,
                                         const Clock& clock) {
        ComputerPlayer::Context context{sink,
                                        settings,
                                        clock,
                                        m_directory / "quorlen.dat",
                                        [number] { return 11u * static_cast<unsigned>(number); },
                                        [](std::chrono::milliseconds) {}};
        return std::make_unique<ComputerPlayer>(hard ? "Quorlen" : "Quorl", timeLimit, hard, number,
                                                std::move(context));
    }

    RecordingSink sink;
    SettingsStore settings;

private:
    TempDirectory m_directory;
};

// A stop during a hard move ends it without the finished text or the clearing messages; the
// same player then plays the next game, on another board side, as before.
TEST_F(ComputerPlayerGameTest, StopDuringAHardMoveAndTheNextGameWorks) {
    FakeClock clock; // the budget never runs out: only the stop ends the search
    auto hard = make(true, 1, 3000, clock);
    Player other("Player 2");
    {
        Hex::Game game(10, nullptr);
        game.setPlayer1(hard.get());
        game.setPlayer2(&other);
        auto result = std::async(std::launch::async, [&] { return game.run(); });
        ASSERT_TRUE(sink.waitForStatus("Looking ahead 2 moves..."));
        game.stop();
        ASSERT_EQ(result.wait_for(30s), std::future_status::ready);
        EXPECT_EQ(result.get(), 0);
        EXPECT_EQ(countStatus(sink, "Quorlen AI finished"), 0);
        EXPECT_EQ(clearingMessages(sink), 0);
    }
    {
        Hex::Game game(3, nullptr);
        game.setPlayer1(hard.get());
        game.setPlayer2(&other);
        EXPECT_NE(game.run(), 0);
        EXPECT_GE(countStatus(sink, "Quorlen AI finished"), 1);
        EXPECT_GE(clearingMessages(sink), 2);
    }
}

// Learning switched on in the middle of a game: the next hard move says so and only fills the
// memory, so the weights are still the defaults after it.
TEST_F(ComputerPlayerGameTest, LearningSwitchedOnMidGameFirstOnlyRemembers) {
    // Four seconds on 4 x 4: a short search at move 2, then no time share left; learning
    // runs on every hard move all the same.
    auto hard = make(true, 1, 6, Clock::steady());
    Player other("Player 2");
    // Switches learning on after four entries and notes the weights after each entry.
    class Watcher : public Hex::GameObserver {
    public:
        Watcher(SettingsStore& store, const ComputerPlayer& player)
            : m_store(store), m_player(player) {}
        void onGameChanged() override {
            const std::size_t entries = game->moves().size();
            if (entries == 4) {
                m_store.set(SettingsKeys::learning, "1");
            }
            weightsAfter[entries] = m_player.weights();
        }
        const Hex::Game* game = nullptr;
        std::map<std::size_t, Weights> weightsAfter;

    private:
        SettingsStore& m_store;
        const ComputerPlayer& m_player;
    };
    Watcher watcher(settings, *hard);
    Hex::Game game(4, &watcher);
    watcher.game = &game;
    game.setPlayer1(hard.get());
    game.setPlayer2(&other);
    EXPECT_NE(game.run(), 0);

    // Entries: 0 the opening, 1 the swap, 2 a hard move without learning, 3 Player 2, then
    // learning is on: entry 4 is the first learning move.
    ASSERT_TRUE(watcher.weightsAfter.count(5));
    EXPECT_EQ(watcher.weightsAfter[5], defaultWeights);
    const int hardMovesAfterSwitch = static_cast<int>((game.moves().size() - 4 + 1) / 2);
    EXPECT_EQ(countStatus(sink, "Quorlen AI learning..."), hardMovesAfterSwitch);
}

// Each game learns afresh: what the player remembered of the last game is forgotten at the
// start of the next, so its first learning move there leaves the weights as they were.
TEST_F(ComputerPlayerGameTest, TheLearningMemoryIsClearedAtANewGame) {
    settings.set(SettingsKeys::learning, "1");
    auto hard = make(true, 1, 6, Clock::steady());
    Player other("Player 2");
    {
        Hex::Game first(4, nullptr);
        first.setPlayer1(hard.get());
        first.setPlayer2(&other);
        first.run();
    }
    const Weights afterFirstGame = hard->weights();

    class WeightsAfterEntry : public Hex::GameObserver {
    public:
        explicit WeightsAfterEntry(const ComputerPlayer& player) : m_player(player) {}
        void onGameChanged() override { seen[game->moves().size()] = m_player.weights(); }
        const Hex::Game* game = nullptr;
        std::map<std::size_t, Weights> seen;

    private:
        const ComputerPlayer& m_player;
    };
    WeightsAfterEntry watcher(*hard);
    Hex::Game second(4, &watcher);
    watcher.game = &second;
    second.setPlayer1(hard.get());
    second.setPlayer2(&other);
    second.run();
    // Entries 0 (the opening) and 2 (the first hard move, which learns) are Player 1's.
    ASSERT_TRUE(watcher.seen.count(3));
    EXPECT_EQ(watcher.seen[3], afterFirstGame);
}

TEST_F(ComputerPlayerGameTest, HardAgainstEasyPlaysAWholeGame) {
    auto hard = make(true, 1, 10, Clock::steady());
    auto easy = make(false, 2, 10, Clock::steady());
    Hex::Game game(5, nullptr);
    game.setPlayer1(hard.get());
    game.setPlayer2(easy.get());
    EXPECT_NE(game.run(), 0);
    EXPECT_EQ(easy->weights(), defaultWeights);
}

} // namespace
