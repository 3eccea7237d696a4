#include "model/Game.h"
#include "model/InvalidCoordException.h"
#include "model/OffBoardException.h"

#include "support/ScriptedPlayer.h"

#include <gtest/gtest.h>

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

// Two scripted players in a game whose observer records each turn and stops the game after
// `stopAfter` notifications.
struct Match : Hex::GameObserver {
    Match(std::uint32_t size, Cells p1Moves, Cells p2Moves, std::uint8_t swapAnswer,
          int stopAfter = -1)
        : p1({p1Moves.begin(), p1Moves.end()}), p2({p2Moves.begin(), p2Moves.end()}, swapAnswer),
          m_stopAfter(stopAfter), game(size, this) {
        game.setPlayer1(&p1);
        game.setPlayer2(&p2);
    }
    void onGameChanged() override {
        seen.push_back(Seen{game.moves(), game.currentPlayer(), game.moveNumber(), game.lastMove(),
                            game.boardSnapshot()});
        if (static_cast<int>(seen.size()) == m_stopAfter) {
            game.stop();
        }
    }
    ScriptedPlayer p1;
    ScriptedPlayer p2;
    int m_stopAfter;
    std::vector<Seen> seen;
    Hex::Game game;
};

TEST(Game, NewGameIsEmptyAndDoesNotRunWithoutTwoPlayers) {
    Hex::Game game(11, nullptr);
    EXPECT_EQ(game.lastMove(), Hex::noMove);
    EXPECT_EQ(game.currentPlayer(), 0);
    EXPECT_EQ(game.moveNumber(), 0);
    EXPECT_TRUE(game.moves().empty());
    EXPECT_EQ(game.winner(), 0);
    EXPECT_TRUE(game.winningPath().empty());
    ScriptedPlayer player({});
    game.setPlayer2(&player);
    EXPECT_EQ(player.game(), &game);
    EXPECT_THROW(game.run(), Hex::Exception);
}

// Player 2 is asked once, after Player 1's first stone: "yes" ends the turn with the swap
// marker and the stone mirrored, "no" asks for a move in the same turn, any other answer
// passes the turn. Turns alternate all the same and the move number counts pairs.
TEST(Game, EachSwapAnswerTakesTheSecondTurn) {
    const struct {
        std::uint8_t answer;
        Cells afterSecondTurn;
        Hex::Coord lastMove;
        int p2MoveCalls;
    } cases[] = {{Player::takeSwap, {{2, 5}, {11, 11}}, {5, 2}, 1},
                 {Player::declineSwap, {{2, 5}, {6, 6}}, {6, 6}, 2},
                 {7, {{2, 5}}, {2, 5}, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int{c.answer});
        Match match(11, {{2, 5}, {3, 3}, {4, 4}}, {{6, 6}, {7, 7}}, c.answer, 5);
        EXPECT_EQ(match.game.run(), 0);
        ASSERT_EQ(match.seen.size(), 5u);
        EXPECT_EQ(match.p2.swapCalls, 1);
        EXPECT_EQ(match.p2.moveCalls, c.p2MoveCalls);
        EXPECT_EQ(match.seen[1].moves, c.afterSecondTurn);
        EXPECT_EQ(match.seen[1].lastMove, c.lastMove);
        EXPECT_EQ(match.seen[1].board, Hex::Game(11, c.afterSecondTurn).board());
        std::vector<int> players;
        std::vector<int> numbers;
        for (const Seen& turn : match.seen) {
            players.push_back(turn.currentPlayer);
            numbers.push_back(turn.moveNumber);
        }
        EXPECT_EQ(players, (std::vector<int>{2, 1, 2, 1, 2}));
        EXPECT_EQ(numbers, (std::vector<int>{1, 2, 2, 3, 3}));
    }
}

// The text of the exception that ended the game, checked to be what() as well.
std::string runUntilThrown(Hex::Game& game) {
    try {
        game.run();
    } catch (const Hex::Exception& e) {
        EXPECT_STREQ(e.what(), e.message().c_str());
        return e.message();
    }
    return "nothing thrown";
}

// A bad answer ends the game with its text and leaves the moves and the side to move as
// they were.
TEST(Game, AMoveOnAnOccupiedCellOrOffTheBoardEndsTheGameWithTheText) {
    Match second(11, {{0, 0}}, {{0, 0}}, Player::declineSwap);
    EXPECT_EQ(runUntilThrown(second.game), "Invalid coord of (0, 0) on a board of size 11.  "
                                           "Player2 attempted move on non-empty position.");
    EXPECT_EQ(second.game.moves(), (Cells{{0, 0}}));
    EXPECT_EQ(second.game.currentPlayer(), 2);

    Match first(5, {{1, 1}, {2, 2}}, {{2, 2}}, Player::declineSwap);
    EXPECT_EQ(runUntilThrown(first.game), "Invalid coord of (2, 2) on a board of size 5.  "
                                          "Player1 attempted move on non-empty position.");
    EXPECT_EQ(first.game.moves(), (Cells{{1, 1}, {2, 2}}));

    Match off(11, {{-1, -1}}, {}, Player::declineSwap);
    EXPECT_EQ(runUntilThrown(off.game), "Out of bounds exception in Board::isEmpty.  "
                                        "Board size is 11.  Input was (-1, -1)");
    EXPECT_TRUE(off.game.moves().empty());
    EXPECT_TRUE(off.seen.empty());
}

TEST(Game, AWinEndsTheGameAndNotifiesOnceMore) {
    // Player 1 runs down the middle of a 3 x 3 board.
    Match match(3, {{0, 1}, {1, 1}, {2, 0}}, {{0, 0}, {0, 2}}, Player::declineSwap);
    EXPECT_EQ(match.game.run(), 1);
    EXPECT_EQ(match.seen.size(), 6u); // five turns and the end
    EXPECT_EQ(match.game.currentPlayer(), 0);
    EXPECT_EQ(match.game.moveNumber(), 3);
    EXPECT_EQ(match.game.winningPath(), (Cells{{0, 1}, {1, 1}, {2, 0}}));
    EXPECT_EQ(match.game.lastMove(), (Hex::Coord{2, 0}));
}

TEST(Game, AStoppedGameIsNotNotifiedAtTheEndAndAStopBeforeRunAsksNobody) {
    Match stopped(7, {{0, 0}, {0, 1}}, {{3, 3}}, Player::declineSwap, 2);
    EXPECT_EQ(stopped.game.run(), 0);
    EXPECT_EQ(stopped.seen.size(), 2u);
    EXPECT_EQ(stopped.game.currentPlayer(), 0);

    Match early(7, {}, {}, Player::declineSwap);
    early.game.stop();
    EXPECT_EQ(early.game.run(), 0);
    EXPECT_EQ(early.p1.moveCalls, 0);
    EXPECT_TRUE(early.seen.empty());
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

TEST(Replay, SwapMarkerMovesTheFirstStone) {
    EXPECT_EQ(Hex::Game(11, Cells{{2, 5}, {11, 11}}).lastMove(), (Hex::Coord{5, 2}));
    const Hex::Game game(11, Cells{{2, 5}, {11, 11}, {3, 3}});
    EXPECT_EQ(game.board().cell(5, 2), 2);
    EXPECT_EQ(game.board().cell(3, 3), 1);
    EXPECT_EQ(game.board().cell(2, 5), 0);
    EXPECT_EQ(game.moves(), (Cells{{2, 5}, {11, 11}, {3, 3}}));
    EXPECT_EQ(game.lastMove(), (Hex::Coord{3, 3}));
    EXPECT_EQ(game.currentPlayer(), 0);
    // A cell named twice takes the later value.
    EXPECT_EQ(Hex::Game(5, Cells{{1, 1}, {1, 1}}).board().cell(1, 1), 2);
}

TEST(Replay, EntriesOffTheBoardThrowInsteadOfWritingAnywhere) {
    EXPECT_THROW(Hex::Game(5, Cells{{5, 5}}), Hex::OffBoardException); // swap marker first
    EXPECT_THROW(Hex::Game(5, Cells{{0, 0}, {-1, 2}}), Hex::OffBoardException);
    EXPECT_THROW(Hex::Game(5, Cells{{0, 0}, {2, 7}}), Hex::OffBoardException);
}

// A replayed game that is run goes on from its moves: the side to move is asked first, the
// swap question only when one stone stands, and the moves made are appended.
TEST(Replay, ARunReplayedGameGoesOnFromItsMoves) {
    ScriptedPlayer p1({{0, 1}, {1, 1}, {2, 0}});
    ScriptedPlayer p2({{0, 0}, {0, 2}}, Player::takeSwap);
    Hex::Game game(3, Cells{{2, 2}}, nullptr);
    game.setPlayer1(&p1);
    game.setPlayer2(&p2);
    EXPECT_EQ(game.run(), 1);
    EXPECT_EQ(p2.swapCalls, 1);
    EXPECT_EQ(game.moves(), (Cells{{2, 2}, {3, 3}, {0, 1}, {0, 0}, {1, 1}, {0, 2}, {2, 0}}));
    EXPECT_EQ(game.board().cell(2, 2), 2);
    EXPECT_EQ(game.moveNumber(), 4);

    ScriptedPlayer q1({{0, 0}});
    ScriptedPlayer q2({{2, 0}, {2, 1}});
    Hex::Game later(3, Cells{{2, 2}, {3, 3}, {0, 1}}, nullptr);
    later.setPlayer1(&q1);
    later.setPlayer2(&q2);
    EXPECT_EQ(later.run(), 2);
    EXPECT_EQ(q2.swapCalls, 0);
    EXPECT_EQ(later.moves(), (Cells{{2, 2}, {3, 3}, {0, 1}, {2, 0}, {0, 0}, {2, 1}}));
}

} // namespace
