#pragma once

#include "mcts/MctsSearch.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class TreeMemoryBudget;

// The expert's search of one position without end, for a front end's live analysis: it
// searches in short slices and reports after each, until it is stopped. The tree is kept
// after the search, for the analysis commands that describe it, and reused when the same
// position (or one that follows it) is analysed again.
//
// Thread contract: run(), forget() and search() on one thread; the stop flag may be raised
// from any thread, and the search ends within a slice's end or one playout per thread.
class LiveAnalysis {
public:
    struct Settings {
        int threads = 1;
        // Shared with the players' trees; the machine's default when null.
        std::shared_ptr<TreeMemoryBudget> memory;
        std::uint64_t seed = 1;
        bool solver = true; // MctsSearch::Config::solver
        std::chrono::milliseconds updateEvery{250};
    };

    explicit LiveAnalysis(Settings settings);

    // Searches the position, calling update after every slice, until stop is raised. The
    // first slice runs in full even when stop is already raised, so that there is always
    // something to report.
    void run(const MctsSearch::Position& position, const std::atomic<bool>& stop,
             const std::function<void()>& update);
    void forget() { m_search.forget(); }
    const MctsSearch& search() const { return m_search; }

private:
    static MctsSearch::Config configOf(const Settings& settings);

    std::chrono::milliseconds m_updateEvery;
    MctsSearch m_search;
};
