#include "model/BoardText.h"
#include "model/Game.h"
#include "model/Player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace {

// Waits for an answer that never comes, as a human who does not click; only the game's stop
// event releases it. It then answers a cell that would be legal, to show it is dropped.
class WaitingPlayer : public Player {
public:
    WaitingPlayer() : Player("waiting") {}
    Hex::Coord getMove(Event& stopEvent) override {
        waiting = true;
        Event::waitAny(stopEvent, m_neverAnswered);
        return Hex::Coord{1, 1};
    }
    std::atomic<bool> waiting{false};

private:
    Event m_neverAnswered{Event::Mode::AutoReset};
};

TEST(GameStop, StopReleasesAWaitingPlayerAndPlacesNoStone) {
    WaitingPlayer first;
    Player second("Player 2");
    Hex::Game game(5, nullptr);
    game.setPlayer1(&first);
    game.setPlayer2(&second);

    auto result = std::async(std::launch::async, [&] { return game.run(); });
    while (!first.waiting) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    game.stop();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(result.get(), 0);
    EXPECT_TRUE(game.moves().empty());
    EXPECT_EQ(game.boardSnapshot(), Hex::Board(5));
    EXPECT_EQ(game.currentPlayer(), 0);
}

// The user-interface thread reads the game while the game thread plays it.
TEST(GameStop, ReadersSeeWholeMovesWhileTheGamePlays) {
    Player first("Player 1");
    Player second("Player 2");
    Hex::Game game(20, nullptr);
    game.setPlayer1(&first);
    game.setPlayer2(&second);
    auto result = std::async(std::launch::async, [&] { return game.run(); });
    while (result.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        // The board first: the moves read after it can only be more.
        const Hex::Board board = game.boardSnapshot();
        const auto moves = game.moves();
        (void)game.winningPath();
        (void)game.lastMove();
        const std::string text = Hex::toText(board);
        EXPECT_LE(std::count(text.begin(), text.end(), 'X') +
                      std::count(text.begin(), text.end(), 'O'),
                  static_cast<std::ptrdiff_t>(moves.size()));
    }
    EXPECT_NE(result.get(), 0);
}

} // namespace
