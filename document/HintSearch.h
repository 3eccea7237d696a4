#pragma once

#include "engine/HintEngine.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

class MessageSink;

// Finds one hint at a time on a thread of its own and posts it as WmAppShowHint.
//
// Thread contract: start(), stop() and the destructor on the user-interface thread; the
// hint's thread runs only the engine's find() and the post. stop() stops the engine and
// joins the thread; a hint stopped so posts nothing (and one that was posted already carries
// a request number that its receiver no longer waits for).
class HintSearch {
public:
    explicit HintSearch(MessageSink& sink);
    ~HintSearch();
    HintSearch(const HintSearch&) = delete;
    HintSearch& operator=(const HintSearch&) = delete;

    // Stops any hint still running, then searches the position with the engine for at most
    // `time`.
    void start(std::unique_ptr<HintEngine> engine, HintEngine::Position position,
               std::chrono::seconds time, int request);
    void stop();
    // True from start() until the hint has been posted or stopped.
    bool isFinding() const { return m_finding.load(); }

private:
    void find(HintEngine::Position position, std::chrono::seconds time, int request);

    MessageSink& m_sink;
    // Made before the thread starts and freed after it is joined.
    std::unique_ptr<HintEngine> m_engine;
    std::thread m_thread;
    std::atomic<bool> m_finding{false};
    std::atomic<bool> m_stopped{false};
};
