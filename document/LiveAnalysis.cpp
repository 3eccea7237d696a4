#include "document/LiveAnalysis.h"

#include "engine/MessageSink.h"

#include <cstdint>
#include <exception>

LiveAnalysis::LiveAnalysis(MessageSink& sink) : m_sink(sink) {}

LiveAnalysis::~LiveAnalysis() {
    stop();
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
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_searching = false;
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

// Slices of snapshotEvery keep the tree from one to the next; a slice without a playout
// means the search has nothing left to learn (the position is proven), so the thread ends
// and its last snapshot stays shown.
void LiveAnalysis::analyze(MctsSearch::Position position, MctsSearch::Config config, int request) {
    try {
        config.stopWhenDecided = false;
        MctsSearch search(config); // no sink: what it shows goes through the snapshots
        search.setPosition(position);
        MctsSearch::Limits slice;
        slice.time = snapshotEvery;
        std::uint64_t playouts = 0;
        while (!m_stopped.load()) {
            const std::uint64_t done = search.run(slice, m_stopped).playouts;
            playouts += done;
            if (m_stopped.load()) {
                break;
            }
            m_sink.post(snapshot(search, request, playouts));
            if (done == 0) {
                break;
            }
        }
    } catch (const std::exception&) {
        // The search ran out of memory, say: the last snapshot stays shown.
    }
    m_searching = false;
}

WmAppLiveAnalysis LiveAnalysis::snapshot(const MctsSearch& search, int request,
                                         std::uint64_t playouts) {
    WmAppLiveAnalysis message{request, playouts, {}};
    const double visits = static_cast<double>(search.rootVisits());
    for (const MctsSearch::RootMove& root : search.rootMoves(SIZE_MAX)) {
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
