#pragma once

#include "gtp/GtpEngine.h"
#include "gtp/GtpSession.h"

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <thread>

#include <unistd.h>

// A pipe that a test writes a front end's lines into, for a session that reads its end.
class InputPipe {
public:
    InputPipe() {
        if (::pipe(m_ends) != 0) {
            throw std::runtime_error("pipe failed");
        }
    }
    ~InputPipe() {
        closeWriteEnd();
        closeReadEnd();
    }
    InputPipe(const InputPipe&) = delete;
    InputPipe& operator=(const InputPipe&) = delete;

    int readEnd() const { return m_ends[0]; }
    int writeEnd() const { return m_ends[1]; }
    void write(const std::string& text) {
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t written = ::write(m_ends[1], text.data() + done, text.size() - done);
            if (written <= 0) {
                throw std::runtime_error("write to the session failed");
            }
            done += static_cast<std::size_t>(written);
        }
    }
    // The end of the input, as when the front end goes away.
    void closeWriteEnd() {
        if (m_ends[1] >= 0) {
            ::close(m_ends[1]);
            m_ends[1] = -1;
        }
    }

    // The reader goes away: a writer at the other end sees the pipe broken.
    void closeReadEnd() {
        if (m_ends[0] >= 0) {
            ::close(m_ends[0]);
            m_ends[0] = -1;
        }
    }

private:
    int m_ends[2] = {-1, -1};
};

// What a session writes, readable while it writes.
class SharedOutput : public std::streambuf {
public:
    std::string text() const {
        std::lock_guard lock(m_lock);
        return m_text;
    }
    bool waitFor(const std::string& wanted, std::chrono::seconds deadline) {
        std::unique_lock lock(m_lock);
        return m_grown.wait_for(lock, deadline,
                                [&] { return m_text.find(wanted) != std::string::npos; });
    }

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            const char one = traits_type::to_char_type(c);
            xsputn(&one, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        std::lock_guard lock(m_lock);
        m_text.append(text, static_cast<std::size_t>(count));
        m_grown.notify_all();
        return count;
    }

private:
    mutable std::mutex m_lock; // guards m_text
    std::condition_variable m_grown;
    std::string m_text;
};

// A session running on a thread of its own while the test writes to it. Given output, the
// descriptor the front end would read the replies from, the session watches it as it
// watches its standard output (the replies themselves are kept here all the same).
class LiveSession {
public:
    explicit LiveSession(GtpEngine& engine, int output = -1)
        : m_engine(engine), m_done(std::async(std::launch::async, [this, output] {
              GtpSession(m_engine, m_input.readEnd(), m_out, output).run();
          })) {}
    ~LiveSession() {
        m_input.closeWriteEnd();
        m_done.wait();
    }
    LiveSession(const LiveSession&) = delete;
    LiveSession& operator=(const LiveSession&) = delete;

    void send(const std::string& text) { m_input.write(text); }
    // Whether the output holds the text within the deadline.
    bool waitForOutput(const std::string& text, std::chrono::seconds deadline) {
        return m_written.waitFor(text, deadline);
    }
    void closeInput() { m_input.closeWriteEnd(); }

    // Waits for the session to end (after quit or the end of the input) and gives its output;
    // a session that does not end in time is interrupted, and the output says so.
    std::string finish(std::chrono::seconds deadline = std::chrono::seconds(120)) {
        if (m_done.wait_for(deadline) != std::future_status::ready) {
            m_engine.interrupt();
            m_input.closeWriteEnd();
            m_done.wait();
            return "(the session did not end in time)\n" + m_written.text();
        }
        return m_written.text();
    }

private:
    GtpEngine& m_engine;
    InputPipe m_input;
    SharedOutput m_written;
    std::ostream m_out{&m_written};
    std::future<void> m_done;
};
