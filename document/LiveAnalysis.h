#pragma once

#include "engine/Message.h"
#include "mcts/MctsSearch.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <thread>
#include <vector>

class MessageSink;

// Analyze Position: the expert's search thinks without end on one position, on a thread of
// its own, and posts a snapshot of its best root moves (WmAppLiveAnalysis) every
// snapshotEvery; the accepted snapshot stays shown until the next start() or stop().
//
// Thread contract: every method on the user-interface thread. The analysis thread owns the
// search: it runs it in slices of snapshotEvery and reads the tree only between slices, when
// no search thread runs, so nothing of the tree is shared with the user-interface thread;
// what crosses over is the posted snapshot, a value. stop() raises the flag the search polls
// after every playout and waits until the search has ended; the thread then frees the tree,
// which takes long for a large one, and is joined at the next stop() or in the destructor.
// Each start() numbers its request, and accept() takes only snapshots of the latest one, so a
// snapshot posted just before a stop is dropped when it arrives.
class LiveAnalysis {
public:
    // Six or seven snapshots a second: the board is redrawn at least four times a second
    // also on a loaded machine.
    static constexpr std::chrono::milliseconds snapshotEvery{150};
    static constexpr std::size_t shownMoves = 5;
    static constexpr std::size_t lineLength = 10;

    explicit LiveAnalysis(MessageSink& sink);
    ~LiveAnalysis();
    LiveAnalysis(const LiveAnalysis&) = delete;
    LiveAnalysis& operator=(const LiveAnalysis&) = delete;

    // Stops any analysis and forgets its snapshot, then analyses the position with a search
    // of this configuration until stop(). The position must be one of legal moves.
    void start(MctsSearch::Position position, MctsSearch::Config config);
    void stop();
    // From start() until stop(), also once the search has proven the position and ended.
    bool isOn() const { return m_on; }
    // True while the analysis thread searches (tests).
    bool isSearching() const { return m_searching.load(); }

    // Takes a snapshot of the latest request; false (and nothing changed) for any other.
    bool accept(const WmAppLiveAnalysis& message);
    // The accepted snapshot's moves: a proven win first, then the most visited; empty when
    // none is shown.
    const std::vector<AnalyzedMove>& moves() const { return m_moves; }
    // The side to move in the analysed position (1 or 2): the first move of every line is its.
    int sideToMove() const { return m_sideToMove; }

private:
    void analyze(MctsSearch::Position position, MctsSearch::Config config, int request);
    void searchInSlices(MctsSearch& search, int request);
    static WmAppLiveAnalysis snapshot(const MctsSearch& search, int request);

    MessageSink& m_sink;
    std::thread m_thread;
    // A stopped analysis's thread, freeing its tree.
    std::thread m_retired;
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_searching{false};
    bool m_on = false;
    int m_request = 0;
    int m_sideToMove = 1;
    std::vector<AnalyzedMove> m_moves;
};
