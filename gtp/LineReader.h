#pragma once

#include <atomic>
#include <cstddef>
#include <string>

// Reads lines from a file descriptor (a pipe, a terminal or a file) with a way out: a wait
// for input can be cancelled from another thread, so that the thread that reads can always be
// joined, even when the writer at the other end never writes again nor closes.
//
// Thread contract: next() on one thread; cancel() from any thread. The descriptor is not
// closed here.
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
    void cancel();

private:
    bool fill();

    int m_fd;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_cancelled{false};
    std::string m_buffer;
    bool m_ended = false;
};
