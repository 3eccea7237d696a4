#include "mcts/MctsHint.h"

#include "mcts/MctsSearch.h"

MctsHint::MctsHint(int threads, std::shared_ptr<TreeMemoryBudget> memory)
    : m_threads(threads), m_memory(std::move(memory)) {}

HintEngine::Hint MctsHint::find(const Position& position, std::chrono::seconds time) {
    MctsSearch::Config config = MctsSearch::expertConfig();
    config.threads = m_threads;
    config.memory = m_memory;
    MctsSearch search(config); // no sink: the hint's search shows nothing while it runs
    search.setPosition(MctsSearch::Position{position.size, position.moves, true});
    MctsSearch::Limits limits;
    limits.time = time;
    const MctsSearch::Result found = search.run(limits, m_stopped);
    if (found.move == Hex::noMove || found.playouts == 0) {
        return Hint{found.move, std::nullopt};
    }
    return Hint{found.move, 2.0 * found.winRate - 1.0};
}

void MctsHint::stop() {
    m_stopped = true;
}
