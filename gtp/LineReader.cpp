#include "gtp/LineReader.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

LineReader::LineReader(int fd) : m_fd(fd) {
    if (::pipe2(m_wake, O_CLOEXEC) != 0) {
        m_wake[0] = m_wake[1] = -1; // without a wake pipe a cancel ends the wait at its next poll
    }
}

LineReader::~LineReader() {
    for (const int end : m_wake) {
        if (end >= 0) {
            ::close(end);
        }
    }
}

void LineReader::cancel() {
    m_cancelled = true;
    if (m_wake[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &byte, 1);
    }
}

LineReader::Result LineReader::next(std::string& line) {
    bool tooLong = false;
    for (;;) {
        const std::size_t feed = m_buffer.find('\n');
        if (feed != std::string::npos) {
            line.assign(m_buffer, 0, std::min(feed, longestLine));
            m_buffer.erase(0, feed + 1);
            return tooLong || feed > longestLine ? Result::LineTooLong : Result::Line;
        }
        if (m_buffer.size() > longestLine) {
            // Keep the start for the report; drop the rest of the line as it comes.
            tooLong = true;
            m_buffer.resize(longestLine);
        }
        if (m_ended || m_cancelled || !fill()) {
            if (m_buffer.empty() || m_cancelled) {
                return Result::End;
            }
            line = std::move(m_buffer);
            m_buffer.clear();
            return tooLong ? Result::LineTooLong : Result::Line;
        }
    }
}

// Appends what can be read now, after waiting for it; false at the end of the input, on a
// read error or on a cancel.
bool LineReader::fill() {
    if (!waitOn(pollfd{m_fd, POLLIN, 0})) {
        return false;
    }
    char chunk[4096];
    ssize_t got = -1;
    do {
        got = ::read(m_fd, chunk, sizeof chunk);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        m_ended = true;
        return false;
    }
    m_buffer.append(chunk, static_cast<std::size_t>(got));
    return true;
}

bool LineReader::waitForHangUp(int output) {
    // With no events asked for, poll() reports only an error, a hang-up or a bad descriptor.
    return waitOn(pollfd{output, 0, 0});
}

// Waits until `target` reports an event; false on a cancel, the wake pipe or a poll error.
// Without a wake pipe the cancel flag is looked at every 100 ms.
bool LineReader::waitOn(pollfd target) {
    pollfd waits[2] = {target, {m_wake[0], POLLIN, 0}};
    const nfds_t count = m_wake[0] >= 0 ? 2 : 1;
    const int timeoutMs = m_wake[0] >= 0 ? -1 : 100;
    for (;;) {
        if (m_cancelled) {
            return false;
        }
        const int ready = ::poll(waits, count, timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || (count == 2 && waits[1].revents != 0)) {
            return false;
        }
        if (waits[0].revents != 0) {
            return true;
        }
    }
}
