#pragma once

#include "model/Coord.h"

#include <cstdint>
#include <string>

class Event;
namespace Hex {
class Game;
}

// One side of a game, as the game loop asks it. Both calls run on the game thread and block
// it until the player answers or the game's stop event is signalled.
//
// The default answers are the simplest legal ones: the first empty cell in reading order,
// and always taking the swap.
class Player {
public:
    // askSwap's answers; any other byte passes the turn without placing a stone.
    static constexpr std::uint8_t declineSwap = 0;
    static constexpr std::uint8_t takeSwap = 1;

    explicit Player(std::string name);
    virtual ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    virtual Hex::Coord getMove(Event& stopEvent);
    virtual std::uint8_t askSwap(Event& stopEvent);

    // Virtual for players that learn their name after they are made (another program's
    // engine); may be called from any thread.
    virtual std::string name() const { return m_name; }
    // Called by the game when the player is attached to it.
    void setGame(Hex::Game* game) { m_game = game; }
    Hex::Game* game() const { return m_game; }

protected:
    // The first empty cell of the attached game's board, rows then columns; (-1, -1) when
    // the board is full or no game is attached.
    Hex::Coord firstEmptyCell() const;

private:
    std::string m_name;
    Hex::Game* m_game = nullptr;
};
