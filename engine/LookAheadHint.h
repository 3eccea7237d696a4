#pragma once

#include "engine/HintEngine.h"
#include "engine/Weights.h"
#include "platform/Clock.h"

#include <atomic>
#include <mutex>

class HexSearch;

// The hard computer player's look-ahead search as a hint: the same search over the same
// weights, on the position as it stands, without the learning step and without posting
// anything to the window. When no iteration finishes it gives the easy player's move
// without a value.
//
// Thread contract: as HintEngine; stop() and the end of find() share a lock around the
// running search, so stop() never reaches a search that is gone.
class LookAheadHint : public HintEngine {
public:
    explicit LookAheadHint(const Weights& weights, const Clock& clock = Clock::steady());

    Hint find(const Position& position, std::chrono::seconds time) override;
    void stop() override;

private:
    Weights m_weights;
    const Clock& m_clock;
    std::atomic<bool> m_stopped{false};
    std::mutex m_searchLock;
    HexSearch* m_search = nullptr;
};
