#include "gtp/EngineProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The slice in which waits look at the cancel flag.
constexpr std::chrono::milliseconds slice{100};

// SIGPIPE blocked on this thread for as long as it lives; one raised by a write to a closed
// pipe is taken back before the old mask returns, so that the write only fails with EPIPE.
class NoSigpipe {
public:
    NoSigpipe() {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old);
    }
    ~NoSigpipe() {
        if (!m_wasPending) {
            const timespec now{0, 0};
            while (sigtimedwait(&m_pipe, nullptr, &now) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    NoSigpipe(const NoSigpipe&) = delete;
    NoSigpipe& operator=(const NoSigpipe&) = delete;

private:
    sigset_t m_pipe{};
    sigset_t m_old{};
    bool m_wasPending = false;
};

std::string exitText(int status) {
    if (WIFEXITED(status)) {
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "was ended by signal " + std::to_string(WTERMSIG(status));
    }
    return "ended";
}

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp(left, std::chrono::milliseconds(0), slice).count());
}

// Removes the carriage returns that some engines send with their line feeds.
void dropReturns(std::string& text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
}

} // namespace

EngineProcess::EngineProcess(std::string command) : m_command(std::move(command)) {
    start();
}

EngineProcess::~EngineProcess() {
    if (m_pid > 0 && !m_reaped) {
        closePipes(); // an engine that reads its input sees the end and leaves
        if (!waitForExit(std::chrono::milliseconds(500))) {
            kill();
        }
    }
    closePipes();
}

void EngineProcess::start() {
    int toEngine[2] = {-1, -1};
    int fromEngine[2] = {-1, -1};
    // Close-on-exec, so that no engine inherits another engine's pipes and keeps them open.
    if (::pipe2(toEngine, O_CLOEXEC) != 0 || ::pipe2(fromEngine, O_CLOEXEC) != 0) {
        for (const int fd : {toEngine[0], toEngine[1], fromEngine[0], fromEngine[1]}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toEngine[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromEngine[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGQUIT}) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);

    const char* shell = "/bin/sh";
    char* const argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), m_command.data(),
                          nullptr};
    const int failed = posix_spawn(&m_pid, shell, &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(toEngine[0]);
    ::close(fromEngine[1]);
    m_input = toEngine[1];
    m_output = fromEngine[0];
    if (failed != 0) {
        m_pid = -1;
        closePipes();
        return;
    }
    ::fcntl(m_input, F_SETFL, ::fcntl(m_input, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_output, F_SETFL, ::fcntl(m_output, F_GETFL) | O_NONBLOCK);
}

bool EngineProcess::alive() {
    if (m_pid <= 0 || m_reaped) {
        return false;
    }
    if (::waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
        m_reaped = true;
        closePipes();
        return false;
    }
    return true;
}

EngineProcess::Reply EngineProcess::ask(const std::string& command, std::chrono::milliseconds limit,
                                        const std::atomic<bool>& cancelled) {
    if (!alive()) {
        return died(m_pid <= 0 ? "could not be started" : "has gone");
    }
    const Clock::time_point deadline = Clock::now() + limit;
    if (!writeAll(command + "\n", deadline, cancelled)) {
        if (std::optional<Reply> ended =
                endOfWait(deadline, cancelled, "did not take its input in time")) {
            return *ended;
        }
        return died("stopped reading its input");
    }
    return readReply(deadline, cancelled);
}

EngineProcess::Reply EngineProcess::readReply(Clock::time_point deadline,
                                              const std::atomic<bool>& cancelled) {
    for (;;) {
        if (std::optional<Reply> reply = takeReply()) {
            if (reply->outcome == Outcome::Garbled) {
                kill();
            }
            return *reply;
        }
        if (std::optional<Reply> ended = endOfWait(deadline, cancelled, "did not answer in time")) {
            return *ended;
        }
        pollfd wait{m_output, POLLIN, 0};
        const int ready = ::poll(&wait, 1, remainingMs(deadline));
        if (ready < 0 && errno != EINTR) {
            return died("cannot be read");
        }
        if (ready <= 0) {
            continue;
        }
        char chunk[4096];
        const ssize_t got = ::read(m_output, chunk, sizeof chunk);
        if (got == 0) {
            return died("closed its output");
        }
        if (got > 0) {
            m_pending.append(chunk, static_cast<std::size_t>(got));
        } else if (errno != EAGAIN && errno != EINTR) {
            return died("cannot be read");
        }
    }
}

// A cancel or a passed deadline ends a wait, and the engine with it.
std::optional<EngineProcess::Reply> EngineProcess::endOfWait(Clock::time_point deadline,
                                                             const std::atomic<bool>& cancelled,
                                                             const char* late) {
    if (cancelled) {
        kill();
        return Reply{Outcome::Cancelled, "cancelled"};
    }
    if (Clock::now() >= deadline) {
        kill();
        return Reply{Outcome::TimedOut, late};
    }
    return std::nullopt;
}

// A complete reply at the front of what was read: "=" or "?", an optional id, the text,
// and an empty line. Empty lines before it are skipped.
std::optional<EngineProcess::Reply> EngineProcess::takeReply() {
    dropReturns(m_pending);
    const std::size_t start = m_pending.find_first_not_of('\n');
    if (start == std::string::npos) {
        m_pending.clear();
        return std::nullopt;
    }
    if (m_pending[start] != '=' && m_pending[start] != '?') {
        return Reply{Outcome::Garbled, "sent a line that is no reply"};
    }
    const std::size_t end = m_pending.find("\n\n", start);
    if (end == std::string::npos) {
        if (m_pending.size() > longestReply) {
            return Reply{Outcome::Garbled, "sent a reply that is too long"};
        }
        return std::nullopt;
    }
    const bool success = m_pending[start] == '=';
    std::size_t text = m_pending.find_first_not_of("0123456789", start + 1);
    if (text < end && m_pending[text] == ' ') {
        ++text;
    }
    Reply reply{success ? Outcome::Answered : Outcome::Refused,
                m_pending.substr(std::min(text, end), end - std::min(text, end))};
    m_pending.erase(0, end + 2);
    return reply;
}

bool EngineProcess::writeAll(std::string_view text, Clock::time_point deadline,
                             const std::atomic<bool>& cancelled) {
    NoSigpipe guard;
    while (!text.empty()) {
        if (cancelled || Clock::now() >= deadline) {
            return false;
        }
        const ssize_t written = ::write(m_input, text.data(), text.size());
        if (written > 0) {
            text.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        pollfd wait{m_input, POLLOUT, 0};
        ::poll(&wait, 1, remainingMs(deadline));
    }
    return true;
}

EngineProcess::Reply EngineProcess::died(const std::string& what) {
    // An engine that closed its output may still be running; it gets a moment to exit.
    if (m_pid > 0 && !m_reaped && !waitForExit(std::chrono::milliseconds(200))) {
        kill();
    }
    std::string text = what;
    if (m_reaped) {
        text += " (it " + exitText(m_status) + ")";
    }
    return Reply{Outcome::Died, text};
}

void EngineProcess::quit(std::chrono::milliseconds grace) {
    if (!alive()) {
        return;
    }
    const std::atomic<bool> never{false};
    ask("quit", grace, never);
    closePipes();
    if (!waitForExit(grace)) {
        kill();
    }
}

void EngineProcess::kill() {
    if (m_pid > 0 && !m_reaped) {
        ::kill(-m_pid, SIGKILL); // the whole group: the shell and what it started
        while (::waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
        }
        m_reaped = true;
    }
    closePipes();
}

bool EngineProcess::waitForExit(std::chrono::milliseconds grace) {
    const Clock::time_point deadline = Clock::now() + grace;
    for (;;) {
        if (!alive()) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void EngineProcess::closePipes() {
    for (int* fd : {&m_input, &m_output}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}
