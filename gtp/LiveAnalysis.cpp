#include "gtp/LiveAnalysis.h"

#include <thread>

LiveAnalysis::LiveAnalysis(Settings settings)
    : m_updateEvery(settings.updateEvery), m_search(configOf(settings)) {}

MctsSearch::Config LiveAnalysis::configOf(const Settings& settings) {
    MctsSearch::Config config;
    config.threads = settings.threads;
    config.memory = settings.memory;
    config.seed = settings.seed;
    config.solver = settings.solver;
    config.stopWhenDecided = false; // the slices are no move choice: they run their time
    return config;
}

void LiveAnalysis::run(const MctsSearch::Position& position, const std::atomic<bool>& stop,
                       const std::function<void()>& update) {
    m_search.setPosition(position);
    const std::atomic<bool> unstopped{false};
    bool first = true;
    do {
        const auto sliceEnd = std::chrono::steady_clock::now() + m_updateEvery;
        m_search.run(MctsSearch::Limits{m_updateEvery}, first ? unstopped : stop);
        first = false;
        // A proven position ends its search at once: the slice is waited out instead, so
        // that the reports keep their pace.
        while (!stop && std::chrono::steady_clock::now() < sliceEnd) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        update();
    } while (!stop);
}
