// quorlen-cli gtp as a front end runs it: a process of its own, spoken to through pipes.

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

class EngineChild {
public:
    explicit EngineChild(std::vector<std::string> args) {
        int input[2];
        int output[2];
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe failed");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        // The signals as a front end leaves them, whatever the test runner's are.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) {
            sigaddset(&defaults, signal);
        }
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        args.insert(args.begin(), QUORLEN_CLI);
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        const int failed =
            posix_spawn(&m_pid, QUORLEN_CLI, &actions, &attributes, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        ::close(input[0]);
        ::close(output[1]);
        m_input = input[1];
        m_output = output[0];
        if (failed != 0) {
            m_pid = -1;
            throw std::runtime_error("cannot start quorlen-cli");
        }
    }
    ~EngineChild() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        closeInput();
        closeOutput();
    }
    EngineChild(const EngineChild&) = delete;
    EngineChild& operator=(const EngineChild&) = delete;

    pid_t pid() const { return m_pid; }

    void send(const std::string& text) {
        if (::write(m_input, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            throw std::runtime_error("write to the engine failed");
        }
    }

    // Reads until count replies have come, or a minute has passed; what was read.
    std::string readReplies(int count) {
        std::string text;
        const Clock::time_point deadline = Clock::now() + std::chrono::minutes(1);
        for (std::size_t at = 0; count > 0 && Clock::now() < deadline;) {
            const std::size_t end = text.find("\n\n", at);
            if (end != std::string::npos) {
                at = end + 2;
                --count;
                continue;
            }
            pollfd wait{m_output, POLLIN, 0};
            if (::poll(&wait, 1, 100) <= 0) {
                continue;
            }
            char chunk[4096];
            const ssize_t got = ::read(m_output, chunk, sizeof chunk);
            if (got <= 0) {
                break;
            }
            text.append(chunk, static_cast<std::size_t>(got));
        }
        return text;
    }

    void closeInput() { closeOne(m_input); }
    void closeOutput() { closeOne(m_output); }

    // The exit status as waitpid() gives it, or nothing when the engine still runs after the
    // limit.
    std::optional<int> waitForExit(std::chrono::seconds limit) {
        const Clock::time_point deadline = Clock::now() + limit;
        for (;;) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return status;
            }
            if (Clock::now() >= deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

private:
    static void closeOne(int& fd) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }

    pid_t m_pid = -1;
    int m_input = -1;  // the engine's standard input, our write end
    int m_output = -1; // the engine's standard output, our read end
};

// A hard engine whose genmove would think for hours.
std::vector<std::string> thinker(const TempDirectory& directory) {
    return {"gtp",
            "--strength",
            "hard",
            "--seed",
            "3",
            "--time-limit",
            "86400",
            "--weights-file",
            (directory / "quorlen.dat").string()};
}

const char* const thinking = "boardsize 11\nplay b a1\nplay w k11\ngenmove b\nquit\n";

// The front end quits (HexGui closing, say) while a genmove thinks: both pipes close, and the
// engine stops thinking and leaves.
TEST(GtpProcess, AFrontEndThatGoesAwayEndsTheThinkingEngine) {
    const TempDirectory directory;
    EngineChild engine(thinker(directory));
    engine.send(thinking);
    ASSERT_EQ(engine.readReplies(3), "= \n\n= \n\n= \n\n");
    engine.closeInput();
    engine.closeOutput();
    const std::optional<int> status = engine.waitForExit(std::chrono::seconds(30));
    ASSERT_TRUE(status) << "the engine still thinks";
    EXPECT_TRUE(WIFEXITED(*status)) << *status;
}

// The signals that end a program end the engine while it thinks, as they always have.
class GtpProcessSignal : public testing::TestWithParam<int> {};

TEST_P(GtpProcessSignal, EndsTheThinkingEngine) {
    const TempDirectory directory;
    EngineChild engine(thinker(directory));
    engine.send(thinking);
    ASSERT_EQ(engine.readReplies(3), "= \n\n= \n\n= \n\n");
    ASSERT_EQ(::kill(engine.pid(), GetParam()), 0);
    const std::optional<int> status = engine.waitForExit(std::chrono::seconds(30));
    ASSERT_TRUE(status) << "the engine still thinks";
    ASSERT_TRUE(WIFSIGNALED(*status)) << *status;
    EXPECT_EQ(WTERMSIG(*status), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Signals, GtpProcessSignal, testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const testing::TestParamInfo<int>& each) {
                             return std::string(each.param == SIGTERM  ? "SIGTERM"
                                                : each.param == SIGINT ? "SIGINT"
                                                                       : "SIGHUP");
                         });

} // namespace
