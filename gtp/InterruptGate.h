#pragma once

#include <cstdint>
#include <mutex>

namespace Hex {
class Game;
}

// Turns a front end's "# interrupt" (or its going away) into a stop of the computer
// player's think in a genmove, also when the request comes before the think has begun.
//
// Commands are numbered in the order they were read. An interrupt read after command k
// stops every genmove numbered k or lower: the one thinking now and those still waiting in
// line, while a later genmove thinks undisturbed. A stop reaches only the think itself, not
// the replay of the recorded moves before it, so that the game always gets to the computer
// player's turn and the player answers its best move so far.
//
// Thread contract: begin(), enter() and leave() on the thread that runs the genmove;
// interruptThrough() from any thread. One lock guards the state, held for a few
// instructions and never while thinking.
class InterruptGate {
public:
    // A genmove with this number starts.
    void begin(std::uint64_t command);
    // The computer player is about to think in game; the game is stopped at once when the
    // running genmove is already interrupted.
    void enter(Hex::Game& game);
    // The think has ended; later interrupts leave the game alone.
    void leave();
    // Stops the running and the waiting genmoves numbered up to command.
    void interruptThrough(std::uint64_t command);

private:
    bool interrupted() const { return m_command <= m_interruptedThrough; }

    std::mutex m_lock; // guards everything below
    std::uint64_t m_command = 0;
    std::uint64_t m_interruptedThrough = 0;
    Hex::Game* m_thinking = nullptr;
};
