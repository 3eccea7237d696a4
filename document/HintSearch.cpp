#include "document/HintSearch.h"

#include "engine/MessageSink.h"
#include "model/CellName.h"

#include <cstdio>
#include <exception>

HintSearch::HintSearch(MessageSink& sink) : m_sink(sink) {}

HintSearch::~HintSearch() {
    stop();
}

void HintSearch::start(std::unique_ptr<HintEngine> engine, HintEngine::Position position,
                       std::chrono::seconds time) {
    stop();
    m_engine = std::move(engine);
    m_swapMarker = Hex::Coord{static_cast<std::int32_t>(position.size),
                              static_cast<std::int32_t>(position.size)};
    m_stopped = false;
    m_finding = true;
    m_thread = std::thread(&HintSearch::find, this, std::move(position), time, m_request);
}

void HintSearch::stop() {
    if (m_engine) {
        m_stopped = true;
        m_engine->stop();
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_engine.reset();
    m_finding = false;
    ++m_request;
    m_shownMove = Hex::noMove;
}

std::optional<std::string> HintSearch::accept(const WmAppShowHint& message,
                                              const std::string& sideName) {
    if (message.request != m_request) {
        return std::nullopt;
    }
    m_shownMove = message.move;
    if (message.move == Hex::noMove) {
        return "No hint found";
    }
    // The swap is offered as the marker, which names no cell.
    std::string text =
        "Hint: " + (message.move == m_swapMarker ? "Swap" : Hex::cellName(message.move));
    if (message.value) {
        char value[16];
        std::snprintf(value, sizeof value, "%+.2f", *message.value);
        text += std::string(" (") + value + " for " + sideName + ")";
    }
    return text;
}

void HintSearch::find(HintEngine::Position position, std::chrono::seconds time, int request) {
    HintEngine::Hint hint;
    try {
        hint = m_engine->find(position, time);
    } catch (const std::exception&) {
        // No hint (the search ran out of memory, say): the game goes on untouched.
    }
    if (!m_stopped) {
        m_sink.post(WmAppShowHint{request, hint.move, hint.value});
    }
    m_finding = false;
}
