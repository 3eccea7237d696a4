#pragma once

#include "model/Coord.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Hex {
class Game;
}

// A finished, stopped or opened game stepped through move by move: the document's copy of
// its moves and the position after the first k of them.
//
// Thread contract: user-interface thread only. It reads only its own copies, never the game
// they were taken from.
class GameReview {
public:
    enum class Step { first, previous, next, last };

    GameReview();
    ~GameReview();
    GameReview(const GameReview&) = delete;
    GameReview& operator=(const GameReview&) = delete;

    // Takes a copy of a game's moves and shows all of them.
    void load(std::uint32_t size, std::vector<Hex::Coord> moves);
    void clear();
    bool isLoaded() const { return m_loaded; }

    // The number of moves shown after the step; k - 1 and k + 1 stop at 0 and at all moves.
    std::size_t target(Step step) const;
    // Shows the position after the step; false when that is the one shown.
    bool go(Step step);
    // Shows the position after the first `count` moves (at most all); false when that is the
    // one shown.
    bool show(std::size_t count);

    std::size_t shownCount() const { return m_shown; }
    std::size_t moveCount() const { return m_moves.size(); }
    std::uint32_t size() const { return m_size; }
    std::vector<Hex::Coord> shownMoves() const;
    // Whether a game can go on from the shown position: its moves follow the rules (a
    // record may name a cell twice) and nobody has won.
    bool canPlayOn() const { return m_shown <= m_legalCount && m_shownWinner == 0; }
    // The position after the shown moves, replayed; null while all moves are shown (the
    // game itself shows them).
    const Hex::Game* shownGame() const { return m_shownGame.get(); }

private:
    void replayShown();

    bool m_loaded = false;
    std::uint32_t m_size = 0;
    std::vector<Hex::Coord> m_moves;
    std::size_t m_shown = 0;
    std::unique_ptr<Hex::Game> m_shownGame;
    // How many of the first moves follow the rules; the winner of the shown position.
    std::size_t m_legalCount = 0;
    int m_shownWinner = 0;
};
