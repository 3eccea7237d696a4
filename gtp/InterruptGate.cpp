#include "gtp/InterruptGate.h"

#include "model/Game.h"

#include <algorithm>

void InterruptGate::begin(std::uint64_t command) {
    std::lock_guard lock(m_lock);
    m_command = command;
}

void InterruptGate::enter(Hex::Game& game) {
    std::lock_guard lock(m_lock);
    m_thinking = &game;
    if (interrupted()) {
        game.stop();
    }
}

void InterruptGate::leave() {
    std::lock_guard lock(m_lock);
    m_thinking = nullptr;
}

void InterruptGate::interruptThrough(std::uint64_t command) {
    std::lock_guard lock(m_lock);
    m_interruptedThrough = std::max(m_interruptedThrough, command);
    if (m_thinking != nullptr && interrupted()) {
        m_thinking->stop();
    }
}
