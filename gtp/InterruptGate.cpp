#include "gtp/InterruptGate.h"

#include "model/Game.h"

#include <algorithm>

void InterruptGate::begin(std::uint64_t command) {
    std::lock_guard lock(m_lock);
    m_command = command;
}

void InterruptGate::enter(Hex::Game& game) {
    enterWith([&game] { game.stop(); }, false);
}

void InterruptGate::enterEndless(std::atomic<bool>& stop) {
    enterWith([&stop] { stop = true; }, true);
}

void InterruptGate::enterWith(std::function<void()> stop, bool endless) {
    std::lock_guard lock(m_lock);
    m_stop = std::move(stop);
    m_endless = endless;
    if (interrupted()) {
        m_stop();
    }
}

void InterruptGate::leave() {
    std::lock_guard lock(m_lock);
    m_stop = nullptr;
    m_endless = false;
}

void InterruptGate::interruptThrough(std::uint64_t command) {
    std::lock_guard lock(m_lock);
    m_interruptedThrough = std::max(m_interruptedThrough, command);
    if (m_stop && interrupted()) {
        m_stop();
    }
}

void InterruptGate::inputEnded() {
    std::lock_guard lock(m_lock);
    m_inputEnded = true;
    if (m_stop && interrupted()) {
        m_stop();
    }
}
