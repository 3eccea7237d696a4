#pragma once

#include "engine/LearningMemory.h"
#include "engine/Weights.h"
#include "platform/Clock.h"
#include "platform/Event.h"
#include "players/TimedPlayer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

class EvaluationCache;
class HexSearch;
class MessageSink;
class PathFinder;
class SettingsStore;

// The computer player in both strengths. The easy one plays where the two sides' cheapest
// paths cross; the hard one runs the time-bounded look-ahead search and, while learning is
// on, moves its four weights once per move. Both share the opening move, the swap decision,
// the watch on the game's stop event and the status messages.
//
// Thread contract: chooseMove()/decideSwap() run on the game thread (through the clocked
// getMove()/askSwap()). Each answer starts a watcher thread that waits for the game's stop
// event or the answer's end; on a stop it marks the player stopped and stops the search. The
// watcher is joined when the answer ends. Destroying the player while an answer runs stops
// that answer and waits for it. prepareGame() runs while no answer does.
class ComputerPlayer : public TimedPlayer {
public:
    // What the player reaches outside itself. The defaults are the program's own.
    struct Context {
        MessageSink& sink;
        SettingsStore& settings;
        const Clock& clock = Clock::steady();
        std::filesystem::path weightsFile = "quorlen.dat";
        // Seeds the opening move's generator; the current time when empty.
        std::function<std::uint32_t()> seed;
        // The swap decision's pause; a real sleep when empty.
        std::function<void(std::chrono::milliseconds)> pause;
    };

    ComputerPlayer(std::string name, std::int32_t timeLimit, bool lookAhead, int playerNumber,
                   Context context);
    ~ComputerPlayer() override;

    const Weights& weights() const { return m_weights; }
    bool lookAhead() const { return m_lookAhead; }
    std::int32_t timeLimit() const { return m_timeLimit; }

    // The hard move's budget in whole seconds at this move number on a board of side n;
    // 0 or less means there is no time to search.
    std::int32_t timeBudget(std::uint32_t n, int moveNumber);

    // A game of its own learns afresh; a game taken back gets the weights and the learning
    // memory back that the player had before its first choice at a position now gone.
    void prepareGame(std::size_t moveCount, bool takenBack) override;

protected:
    Hex::Coord chooseMove(Event& stopEvent) override;
    bool decideSwap(Event& stopEvent) override;

private:
    class Watch;

    // What learning had made of the player before its choice at a position of moveCount moves.
    struct LearningState {
        std::size_t moveCount = 0;
        Weights weights;
        LearningMemory memory;
    };

    void watchStop();
    void preparePathFinders(std::uint32_t n);
    Hex::Coord openingMove(std::uint32_t n);
    Hex::Coord hardMove(std::uint32_t n, int moveNumber, double learningRate);
    Hex::Coord easyMove();
    void postStatus(const char* text);

    Context m_context;
    Event* m_hStopEvent = nullptr;
    Event m_hDoneEvent{Event::Mode::AutoReset};
    std::atomic<bool> m_stopped{false};
    const std::int32_t m_timeLimit;
    const bool m_lookAhead;
    const int m_playerNumber;

    std::mutex m_searchLock; // the watcher's "stop the search" against its destruction
    std::unique_ptr<HexSearch> m_pSearch;
    std::unique_ptr<PathFinder> m_pPathFinder1;
    std::unique_ptr<PathFinder> m_pPathFinder2;
    // The hard player's evaluations, kept from move to move (bounded; see HexSearch).
    std::unique_ptr<EvaluationCache> m_evaluations;
    Weights m_weights = defaultWeights;
    LearningMemory m_memory;
    // One state per choice of the game since its move number 2, in the order of the
    // positions.
    std::vector<LearningState> m_learningStates;
    std::mt19937 m_random;
    std::thread m_watcher;
};
