#pragma once

#include "model/Board.h"
#include "model/Coord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Hex {
class Game;
}

// A game kept as its move list, with the rules checked before every move: Black (side 1) and
// White (side 2) alternate from Black, a stone goes on an empty cell, the swap (the swap
// marker (N, N)) is only White's answer to the first stone, and nothing follows a win. The
// board and the winner are those of the game's replay.
//
// Thread contract: none; one thread at a time.
class GamePosition {
public:
    explicit GamePosition(std::uint32_t size);
    ~GamePosition();
    GamePosition(const GamePosition&) = delete;
    GamePosition& operator=(const GamePosition&) = delete;

    std::uint32_t size() const { return m_size; }
    const std::vector<Hex::Coord>& moves() const { return m_moves; }
    const Hex::Board& board() const;
    int sideToMove() const { return m_moves.size() % 2 == 0 ? 1 : 2; }
    // 0 while nobody has won.
    int winner() const { return m_winner; }

    // Why side may not play move now, in a few words ("cell c5 is occupied"); empty when
    // the move is legal.
    std::string refusal(int side, Hex::Coord move) const;
    // Plays a move of the side to move; the caller has checked it with refusal().
    void play(Hex::Coord move);
    // Plays the moves in turn up to the first one refused; returns why that one was
    // ("move 3 (c5): cell c5 is occupied"), or empty when all were played.
    std::string playAll(const std::vector<Hex::Coord>& moves);
    // Takes the last move back; false when there is none.
    bool undo();
    void clear();

private:
    void replay();

    std::uint32_t m_size;
    std::vector<Hex::Coord> m_moves;
    std::unique_ptr<Hex::Game> m_replay;
    int m_winner = 0;
};
