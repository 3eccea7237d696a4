#pragma once

#include "model/Board.h"
#include "model/Coord.h"
#include "model/GameObserver.h"
#include "platform/Event.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class Player;

namespace Hex {

// One game of Hex: the board, the two players, the move list, the swap rule and the loop
// that asks the players for moves until one side has won or the game is stopped.
//
// Thread contract:
//  - run() runs on the game thread; every player call, board write and observer call
//    happens there. A game is run at most once.
//  - stop() may be called from any thread, also before run() starts; the game then ends at
//    the loop's next check and a waiting player is released through the stop event.
//  - moves(), boardSnapshot(), winner(), winningPath(), lastMove(), currentPlayer() and
//    moveNumber() may be called from any thread while the game runs: the game thread's
//    writes and these reads share one lock, so a reader sees whole moves.
//  - board() gives the live board without the lock: for the game thread itself, and for a
//    game that is not running (a replayed game).
//  - A replayed game may be run: it goes on from its recorded moves (take back, continuing
//    a reviewed game).
class Game {
public:
    static constexpr int player1Direction = 0;
    static constexpr int player2Direction = 1;
    static constexpr int player1Stone = 1;
    static constexpr int player2Stone = 2;

    Game(std::uint32_t size, GameObserver* observer);
    // Rebuilds the position of a recorded game; never run. Each entry must be on the board
    // or the swap marker (size, size) after the first; a bad entry throws OffBoardException.
    Game(std::uint32_t size, const std::vector<Coord>& moves);
    // The same position as a game that run() goes on from: the side to move next is asked
    // first (Player 2 the swap question when one stone stands), the turns counted on from
    // the recorded ones.
    Game(std::uint32_t size, const std::vector<Coord>& moves, GameObserver* observer);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    void setPlayer1(Player* player);
    void setPlayer2(Player* player);

    // Plays the game from its recorded moves (none for a new game); returns the winner, 0
    // when stopped. Exceptions of the Hex family from
    // a bad answer leave it at once, keeping the moves made so far.
    int run();
    void stop();
    bool isStopped() const { return m_stopFlag.load(); }

    int winner() const;
    std::vector<Coord> winningPath() const;
    // The same for any board, however its stones came there: the side whose stones join
    // its edges (Player 1 looked at first), and the chain to draw.
    static int winnerOf(const Board& board);
    static std::vector<Coord> winningPathOf(const Board& board);

    const Board& board() const { return m_board; }
    Board boardSnapshot() const;
    std::vector<Coord> moves() const;
    Coord lastMove() const;
    int currentPlayer() const { return m_currentPlayer.load(); }
    int moveNumber() const { return m_moveNumber.load(); }

private:
    bool takeSwapTurn();
    void takeMoveTurn(Player* player, int stone, const char* reason);
    void recordMove(Coord move, int stone);

    mutable std::mutex m_lock; // guards m_board's cells and m_moves
    Board m_board;
    Player* m_player1 = nullptr;
    Player* m_player2 = nullptr;
    std::vector<Coord> m_moves;
    GameObserver* m_observer = nullptr;
    std::atomic<int> m_currentPlayer{0};
    std::atomic<int> m_moveNumber{0};
    Event m_stopEvent{Event::Mode::ManualReset};
    std::atomic<bool> m_stopFlag{false};
};

} // namespace Hex
