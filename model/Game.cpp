#include "model/Game.h"

#include "model/InvalidCoordException.h"
#include "model/Player.h"

namespace Hex {

Game::Game(std::uint32_t size, GameObserver* observer) : m_board(size), m_observer(observer) {}

Game::Game(std::uint32_t size, const std::vector<Coord>& moves) : m_board(size), m_moves(moves) {
    const auto swapMarker = Coord{static_cast<std::int32_t>(size), static_cast<std::int32_t>(size)};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Coord move = moves[i];
        if (move == swapMarker && i > 0) {
            const Coord first = moves[0];
            m_board.cell(first.row, first.col, 0);
            m_board.cell(first.col, first.row, player2Stone);
        } else {
            m_board.cell(move.row, move.col, i % 2 == 0 ? player1Stone : player2Stone);
        }
    }
}

Game::Game(std::uint32_t size, const std::vector<Coord>& moves, GameObserver* observer)
    : Game(size, moves) {
    m_observer = observer;
}

Game::~Game() {
    stop();
}

void Game::setPlayer1(Player* player) {
    m_player1 = player;
    player->setGame(this);
}

void Game::setPlayer2(Player* player) {
    m_player2 = player;
    player->setGame(this);
}

int Game::run() {
    if (m_player1 == nullptr || m_player2 == nullptr) {
        throw Exception("A game needs two players.");
    }
    // Every recorded move took one turn; a new game starts at turn 0.
    int turns = 0;
    {
        std::lock_guard lock(m_lock);
        turns = static_cast<int>(m_moves.size());
    }
    m_currentPlayer = turns % 2 + 1;
    m_moveNumber = turns / 2 + 1;
    int win = winner();
    while (win == 0 && !m_stopFlag) {
        // Step 1: the swap question, asked once, right after Player 1's first stone.
        const bool turnTaken = turns == 1 && takeSwapTurn();
        if (m_stopFlag) {
            break;
        }
        if (!turnTaken) {
            // Step 2: the side to move places a stone.
            if (m_currentPlayer == 1) {
                takeMoveTurn(m_player1, player1Stone,
                             "Player1 attempted move on non-empty position.");
            } else {
                takeMoveTurn(m_player2, player2Stone,
                             "Player2 attempted move on non-empty position.");
            }
            if (m_stopFlag) {
                break;
            }
        }
        // Step 3: pass the turn, tell the observer, look for a winner.
        ++turns;
        m_currentPlayer = m_currentPlayer % 2 + 1;
        if (m_currentPlayer == 1) {
            ++m_moveNumber;
        }
        if (m_stopFlag) {
            break;
        }
        if (m_observer != nullptr) {
            m_observer->onGameChanged();
        }
        win = winner();
    }
    m_currentPlayer = 0;
    if (!m_stopFlag && m_observer != nullptr) {
        m_observer->onGameChanged();
    }
    return win;
}

// Asks Player 2 about the swap. Returns true when the answer ends the turn (the swap was
// taken, or an answer other than yes or no passes it), false when Player 2 is to move.
bool Game::takeSwapTurn() {
    const std::uint8_t answer = m_player2->askSwap(m_stopEvent);
    if (m_stopFlag) {
        // An answer given after the stop is dropped, as a move is: a waiting human's answer
        // is then whatever an earlier swap question left.
        return false;
    }
    if (answer == Player::declineSwap) {
        return false;
    }
    if (answer == Player::takeSwap) {
        std::lock_guard lock(m_lock);
        const Coord first = m_moves.back();
        m_board.cell(first.row, first.col, 0);
        m_board.cell(first.col, first.row, player2Stone);
        const auto n = static_cast<std::int32_t>(m_board.size());
        m_moves.push_back(Coord{n, n});
    }
    return true;
}

void Game::takeMoveTurn(Player* player, int stone, const char* reason) {
    const Coord move = player->getMove(m_stopEvent);
    if (m_stopFlag) {
        return; // an answer given after the stop is dropped
    }
    if (!m_board.isEmpty(move.row, move.col)) {
        throw InvalidCoordException(move.row, move.col, static_cast<std::int32_t>(m_board.size()),
                                    reason);
    }
    recordMove(move, stone);
}

void Game::recordMove(Coord move, int stone) {
    std::lock_guard lock(m_lock);
    m_board.cell(move.row, move.col, stone);
    m_moves.push_back(move);
}

void Game::stop() {
    m_stopFlag = true;
    m_stopEvent.set();
}

int Game::winnerOf(const Board& board) {
    if (!board.shortestConnection(player1Stone, player1Direction).empty()) {
        return 1;
    }
    if (!board.shortestConnection(player2Stone, player2Direction).empty()) {
        return 2;
    }
    return 0;
}

int Game::winner() const {
    std::lock_guard lock(m_lock);
    return winnerOf(m_board);
}

std::vector<Coord> Game::winningPathOf(const Board& board) {
    std::vector<Coord> path = board.shortestConnection(player1Stone, player1Direction);
    if (path.empty()) {
        path = board.shortestConnection(player2Stone, player2Direction);
    }
    return path;
}

std::vector<Coord> Game::winningPath() const {
    std::lock_guard lock(m_lock);
    return winningPathOf(m_board);
}

Board Game::boardSnapshot() const {
    std::lock_guard lock(m_lock);
    return m_board;
}

std::vector<Coord> Game::moves() const {
    std::lock_guard lock(m_lock);
    return m_moves;
}

Coord Game::lastMove() const {
    std::lock_guard lock(m_lock);
    if (m_moves.empty()) {
        return noMove;
    }
    const auto n = static_cast<std::int32_t>(m_board.size());
    const Coord last = m_moves.back();
    if (last == Coord{n, n} && m_moves.size() >= 2) {
        const Coord swapped = m_moves[m_moves.size() - 2];
        return Coord{swapped.col, swapped.row};
    }
    return last;
}

} // namespace Hex
