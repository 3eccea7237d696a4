#include "document/GameAnalysisRun.h"

#include "engine/MessageSink.h"

#include <exception>

GameAnalysisRun::GameAnalysisRun(MessageSink& sink) : m_sink(sink) {}

GameAnalysisRun::~GameAnalysisRun() {
    stop();
}

void GameAnalysisRun::start(std::uint32_t size, std::vector<Hex::Coord> moves,
                            GameAnalysis::Settings settings) {
    stop();
    m_result = {};
    m_error.clear();
    m_stop = false;
    m_running = true;
    m_thread = std::thread(&GameAnalysisRun::analyse, this, size, std::move(moves),
                           std::move(settings), m_request);
}

void GameAnalysisRun::stop() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_running = false;
    ++m_request;
}

std::optional<std::vector<MoveAnalysis>> GameAnalysisRun::accept(const WmAppAnalysisDone& message) {
    if (!isCurrent(message.request)) {
        return std::nullopt;
    }
    if (m_thread.joinable()) {
        m_thread.join(); // it has posted its answer: the join is at hand
    }
    m_running = false;
    ++m_request;
    if (!m_result.complete) {
        return std::nullopt;
    }
    return std::move(m_result.moves);
}

void GameAnalysisRun::analyse(std::uint32_t size, std::vector<Hex::Coord> moves,
                              GameAnalysis::Settings settings, int request) {
    try {
        m_result = GameAnalysis(std::move(settings))
                       .run(size, moves, m_stop, [&](std::size_t done, std::size_t total) {
                           m_sink.post(WmAppAnalysisProgress{request, done, total});
                       });
    } catch (const std::exception& error) {
        // A game no legal play reaches (a record may name a cell twice), or no memory left.
        m_error = error.what();
    }
    if (!m_stop) {
        m_sink.post(WmAppAnalysisDone{request});
    }
}
