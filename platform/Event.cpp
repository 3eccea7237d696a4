#include "platform/Event.h"

#include <algorithm>

Event::Event(Mode mode) : m_mode(mode) {}

Event::~Event() = default;

void Event::set() {
    // The waiters are woken while m_mutex is held: a waiter unregisters under the same
    // mutex before it goes away, so no waiter is touched after it has returned.
    std::lock_guard lock(m_mutex);
    if (m_mode == Mode::Counting) {
        ++m_pending;
    } else {
        m_pending = 1;
    }
    for (Waiter* waiter : m_waiters) {
        std::lock_guard waiterLock(waiter->mutex);
        waiter->woken = true;
        waiter->wake.notify_one();
    }
}

void Event::reset() {
    std::lock_guard lock(m_mutex);
    m_pending = 0;
}

bool Event::isSet() const {
    std::lock_guard lock(m_mutex);
    return m_pending > 0;
}

void Event::wait() {
    Event* events[] = {this};
    waitAny(events, 1);
}

std::size_t Event::waitAny(Event& first, Event& second) {
    Event* events[] = {&first, &second};
    return waitAny(events, 2);
}

std::size_t Event::waitAny(Event* const* events, std::size_t count) {
    Waiter waiter;
    for (std::size_t i = 0; i < count; ++i) {
        events[i]->addWaiter(&waiter);
    }
    std::size_t index = count;
    while (index == count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (events[i]->tryTake()) {
                index = i;
                break;
            }
        }
        if (index == count) {
            // A set() after the failed tries above has already marked the waiter woken,
            // so this never sleeps through a signal.
            std::unique_lock lock(waiter.mutex);
            waiter.wake.wait(lock, [&] { return waiter.woken; });
            waiter.woken = false;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        events[i]->removeWaiter(&waiter);
    }
    return index;
}

bool Event::tryTake() {
    std::lock_guard lock(m_mutex);
    if (m_pending == 0) {
        return false;
    }
    if (m_mode != Mode::ManualReset) {
        --m_pending;
    }
    return true;
}

void Event::addWaiter(Waiter* waiter) {
    std::lock_guard lock(m_mutex);
    m_waiters.push_back(waiter);
}

void Event::removeWaiter(Waiter* waiter) {
    std::lock_guard lock(m_mutex);
    m_waiters.erase(std::remove(m_waiters.begin(), m_waiters.end(), waiter), m_waiters.end());
}
