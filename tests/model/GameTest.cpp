#include "model/Game.h"
#include "model/InvalidCoordException.h"
#include "model/OffBoardException.h"

#include "support/ScriptedPlayer.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Cells = std::vector<Hex::Coord>;

// What the observer saw after one turn.
struct Seen {
    Cells moves;
    int currentPlayer;
    int moveNumber;
    Hex::Coord lastMove;
    Hex::Board board;
};

// Records the game after each notification and stops it after `stopAfter` of them.
class RecordingObserver : public Hex::GameObserver {
public:
    explicit RecordingObserver(int stopAfter = -1) : m_stopAfter(stopAfter) {}
    void watch(Hex::Game* game) { m_game = game; }
    void onGameChanged() override {
        seen.push_back(Seen{m_game->moves(), m_game->currentPlayer(), m_game->moveNumber(),
                            m_game->lastMove(), m_game->boardSnapshot()});
        if (static_cast<int>(seen.size()) == m_stopAfter) {
            m_game->stop();
        }
    }
    std::vector<Seen> seen;

private:
    Hex::Game* m_game = nullptr;
    int m_stopAfter;
};

struct Match {
    Match(std::uint32_t size, Cells p1Moves, Cells p2Moves, std::uint8_t swapAnswer,
          int stopAfter = -1)
        : p1({p1Moves.begin(), p1Moves.end()}), p2({p2Moves.begin(), p2Moves.end()}, swapAnswer),
          observer(stopAfter), game(size, &observer) {
        observer.watch(&game);
        game.setPlayer1(&p1);
        game.setPlayer2(&p2);
    }
    ScriptedPlayer p1;
    ScriptedPlayer p2;
    RecordingObserver observer;
    Hex::Game game;
};

TEST(Game, NewGameState) {
    const Hex::Game game(11, nullptr);
    EXPECT_EQ(game.lastMove(), Hex::noMove);
    EXPECT_EQ(game.currentPlayer(), 0);
    EXPECT_EQ(game.moveNumber(), 0);
    EXPECT_TRUE(game.moves().empty());
}

TEST(Game, AttachingTellsThePlayerItsGame) {
    Hex::Game game(5, nullptr);
    ScriptedPlayer player({});
    game.setPlayer2(&player);
    EXPECT_EQ(player.game(), &game);
}

TEST(Game, SwapTakenMirrorsTheFirstStone) {
    Match match(11, {{2, 5}}, {}, Player::takeSwap, 2);
    EXPECT_EQ(match.game.run(), 0);
    ASSERT_EQ(match.observer.seen.size(), 2u);
    const Seen& afterSwap = match.observer.seen[1];
    EXPECT_EQ(afterSwap.board.cell(2, 5), 0);
    EXPECT_EQ(afterSwap.board.cell(5, 2), 2);
    EXPECT_EQ(afterSwap.moves, (Cells{{2, 5}, {11, 11}}));
    EXPECT_EQ(afterSwap.currentPlayer, 1);
    EXPECT_EQ(afterSwap.moveNumber, 2);
    EXPECT_EQ(afterSwap.lastMove, (Hex::Coord{5, 2}));
    EXPECT_EQ(match.p2.moveCalls, 0);
}

TEST(Game, SwapDeclinedAsksForAMoveInTheSameTurnAndNeverAgain) {
    Match match(11, {{2, 5}, {3, 3}, {4, 4}}, {{6, 6}, {7, 7}}, Player::declineSwap, 5);
    match.game.run();
    EXPECT_EQ(match.p2.swapCalls, 1);
    EXPECT_EQ(match.p2.moveCalls, 2);
    ASSERT_EQ(match.observer.seen.size(), 5u);
    EXPECT_EQ(match.observer.seen[1].moves, (Cells{{2, 5}, {6, 6}}));
    EXPECT_EQ(match.observer.seen[4].moves, (Cells{{2, 5}, {6, 6}, {3, 3}, {7, 7}, {4, 4}}));
}

TEST(Game, OtherSwapAnswerPassesTheTurnWithoutAStone) {
    Match match(11, {{2, 5}, {3, 3}}, {}, 7, 3);
    match.game.run();
    ASSERT_EQ(match.observer.seen.size(), 3u);
    EXPECT_EQ(match.observer.seen[1].moves, (Cells{{2, 5}}));
    EXPECT_EQ(match.observer.seen[1].currentPlayer, 1);
    EXPECT_EQ(match.observer.seen[1].moveNumber, 2);
    EXPECT_EQ(match.observer.seen[2].moves, (Cells{{2, 5}, {3, 3}}));
    EXPECT_EQ(match.p2.moveCalls, 0);
}

TEST(Game, TurnsAlternateAndTheMoveNumberCountsPairs) {
    Match match(11, {{0, 0}, {0, 2}, {0, 4}}, {{1, 0}, {1, 2}}, Player::declineSwap, 5);
    match.game.run();
    std::vector<int> players;
    std::vector<int> numbers;
    for (const Seen& s : match.observer.seen) {
        players.push_back(s.currentPlayer);
        numbers.push_back(s.moveNumber);
    }
    EXPECT_EQ(players, (std::vector<int>{2, 1, 2, 1, 2}));
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 2, 3, 3}));
}

TEST(Game, MoveOnAnOccupiedCellEndsTheGameWithTheText) {
    Match match(11, {{0, 0}}, {{0, 0}}, Player::declineSwap);
    try {
        match.game.run();
        FAIL() << "no exception";
    } catch (const Hex::InvalidCoordException& e) {
        EXPECT_EQ(e.message(), "Invalid coord of (0, 0) on a board of size 11.  "
                               "Player2 attempted move on non-empty position.");
    }
    EXPECT_EQ(match.game.moves(), (Cells{{0, 0}}));
    EXPECT_EQ(match.game.currentPlayer(), 2); // an exception leaves the state as it was
}

TEST(Game, PlayerOneOnAnOccupiedCellNamesPlayerOne) {
    Match match(5, {{1, 1}, {2, 2}}, {{2, 2}}, Player::declineSwap);
    EXPECT_THROW(
        {
            try {
                match.game.run();
            } catch (const Hex::InvalidCoordException& e) {
                EXPECT_EQ(e.message(), "Invalid coord of (2, 2) on a board of size 5.  "
                                       "Player1 attempted move on non-empty position.");
                throw;
            }
        },
        Hex::InvalidCoordException);
}

TEST(Game, MoveOffTheBoardThrowsFromTheEmptinessTest) {
    Match match(11, {{-1, -1}}, {}, Player::declineSwap);
    try {
        match.game.run();
        FAIL() << "no exception";
    } catch (const Hex::OffBoardException& e) {
        EXPECT_EQ(e.message(), "Out of bounds exception in Board::isEmpty.  "
                               "Board size is 11.  Input was (-1, -1)");
    }
    EXPECT_TRUE(match.game.moves().empty());
    EXPECT_TRUE(match.observer.seen.empty());
}

TEST(Game, AWinEndsTheGameAndNotifiesOnceMore) {
    // Player 1 runs down the middle of a 3 x 3 board.
    Match match(3, {{0, 1}, {1, 1}, {2, 0}}, {{0, 0}, {0, 2}}, Player::declineSwap);
    EXPECT_EQ(match.game.run(), 1);
    EXPECT_EQ(match.observer.seen.size(), 6u); // five turns and the end
    EXPECT_EQ(match.game.currentPlayer(), 0);
    EXPECT_EQ(match.game.moveNumber(), 3);
    EXPECT_EQ(match.game.winningPath(), (Cells{{0, 1}, {1, 1}, {2, 0}}));
    EXPECT_EQ(match.game.lastMove(), (Hex::Coord{2, 0}));
}

TEST(Game, AStoppedGameIsNotNotifiedAtTheEnd) {
    Match match(7, {{0, 0}, {0, 1}}, {{3, 3}}, Player::declineSwap, 2);
    EXPECT_EQ(match.game.run(), 0);
    EXPECT_EQ(match.observer.seen.size(), 2u);
    EXPECT_EQ(match.game.currentPlayer(), 0);
}

TEST(Game, StopBeforeRunAsksNobody) {
    Match match(7, {}, {}, Player::declineSwap);
    match.game.stop();
    EXPECT_EQ(match.game.run(), 0);
    EXPECT_EQ(match.p1.moveCalls, 0);
    EXPECT_TRUE(match.observer.seen.empty());
}

// A swap answer given after the stop is dropped, as a move would be.
TEST(Game, ASwapAnswerAfterTheStopIsDropped) {
    class StoppingPlayer : public ScriptedPlayer {
    public:
        StoppingPlayer(Hex::Game& game) : ScriptedPlayer({}, Player::takeSwap), m_game(game) {}
        std::uint8_t askSwap(Event& stopEvent) override {
            m_game.stop();
            return ScriptedPlayer::askSwap(stopEvent);
        }

    private:
        Hex::Game& m_game;
    };
    Match match(5, {{1, 3}}, {}, Player::takeSwap);
    StoppingPlayer second(match.game);
    match.game.setPlayer2(&second);
    EXPECT_EQ(match.game.run(), 0);
    EXPECT_EQ(second.swapCalls, 1);
    EXPECT_EQ(match.game.moves(), (Cells{{1, 3}}));
    EXPECT_EQ(match.game.board().cell(1, 3), Hex::Game::player1Stone);
}

TEST(Game, DefaultPlayersPlayAWholeGame) {
    for (std::uint32_t n = 2; n <= 12; ++n) {
        Player first("Player 1");
        Player second("Player 2");
        Hex::Game game(n, nullptr);
        game.setPlayer1(&first);
        game.setPlayer2(&second);
        const int winner = game.run();
        EXPECT_NE(winner, 0) << "size " << n;
        EXPECT_EQ(game.winner(), winner);
        EXPECT_EQ(game.moves()[1], (Hex::Coord{static_cast<int>(n), static_cast<int>(n)}));
    }
}

TEST(Game, RunWithoutPlayersIsRefused) {
    Hex::Game game(5, nullptr);
    EXPECT_THROW(game.run(), Hex::Exception);
}

} // namespace
