#include "gtp/EngineProcess.h"

#include "support/Eventually.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include <signal.h>

namespace {

using Outcome = EngineProcess::Outcome;
using namespace std::chrono_literals;

const std::atomic<bool> never{false};

std::string fake(const std::string& mode) {
    return std::string("/bin/sh '") + FAKE_ENGINE + "' " + mode;
}

// True when soon no process of the engine's process group is left running. The kill reaches
// what the engine's shell started a moment after the shell itself is reaped, and a killed
// process may linger as a zombie until init reaps it; it runs no more.
bool groupIsGone(pid_t group) {
    return eventually([group] {
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            std::ifstream stat(entry.path() / "stat");
            std::string line;
            if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) {
                continue;
            }
            // After "pid (name) ": the state, the parent, then the process group.
            std::istringstream fields(line.substr(line.rfind(')') + 2));
            char state = 0;
            pid_t parent = 0;
            pid_t processGroup = 0;
            if (fields >> state >> parent >> processGroup && processGroup == group &&
                state != 'Z') {
                return false;
            }
        }
        return true;
    });
}

TEST(EngineProcess, AnEngineThatHangsIsKilledWithEverythingItStarted) {
    EngineProcess engine(fake("hang"));
    ASSERT_EQ(engine.ask("name", 10s, never).outcome, Outcome::Answered);
    const EngineProcess::Reply reply = engine.ask("genmove b", 300ms, never);
    EXPECT_EQ(reply.outcome, Outcome::TimedOut);
    EXPECT_EQ(reply.text, "did not answer in time");
    EXPECT_FALSE(engine.alive());
    EXPECT_TRUE(groupIsGone(engine.pid())); // the shell's sleep went with it
    EXPECT_EQ(engine.ask("name", 10s, never).outcome, Outcome::Died);
}

// The reply says whether the engine refused, died, could not start or garbled the protocol;
// writing to a dead engine again raises no SIGPIPE: the test process lives on.
TEST(EngineProcess, AReplySaysHowTheEngineAnswered) {
    const struct {
        std::string command;
        Outcome outcome;
        const char* text;
    } cases[] = {
        {fake("refuse"), Outcome::Refused, "I will not"},
        {fake("crash"), Outcome::Died, "closed its output (it exited with status 3)"},
        {"/nonexistent/engine --gtp", Outcome::Died,
         "closed its output (it exited with status 127)"},
        {fake("chatty"), Outcome::Garbled, "sent a line that is no reply"},
    };
    for (const auto& each : cases) {
        EngineProcess engine(each.command);
        const EngineProcess::Reply reply = engine.ask("genmove b", 10s, never);
        EXPECT_EQ(reply.outcome, each.outcome) << each.command;
        // A shell that cannot start its engine may exit before the question is even sent.
        const bool goneBefore = reply.text == "has gone (it exited with status 127)" &&
                                each.command.rfind("/nonexistent", 0) == 0;
        EXPECT_TRUE(reply.text == each.text || goneBefore) << each.command << ": " << reply.text;
        if (reply.outcome == Outcome::Refused) {
            EXPECT_TRUE(engine.alive()); // a refusal leaves it running until it is told to quit
            engine.quit(2s);
        }
        EXPECT_FALSE(engine.alive()) << each.command;
        EXPECT_EQ(engine.ask("name", 10s, never).outcome, Outcome::Died) << each.command;
    }
}

TEST(EngineProcess, ACancelEndsTheWaitAndTheEngine) {
    EngineProcess engine(fake("hang"));
    std::atomic<bool> cancelled{false};
    auto asking = std::async(std::launch::async, [&] {
        return engine.ask("genmove w", std::chrono::hours(1), cancelled);
    });
    std::this_thread::sleep_for(100ms);
    cancelled = true;
    EXPECT_EQ(asking.get().outcome, Outcome::Cancelled);
    EXPECT_TRUE(groupIsGone(engine.pid()));
}

TEST(EngineProcess, DestroyingItEndsAnEngineThatIgnoresItsInput) {
    pid_t pid = 0;
    {
        EngineProcess engine("sleep 1000");
        pid = engine.pid();
        ASSERT_GT(pid, 0);
        EXPECT_TRUE(engine.alive());
    }
    EXPECT_TRUE(groupIsGone(pid));
}

} // namespace
