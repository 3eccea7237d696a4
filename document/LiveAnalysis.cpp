#include "document/LiveAnalysis.h"

#include "engine/MessageSink.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <memory>

LiveAnalysis::LiveAnalysis(MessageSink& sink) : m_sink(sink) {}

LiveAnalysis::~LiveAnalysis() {
    stop();
    if (m_retired.joinable()) {
        m_retired.join();
    }
}

void LiveAnalysis::start(MctsSearch::Position position, MctsSearch::Config config) {
    stop();
    m_sideToMove = position.moves.size() % 2 == 0 ? 1 : 2;
    m_stopped = false;
    m_searching = true;
    m_on = true;
    m_thread = std::thread(&LiveAnalysis::analyze, this, std::move(position), std::move(config),
                           m_request);
}

void LiveAnalysis::stop() {
    m_stopped = true;
    m_searching.wait(true);
    if (m_thread.joinable()) {
        if (m_retired.joinable()) {
            m_retired.join();
        }
        m_retired = std::move(m_thread);
    }
    m_on = false;
    ++m_request;
    m_moves.clear();
}

bool LiveAnalysis::accept(const WmAppLiveAnalysis& message) {
    if (!m_on || message.request != m_request) {
        return false;
    }
    m_moves = message.moves;
    return true;
}

// The search is freed once the window has been told that it has ended.
void LiveAnalysis::analyze(MctsSearch::Position position, MctsSearch::Config config, int request) {
    std::unique_ptr<MctsSearch> search;
    try {
        config.stopWhenDecided = false;
        search = std::make_unique<MctsSearch>(config); // no sink: it shows only snapshots
        search->setPosition(position);
        searchInSlices(*search, request);
    } catch (const std::exception&) {
        // The search ran out of memory, say: the last snapshot stays shown.
    }
    m_searching = false;
    m_searching.notify_all();
}

// Slices of snapshotEvery keep the tree from one to the next; a slice without a playout
// means the search has nothing left to learn (the position is proven), so the analysis ends
// and its last snapshot stays shown.
void LiveAnalysis::searchInSlices(MctsSearch& search, int request) {
    MctsSearch::Limits slice;
    slice.time = snapshotEvery;
    while (!m_stopped.load()) {
        const std::uint64_t done = search.run(slice, m_stopped).playouts;
        if (m_stopped.load()) {
            return;
        }
        m_sink.post(snapshot(search, request));
        if (done == 0) {
            return;
        }
    }
}

WmAppLiveAnalysis LiveAnalysis::snapshot(const MctsSearch& search, int request) {
    WmAppLiveAnalysis message{request, {}};
    const double visits = static_cast<double>(search.rootVisits());
    std::vector<MctsSearch::RootMove> roots = search.rootMoves(SIZE_MAX);
    // A proven win ends the search however few visits it has had: it is shown first.
    std::stable_partition(roots.begin(), roots.end(), [](const MctsSearch::RootMove& root) {
        return root.proven && root.winRate == 1.0;
    });
    for (const MctsSearch::RootMove& root : roots) {
        if (message.moves.size() == shownMoves) {
            break;
        }
        if (root.visits == 0 && !root.proven) {
            continue; // nothing known of it yet
        }
        AnalyzedMove move;
        move.move = root.move;
        move.winRate = root.winRate;
        move.share = visits > 0 ? static_cast<double>(root.visits) / visits : 0.0;
        move.proven = root.proven;
        move.line = search.principalVariation(root.move, lineLength);
        if (move.line.empty()) {
            move.line.push_back(root.move); // a move proven without a visit
        }
        message.moves.push_back(std::move(move));
    }
    return message;
}
