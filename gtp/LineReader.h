#pragma once

#include <poll.h>

#include <atomic>
#include <cstddef>
#include <string>

// Reads lines from a file descriptor (a pipe, a terminal or a file) with a way out: a wait
// for input can be cancelled from another thread, so that the thread that reads can always be
// joined, even when the writer at the other end never writes again nor closes.
//
// Thread contract: next() and waitForHangUp() on one thread; cancel() from any thread. The
// descriptors are not closed here.
class LineReader {
public:
    // Longer lines are cut to this length, and reported as too long.
    static constexpr std::size_t longestLine = 64 * 1024;

    explicit LineReader(int fd);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    enum class Result { Line, LineTooLong, End };
    // Waits for the next line (without its line feed). End: the input ended or failed, or
    // cancel() was called. A last line without a line feed is still a line.
    Result next(std::string& line);
    // Waits until output, a descriptor that is written to, has nobody at the other end any
    // more (a pipe or socket whose reader closed it, a terminal hung up): true; false when
    // cancel() came first. Descriptors that never hang up (a file) wait for the cancel.
    bool waitForHangUp(int output);
    void cancel();

private:
    bool fill();
    bool waitOn(pollfd target);

    int m_fd;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_cancelled{false};
    std::string m_buffer;
    bool m_ended = false;
};
