#include "players/ExpertPlayer.h"
#include "mcts/OpeningBook.h"
#include "model/Game.h"

#include "support/FakeClock.h"
#include "support/RecordingSink.h"
#include "support/ScriptedPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <stdexcept>
#include <thread>

namespace {

using namespace std::chrono_literals;

class ExpertPlayerTest : public ::testing::Test {
protected:
    std::unique_ptr<ExpertPlayer> make(std::optional<std::uint64_t> playouts, int threads = 1,
                                       bool openingBook = true, bool solver = true) {
        ExpertPlayer::Context context{sink, clock, threads, 5, std::size_t{64} << 20, {}, playouts};
        context.memory = memory;
        context.openingBook = openingBook;
        context.solver = solver;
        return std::make_unique<ExpertPlayer>("Quorlen Expert", 300, std::move(context));
    }

    RecordingSink sink;
    FakeClock clock;
    std::shared_ptr<TreeMemoryBudget> memory =
        std::make_shared<TreeMemoryBudget>(std::size_t{256} << 20);
};

// Two experts play a whole game; the second one's swap question and its first move come from
// one search, and every think ends with the finished text. Their trees share one budget, and
// each gives its memory back when the game ends. (Without the solver, which would answer most
// positions of so small a board before any tree grows.)
TEST_F(ExpertPlayerTest, TwoExpertsPlayAWholeGame) {
    auto first = make(2000, 1, true, false);
    auto second = make(2000, 1, true, false);
    Hex::Game game(5, nullptr);
    game.setPlayer1(first.get());
    game.setPlayer2(second.get());
    EXPECT_NE(game.run(), 0);
    const auto moves = game.moves();
    const bool swapped = moves.size() > 1 && moves[1] == Hex::Coord{5, 5};
    const int thinks = static_cast<int>(moves.size());
    EXPECT_EQ(sink.countStatus("Quorlen AI thinking..."), thinks);
    EXPECT_EQ(sink.countStatus("Quorlen AI finished"), thinks);
    EXPECT_GT(second->search().rootVisits(), 0U) << (swapped ? "swapped" : "declined");
    EXPECT_GT(memory->used(), 1000 * sizeof(MctsNode));
    first->gameEnded();
    second->gameEnded();
    EXPECT_EQ(first->search().nodeCount() + second->search().nodeCount(), 2U);
    EXPECT_LE(memory->used(), 2 * sizeof(MctsNode));
}

// A corner opening is weak on a small board: the expert declines the swap and answers with
// the move its swap search chose, without a second search.
TEST_F(ExpertPlayerTest, DecliningTheSwapPlaysTheMoveOfTheSameSearch) {
    auto expert = make(20000);
    ScriptedPlayer opener({{0, 0}}); // then it runs out and ends the game with an exception
    Hex::Game game(5, nullptr);
    game.setPlayer1(&opener);
    game.setPlayer2(expert.get());
    EXPECT_THROW(game.run(), std::logic_error);
    const auto moves = game.moves();
    ASSERT_EQ(moves.size(), 2U);
    EXPECT_NE(moves[1], (Hex::Coord{5, 5}));
    EXPECT_EQ(sink.countStatus("Quorlen AI finished"), 1);
}

// Where the opening book covers the board, the first stone and the swap decision are the
// book's, without a search; a declined swap is answered by a search that leaves it out.
TEST_F(ExpertPlayerTest, TheBookOpensAndDecidesTheSwap) {
    for (const Hex::Coord stone : {Hex::Coord{0, 0}, Hex::Coord{3, 3}}) {
        auto expert = make(5000);
        ScriptedPlayer opener({stone});
        Hex::Game game(7, nullptr);
        game.setPlayer1(&opener);
        game.setPlayer2(expert.get());
        EXPECT_THROW(game.run(), std::logic_error);
        const bool swapped = stone == Hex::Coord{3, 3}; // the corner loses, the centre wins
        ASSERT_EQ(game.moves().size(), 2U);
        EXPECT_EQ(game.moves()[1] == (Hex::Coord{7, 7}), swapped);
        EXPECT_EQ(expert->lastResult().playouts == 0, swapped);
    }
    auto opening = make(5000);
    ScriptedPlayer other({});
    Hex::Game game(7, nullptr);
    game.setPlayer1(opening.get());
    game.setPlayer2(&other);
    EXPECT_THROW(game.run(), std::logic_error);
    EXPECT_EQ(game.moves().front(), OpeningBook::firstStone(7));
    EXPECT_EQ(opening->lastResult().playouts, 0U);
}

// A stop during a think ends it at once, without the finished text; the game then ends.
// Destroying a player in the middle of a think stops it and waits for it.
TEST_F(ExpertPlayerTest, AStopOrTheDestructorEndsAThinkAtOnce) {
    // A budget of seconds: only the stop ends it soon; no book move ends it first.
    auto expert = make(std::nullopt, 2, false);
    Player other("Player 2");
    {
        Hex::Game game(9, nullptr);
        game.setPlayer1(expert.get());
        game.setPlayer2(&other);
        auto result = std::async(std::launch::async, [&] { return game.run(); });
        ASSERT_TRUE(sink.waitForStatus("Quorlen AI thinking..."));
        std::this_thread::sleep_for(50ms);
        game.stop();
        ASSERT_EQ(result.wait_for(30s), std::future_status::ready);
        EXPECT_EQ(result.get(), 0);
        EXPECT_EQ(sink.countStatus("Quorlen AI finished"), 0);
    }

    // Asked directly, on a game that is not running, so that nothing calls the player after.
    Hex::Game position(9, std::vector<Hex::Coord>{});
    position.setPlayer1(expert.get());
    Event neverStopped{Event::Mode::ManualReset};
    ExpertPlayer* thinking = expert.get();
    Hex::Coord move = Hex::noMove;
    const int before = sink.countStatus("Quorlen AI thinking...");
    std::thread asking([&] { move = thinking->getMove(neverStopped); });
    while (sink.countStatus("Quorlen AI thinking...") == before) {
        std::this_thread::sleep_for(5ms);
    }
    std::this_thread::sleep_for(50ms);
    auto destroying = std::async(std::launch::async, [&] { expert.reset(); });
    EXPECT_EQ(destroying.wait_for(30s), std::future_status::ready);
    asking.join();
    EXPECT_TRUE(move.row >= 0 && move.row < 9 && move.col >= 0 && move.col < 9);
}

} // namespace
