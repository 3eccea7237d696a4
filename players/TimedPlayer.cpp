#include "players/TimedPlayer.h"

namespace {

// Stops the clock however the think ends, an exception included.
template <typename Stop>
class ClockStopper {
public:
    explicit ClockStopper(Stop stop) : m_stop(stop) {}
    ~ClockStopper() { m_stop(); }
    ClockStopper(const ClockStopper&) = delete;
    ClockStopper& operator=(const ClockStopper&) = delete;

private:
    Stop m_stop;
};

} // namespace

TimedPlayer::TimedPlayer(std::string name, const Clock& clock)
    : Player(std::move(name)), m_clock(clock) {}

Hex::Coord TimedPlayer::getMove(Event& stopEvent) {
    startClock();
    ClockStopper stopper([this] { stopClock(); });
    return chooseMove(stopEvent);
}

std::uint8_t TimedPlayer::askSwap(Event& stopEvent) {
    startClock();
    ClockStopper stopper([this] { stopClock(); });
    return decideSwap(stopEvent) ? takeSwap : declineSwap;
}

std::int32_t TimedPlayer::timeUsed() {
    std::lock_guard lock(m_lock);
    if (m_thinking) {
        // Count the running think so far; getMove adds only what is left after the last poll.
        const std::int64_t now = m_clock.nowSeconds();
        m_secondsUsed += static_cast<std::int32_t>(now - m_startTime);
        m_startTime = now;
    }
    return m_secondsUsed;
}

void TimedPlayer::resetClock() {
    std::lock_guard lock(m_lock);
    m_secondsUsed = 0;
}

void TimedPlayer::prepareGame(std::size_t, bool) {}

Hex::Coord TimedPlayer::chooseMove(Event&) {
    return firstEmptyCell();
}

bool TimedPlayer::decideSwap(Event&) {
    return true;
}

void TimedPlayer::waitUntilIdle() {
    std::unique_lock lock(m_lock);
    m_idle.wait(lock, [this] { return m_runningCalls == 0; });
}

void TimedPlayer::startClock() {
    std::lock_guard lock(m_lock);
    m_startTime = m_clock.nowSeconds();
    m_thinking = true;
    ++m_runningCalls;
}

// The last thing a call does with this object: a destructor waiting in waitUntilIdle() may
// go on as soon as the lock is released.
void TimedPlayer::stopClock() {
    std::lock_guard lock(m_lock);
    m_thinking = false;
    m_secondsUsed += static_cast<std::int32_t>(m_clock.nowSeconds() - m_startTime);
    --m_runningCalls;
    m_idle.notify_all();
}
