#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace Hex {
class Game;
}

// Turns a front end's "# interrupt" (or its going away) into a stop of the command that
// thinks (a genmove, or a live analysis), also when the request comes before the think has
// begun.
//
// Commands are numbered in the order they were read. An interrupt read after command k
// stops every think of a command numbered k or lower: the one thinking now and those still
// waiting in line, while a later command thinks undisturbed. A stop reaches only the think
// itself, not the replay of the recorded moves before a genmove's, so that the game always
// gets to the computer player's turn and the player answers its best move so far.
//
// A live analysis has no end of its own: once the input has ended nothing could interrupt it
// any more, so the end of the input stops it too (and a genmove not).
//
// Thread contract: begin(), enter(), enterEndless() and leave() on the thread that runs the
// command; interruptThrough() and inputEnded() from any thread. One lock guards the state,
// held for a few instructions and never while thinking.
class InterruptGate {
public:
    // A command with this number starts.
    void begin(std::uint64_t command);
    // The computer player is about to think in game; the game is stopped at once when the
    // running command is already interrupted.
    void enter(Hex::Game& game);
    // A search that runs until it is interrupted is about to start; stop is raised at once
    // when the running command is already interrupted or the input has ended.
    void enterEndless(std::atomic<bool>& stop);
    // The think has ended; later interrupts leave it alone.
    void leave();
    // Stops the running and the waiting commands numbered up to command.
    void interruptThrough(std::uint64_t command);
    // The input has ended: stops the running and every later endless search.
    void inputEnded();

private:
    void enterWith(std::function<void()> stop, bool endless);
    bool interrupted() const {
        return m_command <= m_interruptedThrough || (m_endless && m_inputEnded);
    }

    std::mutex m_lock; // guards everything below
    std::uint64_t m_command = 0;
    std::uint64_t m_interruptedThrough = 0;
    bool m_inputEnded = false;
    bool m_endless = false;
    std::function<void()> m_stop; // stops the running think; empty between thinks
};
