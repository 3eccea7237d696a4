#include "ui/TerminationSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The handler's only state: where it writes, and how many handlers are between reading that
// and writing. Lock-free, so a handler may use them.
std::atomic<int> pipeWriteEnd{-1};
std::atomic<int> handlersWriting{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void writeSignalNumber(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    handlersWriting.fetch_add(1);
    const int fd = pipeWriteEnd.load();
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    handlersWriting.fetch_sub(1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make the pipe for the termination signals");
    }
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    pipeWriteEnd = m_writeEnd;
    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    struct sigaction action {};
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < handled.size(); ++i) {
        ::sigaction(handled[i], &action, &m_previous[i]);
    }
}

TerminationSignals::~TerminationSignals() {
    for (std::size_t i = 0; i < handled.size(); ++i) {
        ::sigaction(handled[i], &m_previous[i], nullptr);
    }
    // A handler on another thread may have read the descriptor just before: it is closed only
    // once no handler can still write to it (or to a file that reuses its number).
    pipeWriteEnd = -1;
    while (handlersWriting.load() != 0) {
        std::this_thread::yield();
    }
    delete m_notifier;
    ::close(m_writeEnd);
    ::close(m_readEnd);
}

void TerminationSignals::readPending() {
    unsigned char numbers[64];
    for (;;) {
        const ssize_t got = ::read(m_readEnd, numbers, sizeof numbers);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return;
        }
        for (ssize_t i = 0; i < got; ++i) {
            emit received(numbers[i]);
        }
    }
}
