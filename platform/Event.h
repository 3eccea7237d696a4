#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

// A signal that threads wait on, in three flavours:
//  - ManualReset: stays signalled until reset(); every waiter passes (the game's stop event).
//  - AutoReset:   one pending signal at most; a wait consumes it (a choice's done event).
//  - Counting:    every set() is one pending signal; each wait consumes one, so two quick
//                 signals are never merged (the human hand-off: a declined swap hands over
//                 the swap answer and then the cell).
//
// Thread contract: set(), reset(), isSet() and the waits may be called from any thread.
// An Event must outlive every wait on it.
class Event {
public:
    enum class Mode { ManualReset, AutoReset, Counting };

    explicit Event(Mode mode);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    bool isSet() const;

    // Waits until this event is signalled; consumes the signal unless manual-reset.
    void wait();

    // Waits until either event is signalled and returns its index (0 or 1). When both are
    // signalled the first wins; only the event that ends the wait has a signal consumed.
    static std::size_t waitAny(Event& first, Event& second);

private:
    struct Waiter {
        std::mutex mutex;
        std::condition_variable wake;
        bool woken = false;
    };

    static std::size_t waitAny(Event* const* events, std::size_t count);
    bool tryTake();
    void addWaiter(Waiter* waiter);
    void removeWaiter(Waiter* waiter);

    const Mode m_mode;
    mutable std::mutex m_mutex;
    long m_pending = 0;
    std::vector<Waiter*> m_waiters;
};
