#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

#include <sys/types.h>

// A GTP engine run as a child process: `/bin/sh -c COMMAND` with its standard input and
// output on pipes (its standard error goes to /dev/null), in a process group of its own so
// that the engine and anything it starts are ended together.
//
// Every question has a time limit. An engine that overruns it, dies, or garbles the
// protocol is killed at once (its whole process group) and reaped; it never leaves a zombie
// or a stray process behind, and the referee never blocks on it: reads and writes wait only
// through poll() with the limit, and a write to an engine that has gone raises no SIGPIPE.
//
// Thread contract: one thread at a time; the cancel flag may be raised from any thread (a
// signal handler included) and ends a wait within a tenth of a second.
class EngineProcess {
public:
    enum class Outcome {
        Answered,  // "= text"
        Refused,   // "? text"
        TimedOut,  // no complete reply within the limit; the engine is killed
        Died,      // the engine exited, or could not be started or written to
        Garbled,   // the reply broke the protocol; the engine is killed
        Cancelled, // the cancel flag was raised; the engine is killed
    };
    struct Reply {
        Outcome outcome = Outcome::Died;
        std::string text; // the reply's text, or what went wrong
    };

    // Longer replies are garbled; no GTP reply of a Hex engine comes near it.
    static constexpr std::size_t longestReply = 1024 * 1024;

    explicit EngineProcess(std::string command);
    // Ends the engine: closes its input, waits a little for it to leave, then kills it.
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    const std::string& command() const { return m_command; }
    // False once the engine has exited or been killed.
    bool alive();
    pid_t pid() const { return m_pid; }

    // Sends one command line and waits for its reply.
    Reply ask(const std::string& command, std::chrono::milliseconds limit,
              const std::atomic<bool>& cancelled);

    // Sends quit and lets the engine leave on its own within the grace time, else kills it.
    void quit(std::chrono::milliseconds grace);
    void kill();

private:
    using Clock = std::chrono::steady_clock;

    void start();
    bool writeAll(std::string_view text, Clock::time_point deadline,
                  const std::atomic<bool>& cancelled);
    Reply readReply(Clock::time_point deadline, const std::atomic<bool>& cancelled);
    std::optional<Reply> endOfWait(Clock::time_point deadline, const std::atomic<bool>& cancelled,
                                   const char* late);
    std::optional<Reply> takeReply();
    Reply died(const std::string& what);
    bool waitForExit(std::chrono::milliseconds grace);
    void closePipes();

    std::string m_command;
    pid_t m_pid = -1;
    int m_input = -1;  // the engine's standard input, our write end
    int m_output = -1; // the engine's standard output, our read end
    int m_status = 0;  // as waitpid() gave it, once reaped
    bool m_reaped = false;
    std::string m_pending; // read but not yet part of a reply
};
