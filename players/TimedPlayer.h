#pragma once

#include "model/Player.h"
#include "platform/Clock.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

// A player with a clock of the whole seconds it has spent answering.
//
// getMove() and askSwap() run the clock around chooseMove() and decideSwap(), which the
// subclasses implement. A think that crosses a second boundary counts one second; one that
// stays within a second counts nothing.
//
// Thread contract: getMove()/askSwap() on the game thread; timeUsed() from any thread (the
// status panes poll it); m_lock is held for a few instructions only, never while thinking.
class TimedPlayer : public Player {
public:
    explicit TimedPlayer(std::string name, const Clock& clock = Clock::steady());

    Hex::Coord getMove(Event& stopEvent) final;
    std::uint8_t askSwap(Event& stopEvent) final;

    // Seconds used so far, the running think included.
    std::int32_t timeUsed();
    void resetClock();

    // A game is about to be played on from its first moveCount moves (0 for a new game).
    // takenBack: it is the last game, taken back to there, and the player forgets whatever
    // it learned from later positions; otherwise it is a game of its own. Called while no
    // answer runs; the clock is not touched.
    virtual void prepareGame(std::size_t moveCount, bool takenBack);
    // The game (or the part of it since prepareGame) has ended, won or stopped; called on the
    // thread that ran it, once no answer runs. A player may free what it kept for the game.
    virtual void gameEnded() {}

protected:
    virtual Hex::Coord chooseMove(Event& stopEvent);
    virtual bool decideSwap(Event& stopEvent);

    // Blocks until no getMove()/askSwap() runs any more. A subclass destructor that has
    // made its running answer end calls it before it frees anything that answer uses.
    void waitUntilIdle();

private:
    void startClock();
    void stopClock();

    const Clock& m_clock;
    std::mutex m_lock; // guards the fields below
    std::condition_variable m_idle;
    std::int32_t m_secondsUsed = 0;
    std::int64_t m_startTime = 0;
    bool m_thinking = false;
    int m_runningCalls = 0;
};
