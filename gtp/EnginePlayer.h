#pragma once

#include "gtp/EngineDialect.h"
#include "model/Coord.h"
#include "platform/Clock.h"
#include "platform/Event.h"
#include "players/TimedPlayer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class EngineProcess;
class MessageSink;

// Another program's GTP engine (MoHex, Wolve, quorlen-cli gtp, ...) as one side of the
// window's games.
//
// The engine runs as a child process (EngineProcess, through /bin/sh -c) for as long as the
// player lives and plays every game in between. The player starts it at once, in the
// background, and asks its name, which then names the player; the window can wait for the
// start (startState()) to refuse an engine that does not answer. At each question the player
// brings the engine to the game: boardsize, clear_board and the swap rule at a new game,
// play for the moves it has not seen (the swap in the form the engine takes, see
// EngineDialect), time_left from the side's clock, then genmove.
//
// Time: every question must be answered within the side's time left for the game (the time
// limit less its clock). An engine that overruns it, dies, garbles the protocol, refuses a
// command, answers what is no legal move, or resigns ends the game: the question throws a
// Hex::Exception whose message names the engine, the side and the reason, and the engine
// is killed; the next game starts it again.
//
// Thread contract: the clocked questions on the game thread; name() and startState() from
// any thread. Each question starts a watcher thread that waits for the game's stop event or
// the question's end; a stop ends the engine's wait at once (the engine is then killed) and
// the question returns an answer the game drops. Destroying the player during a question
// stops it and waits for it; destroying it during the start ends the start.
class EnginePlayer : public TimedPlayer {
public:
    struct Options {
        std::string command;
        int side = 1;                 // 1 Black, 2 White
        std::int32_t timeLimit = 300; // the side's seconds for a whole game
        MessageSink* sink = nullptr;  // where the status texts go; nowhere when null
        std::chrono::milliseconds startLimit{30'000};
    };
    enum class Start { running, ready, failed };

    // The name until the engine has given its own.
    static constexpr const char* unnamed = "GTP Engine";

    explicit EnginePlayer(Options options, const Clock& clock = Clock::steady());
    ~EnginePlayer() override;

    std::string name() const override;
    const std::string& command() const { return m_options.command; }
    Start startState() const;
    // Why the start failed; empty while it runs or when it succeeded.
    std::string startFailure() const;

protected:
    Hex::Coord chooseMove(Event& stopEvent) override;
    bool decideSwap(Event& stopEvent) override;

private:
    using Deadline = std::chrono::steady_clock::time_point;
    class Watch;
    struct Stopped {}; // a stop of the game reached the engine's wait
    struct Failure {   // the engine failed; what it did, in a few words
        std::string what;
    };
    enum class TimeLeftForm { standard, twoArguments, none };

    std::optional<Hex::Coord> think(bool swapQuestion);
    void startEngine(Deadline deadline);
    void prepare(const std::vector<Hex::Coord>& moves, Deadline deadline);
    void sendTimeLeft(std::int32_t seconds, Deadline deadline);
    Hex::Coord readAnswer(const std::string& command, const std::string& text,
                          const std::vector<Hex::Coord>& moves, bool swapQuestion);
    std::string expect(const std::string& command, Deadline deadline);
    [[noreturn]] void fail(const std::string& what);
    std::string title() const;
    void postStatus(const std::string& text);

    const Options m_options;

    mutable std::mutex m_lock; // guards the three fields below
    std::string m_name = unnamed;
    Start m_start = Start::running;
    std::string m_startFailure;

    // Raised by a stop of the game during a question, or by the destructor: ends every wait
    // on the engine.
    std::atomic<bool> m_cancel{false};
    Event m_done{Event::Mode::AutoReset};
    std::thread m_watcher;
    std::thread m_starter;

    // The starter's until it is joined, then the game thread's.
    std::unique_ptr<EngineProcess> m_process;
    EngineDialect m_dialect;
    TimeLeftForm m_timeLeft = TimeLeftForm::standard;
    // The game the engine is set up for. A new game may take the old one's address, so the
    // board size is kept as well: with the same size and moves that begin with the ones the
    // engine knows, the engine's position is the game's, whichever game it is.
    const Hex::Game* m_toldGame = nullptr;
    std::uint32_t m_toldSize = 0;
    std::vector<Hex::Coord> m_told; // the moves of that game it knows
    // White's first stone, answered to the swap question, for the getMove that follows.
    std::optional<Hex::Coord> m_pending;
};
