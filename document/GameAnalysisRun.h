#pragma once

#include "mcts/GameAnalysis.h"
#include "mcts/MoveAnalysis.h"
#include "model/Coord.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class MessageSink;
struct WmAppAnalysisDone;

// Analyze Game: the review of a whole game by the expert's search (GameAnalysis) on a thread
// of its own, one at a time. It posts WmAppAnalysisProgress after every position searched and
// WmAppAnalysisDone at the end, each with the number of its request.
//
// Thread contract: every method on the user-interface thread. The run's thread works on its
// own copy of the moves, writes only the result and the error, and posts. stop() raises the
// stop flag, which the search polls after every playout, and joins the thread. Each start()
// numbers its request, and accept() takes only the answer to the latest one: it joins the
// thread before it reads the result, so the result was written before it is read, and an
// answer posted just before a stop is dropped when it arrives.
class GameAnalysisRun {
public:
    explicit GameAnalysisRun(MessageSink& sink);
    ~GameAnalysisRun();
    GameAnalysisRun(const GameAnalysisRun&) = delete;
    GameAnalysisRun& operator=(const GameAnalysisRun&) = delete;

    // Stops any analysis still running, then analyses the game of these moves.
    void start(std::uint32_t size, std::vector<Hex::Coord> moves, GameAnalysis::Settings settings);
    void stop();
    // From start() until its answer has been accepted, or stop().
    bool isRunning() const { return m_running; }
    bool isCurrent(int request) const { return m_running && request == m_request; }

    // The analysis of every move, for the answer to the latest request; nullopt for any
    // other answer, and for an analysis that ended without one (see error()).
    std::optional<std::vector<MoveAnalysis>> accept(const WmAppAnalysisDone& message);
    // Why the accepted answer has no analysis: the search refused the game.
    const std::string& error() const { return m_error; }

private:
    void analyse(std::uint32_t size, std::vector<Hex::Coord> moves, GameAnalysis::Settings settings,
                 int request);

    MessageSink& m_sink;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    int m_request = 0;
    // Written by the run's thread, read only after it has been joined.
    GameAnalysis::Result m_result;
    std::string m_error;
};
