#pragma once

#include "model/Coord.h"
#include "sgf/GameVariation.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Hex {
class Game;
}

// A finished, stopped or opened game stepped through move by move: the document's copy of
// its moves and the position after the first k of them. A move played from a shown
// position starts a variation; the steps then go along the line shown, the game's first
// moves and then the variation's, and the game's own moves never change.
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

    // Takes a copy of a game's moves and of its variations (legal moves from branch points
    // within the game) and shows all of the game's moves.
    void load(std::uint32_t size, std::vector<Hex::Coord> moves,
              std::vector<GameVariation> variations = {});
    void clear();
    bool isLoaded() const { return m_loaded; }

    // The number of moves shown after the step along the line shown; k - 1 and k + 1 stop
    // at 0 and at all of its moves.
    std::size_t target(Step step) const;
    // Shows the position after the step; false when that is the one shown.
    bool go(Step step);
    // Shows the position after the first `count` moves (at most all); false when that is the
    // one shown.
    bool show(std::size_t count);

    std::size_t shownCount() const { return m_shown; }
    // The number of the game's moves.
    std::size_t moveCount() const { return m_gameMoves.size(); }
    std::uint32_t size() const { return m_size; }
    std::vector<Hex::Coord> shownMoves() const;
    // Whether a game can go on from the shown position: its moves follow the rules (a
    // record may name a cell twice) and nobody has won.
    bool canPlayOn() const;
    // The position after the shown moves, replayed; null while all of the game's moves are
    // shown on its own line (the game itself shows them).
    const Hex::Game* shownGame() const { return m_shownGame.get(); }

    // --- Variations ------------------------------------------------------------------------
    // Plays the side to move's stone on an empty cell of the shown position where the game
    // can go on. The game's next move, or a variation's first move at its branch point, shows
    // that line one move on; within a variation, its next move steps on and another cell
    // cuts it after the shown moves and goes on with the cell; any other cell starts a new
    // variation from the shown position. False when nothing changed.
    bool play(Hex::Coord cell);
    // Shows the game's line at the variation's branch point, or at the move shown when that
    // is earlier; false on the game's line.
    bool backToGame();
    // The branch point of the variation shown; nullopt on the game's line.
    std::optional<std::size_t> variationBranch() const;
    const std::vector<GameVariation>& variations() const { return m_variations; }

private:
    void replayShown();
    void showLine(std::optional<std::size_t> variation, std::size_t shown);
    // The variation with that branch point and first move, or a new one.
    std::size_t variationFrom(std::size_t branch, Hex::Coord cell);

    bool m_loaded = false;
    std::uint32_t m_size = 0;
    // The moves of the line shown: the game's, or a variation's with the game's before it.
    std::vector<Hex::Coord> m_moves;
    std::size_t m_shown = 0;
    std::unique_ptr<Hex::Game> m_shownGame;
    // How many of the game's first moves follow the rules; the winner of the shown position.
    std::size_t m_legalCount = 0;
    int m_shownWinner = 0;

    std::vector<Hex::Coord> m_gameMoves;
    std::vector<GameVariation> m_variations;
    std::optional<std::size_t> m_variation; // the one shown
};
