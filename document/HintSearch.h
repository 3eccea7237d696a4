#pragma once

#include "engine/HintEngine.h"
#include "model/Coord.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

class MessageSink;
struct WmAppShowHint;

// The window's hint: finds one at a time on a thread of its own, posts it as WmAppShowHint
// and keeps the move of the answer it accepted, until the next start() or stop().
//
// Thread contract: every method on the user-interface thread; the hint's thread runs only
// the engine's find() and the post. stop() stops the engine and joins the thread. Each
// start() numbers its request, and accept() takes only the answer to the latest one, so an
// answer posted just before a stop is dropped when it arrives.
class HintSearch {
public:
    explicit HintSearch(MessageSink& sink);
    ~HintSearch();
    HintSearch(const HintSearch&) = delete;
    HintSearch& operator=(const HintSearch&) = delete;

    // Stops any hint still running and forgets the shown one, then searches the position
    // with the engine for at most `time`.
    void start(std::unique_ptr<HintEngine> engine, HintEngine::Position position,
               std::chrono::seconds time);
    void stop();
    // True from start() until the hint has been posted or stopped.
    bool isFinding() const { return m_finding.load(); }

    // Takes the answer to the latest request: the status text naming the move and its value
    // for sideName (the side to move); nullopt for any other answer.
    std::optional<std::string> accept(const WmAppShowHint& message, const std::string& sideName);
    // The accepted move; noMove when none is shown, the swap marker (size, size) when the
    // hint is to take the swap.
    Hex::Coord shownMove() const { return m_shownMove; }
    bool showsSwap() const { return m_shownMove != Hex::noMove && m_shownMove == m_swapMarker; }

private:
    void find(HintEngine::Position position, std::chrono::seconds time, int request);

    MessageSink& m_sink;
    // Made before the thread starts and freed after it is joined.
    std::unique_ptr<HintEngine> m_engine;
    std::thread m_thread;
    std::atomic<bool> m_finding{false};
    std::atomic<bool> m_stopped{false};
    int m_request = 0;
    Hex::Coord m_shownMove = Hex::noMove;
    Hex::Coord m_swapMarker = Hex::noMove; // of the latest request's board
};
