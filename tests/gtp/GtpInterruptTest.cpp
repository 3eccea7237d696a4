#include "gtp/GtpEngine.h"

#include "GtpScript.h"
#include "gtp/InterruptGate.h"
#include "model/Game.h"
#include "notation/HexNotation.h"
#include "support/RecordingSink.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

// A hard engine whose every searched move would take far longer than any test: only a stop
// ends its think.
class GtpInterruptTest : public testing::Test {
protected:
    GtpInterruptTest() : engine(options()) {}

    GtpEngine::Options options() {
        GtpEngine::Options chosen;
        chosen.strength = Strength::hard;
        chosen.timeLimit = 86400;
        chosen.weightsFile = directory / "quorlen.dat";
        chosen.seed = 3;
        chosen.pause = [](std::chrono::milliseconds) {};
        chosen.messages = &sink;
        return chosen;
    }

    // Replies as they came: "= text" or "? text", one string each.
    static std::vector<std::string> replies(const std::string& output) {
        std::vector<std::string> found;
        std::size_t start = 0;
        for (std::size_t end = output.find("\n\n"); end != std::string::npos;
             end = output.find("\n\n", start)) {
            found.push_back(output.substr(start, end - start));
            start = end + 2;
        }
        return found;
    }

    // A position where Black's move is searched: its move number is 2.
    static constexpr const char* setUp = "boardsize 11\nplay b a1\nplay w k11\n";

    TempDirectory directory;
    RecordingSink sink;
    GtpEngine engine;
};

TEST_F(GtpInterruptTest, AnInterruptStopsTheThinkAndTheBestMoveComes) {
    LiveSession session(engine);
    session.send(setUp);
    session.send("genmove b\n");
    ASSERT_TRUE(sink.waitForStatus("Looking ahead 1 moves...", std::chrono::seconds(60)));
    session.send("# interrupt\nquit\n");
    const std::string output = session.finish();
    const std::vector<std::string> answers = replies(output);
    ASSERT_EQ(answers.size(), 5u) << output;
    ASSERT_EQ(answers[3].rfind("= ", 0), 0u) << output;
    EXPECT_TRUE(HexNotation::parseCell(answers[3].substr(2), 11)) << output;
    EXPECT_EQ(engine.position().moves().size(), 3u);
    EXPECT_EQ(sink.countStatus("Quorlen AI finished"), 0); // a stopped think does not say so
}

// A script piped into the engine: its end interrupts nothing, and the genmove thinks on (here
// past its first depth) until something else stops it.
TEST_F(GtpInterruptTest, TheEndOfTheInputLetsTheThinkGoOn) {
    LiveSession session(engine);
    session.send(setUp);
    session.send("genmove b\nquorlen-value\n");
    session.closeInput();
    ASSERT_TRUE(sink.waitForStatus("Looking ahead 2 moves...", std::chrono::seconds(120)));
    EXPECT_EQ(sink.countStatus("Quorlen AI finished"), 0);
    engine.interrupt();
    const std::vector<std::string> answers = replies(session.finish());
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_TRUE(HexNotation::parseCell(answers[3].substr(2), 11)) << answers[3];
    EXPECT_EQ(answers[4].rfind("= ", 0), 0u) << answers[4]; // the queued command, answered
}

// A front end that goes away (both pipes closed, as when it quits) while a genmove thinks:
// nobody reads the answers any more, so the think stops and the session ends.
TEST_F(GtpInterruptTest, AFrontEndThatGoesAwayStopsTheThink) {
    InputPipe frontEnd; // its read end stands for the front end's end of the replies
    LiveSession session(engine, frontEnd.writeEnd());
    session.send(setUp);
    session.send("genmove b\n");
    ASSERT_TRUE(sink.waitForStatus("Looking ahead 1 moves...", std::chrono::seconds(60)));
    session.closeInput();
    frontEnd.closeReadEnd();
    const std::string output = session.finish(std::chrono::seconds(30));
    ASSERT_EQ(replies(output).size(), 4u) << output;
    EXPECT_EQ(sink.countStatus("Quorlen AI finished"), 0); // it was stopped
}

// A front end that keeps reading the answers after it has closed its end of the input.
TEST_F(GtpInterruptTest, AnOutputStillReadKeepsTheThinkGoing) {
    InputPipe frontEnd;
    LiveSession session(engine, frontEnd.writeEnd());
    session.send(setUp);
    session.send("genmove b\n");
    session.closeInput();
    ASSERT_TRUE(sink.waitForStatus("Looking ahead 2 moves...", std::chrono::seconds(120)));
    engine.interrupt();
    EXPECT_EQ(replies(session.finish()).size(), 4u);
}

TEST_F(GtpInterruptTest, AnEarlierInterruptLeavesALaterThinkAlone) {
    LiveSession session(engine);
    session.send(std::string(setUp) + "# interrupt\n");
    session.send("genmove b\n");
    // The think goes past its first iteration: nothing stopped it.
    ASSERT_TRUE(sink.waitForStatus("Looking ahead 2 moves...", std::chrono::seconds(120)));
    session.send("# interrupt\nquorlen-root_values\nquit\n");
    const std::vector<std::string> answers = replies(session.finish());
    ASSERT_EQ(answers.size(), 6u);
    // The values of the root moves of the search, as pairs of a cell and a value.
    std::istringstream pairs(answers[4].substr(1));
    int count = 0;
    for (std::string cell, value; pairs >> cell >> value; ++count) {
        EXPECT_TRUE(HexNotation::parseCell(cell, 11)) << answers[4];
        EXPECT_LE(std::abs(std::stod(value)), 1.0) << answers[4];
        EXPECT_EQ(value.size(), value[0] == '-' ? 6u : 5u) << answers[4]; // three decimals
    }
    EXPECT_GT(count, 0) << answers[4];
}

// HexGui's live analysis: graphics blocks stream until "# interrupt", then the answer; its
// line is the one quorlen-pv then gives.
TEST(GtpLiveAnalysis, StreamsGraphicsUntilInterrupted) {
    GtpEngine::Options chosen;
    chosen.strength = Strength::expert;
    chosen.threads = 1;
    chosen.seed = 5;
    GtpEngine engine(chosen);
    LiveSession session(engine);
    session.send("boardsize 9\nplay b e5\nplay w c3\ngogui-gfx-analyze b\n");
    ASSERT_TRUE(session.waitForOutput("gogui-gfx:\nuct\nVAR B ", std::chrono::seconds(60)));
    session.send("# interrupt\nquorlen-pv\nquit\n");
    const std::string output = session.finish();
    std::vector<std::string> blocks;
    std::vector<std::string> answers;
    std::size_t start = 0;
    for (std::size_t end = output.find("\n\n"); end != std::string::npos;
         end = output.find("\n\n", start)) {
        const std::string block = output.substr(start, end - start);
        (block.rfind("gogui-gfx:", 0) == 0 ? blocks : answers).push_back(block);
        start = end + 2;
    }
    ASSERT_EQ(answers.size(), 6u) << output;
    ASSERT_GE(blocks.size(), 1u) << output;
    std::istringstream lines(blocks.back());
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    EXPECT_EQ(line, "uct");
    for (const char* heading : {"VAR B ", "INFLUENCE ", "LABEL ", "TEXT "}) {
        ASSERT_TRUE(std::getline(lines, line)) << blocks.back();
        EXPECT_EQ(line.rfind(heading, 0), 0u) << blocks.back();
    }
    // The answer is the last block's text, and its line the one quorlen-pv gives.
    EXPECT_EQ("= " + line.substr(5), answers[3]) << output;
    EXPECT_NE(answers[3].find(" playouts, line " + answers[4].substr(2)), std::string::npos)
        << output;
    EXPECT_TRUE(HexNotation::parseCell(answers[4].substr(2, answers[4].find(' ', 2) - 2), 9))
        << output;
}

// Nothing could interrupt a live analysis once the input has ended: it answers at once.
TEST(GtpLiveAnalysis, EndsWithTheInput) {
    GtpEngine::Options chosen;
    chosen.strength = Strength::expert;
    chosen.threads = 1;
    GtpEngine engine(chosen);
    LiveSession session(engine);
    session.send("boardsize 5\ngogui-gfx-analyze\n");
    session.closeInput();
    const std::string output = session.finish(std::chrono::seconds(30));
    EXPECT_EQ(output.find("did not end"), std::string::npos) << output;
    EXPECT_NE(output.find(" playouts"), std::string::npos) << output;
}

TEST(InterruptGate, StopsTheThinksOfTheCommandsReadBeforeTheInterrupt) {
    InterruptGate gate;
    Hex::Game first(3, nullptr);
    gate.begin(5);
    gate.interruptThrough(4);
    gate.enter(first);
    EXPECT_FALSE(first.isStopped()); // the interrupt was about an earlier command
    gate.interruptThrough(5);
    EXPECT_TRUE(first.isStopped());
    gate.leave();

    Hex::Game later(3, nullptr);
    gate.begin(6);
    gate.enter(later);
    gate.interruptThrough(5); // late news about command 5
    EXPECT_FALSE(later.isStopped());
    gate.leave();
    gate.interruptThrough(6); // after the think: nothing to stop
    EXPECT_FALSE(later.isStopped());

    Hex::Game waiting(3, nullptr);
    gate.interruptThrough(7); // read while command 7 waited in line, before its think began
    gate.begin(7);
    gate.enter(waiting);
    EXPECT_TRUE(waiting.isStopped());
    gate.leave();

    // The end of the input stops the endless search, now and later, and no genmove.
    std::atomic<bool> endless{false};
    gate.begin(8);
    gate.enterEndless(endless);
    gate.interruptThrough(7);
    EXPECT_FALSE(endless);
    gate.inputEnded();
    EXPECT_TRUE(endless);
    gate.leave();
    Hex::Game afterTheEnd(3, nullptr);
    gate.begin(9);
    gate.enter(afterTheEnd);
    EXPECT_FALSE(afterTheEnd.isStopped());
    gate.leave();
    std::atomic<bool> laterEndless{false};
    gate.begin(10);
    gate.enterEndless(laterEndless);
    EXPECT_TRUE(laterEndless);
    gate.leave();
}

} // namespace
