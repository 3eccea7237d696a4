#include "gtp/EnginePlayer.h"
#include "model/Exception.h"
#include "model/Game.h"
#include "support/ScriptedPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::string fake(const std::string& mode) {
    return std::string("/bin/sh '") + FAKE_ENGINE + "' " + mode;
}

bool startEnds(const EnginePlayer& engine) {
    for (int i = 0; i < 3000 && engine.startState() == EnginePlayer::Start::running; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    return engine.startState() != EnginePlayer::Start::running;
}

// The message of the error that ends a game of the engine (Black) on a 5 x 5 board.
std::string gameError(EnginePlayer& engine) {
    ScriptedPlayer other({{1, 1}}, Player::declineSwap); // the engine fails by move 3
    Hex::Game game(5, nullptr);
    game.setPlayer1(&engine);
    game.setPlayer2(&other);
    try {
        game.run();
    } catch (const Hex::Exception& error) {
        return error.message();
    }
    return "(the game ended without an error)";
}

struct Misbehaviour {
    const char* mode;
    std::int32_t timeLimit;
    const char* reason;
};

class EnginePlayerFailures : public testing::TestWithParam<Misbehaviour> {};

TEST_P(EnginePlayerFailures, EndTheGameWithAMessageThatNamesTheEngineAndWhy) {
    EnginePlayer::Options options;
    options.command = fake(GetParam().mode);
    options.timeLimit = GetParam().timeLimit;
    EnginePlayer engine(options);
    ASSERT_TRUE(startEnds(engine));
    EXPECT_EQ(gameError(engine), std::string("The GTP engine fake-") + GetParam().mode +
                                     " (Player 1) " + GetParam().reason + ".");
}

INSTANTIATE_TEST_SUITE_P(
    Engines, EnginePlayerFailures,
    testing::Values(
        Misbehaviour{"crash", 60, "closed its output (it exited with status 3) at genmove black"},
        // Its clock leaves it one or two seconds for the move.
        Misbehaviour{"hang", 2, "did not answer in time at genmove black"},
        Misbehaviour{"illegal", 60, "played a1 on move 3: cell a1 is occupied"},
        Misbehaviour{"garbage", 60, "answered genmove black with 'hello', which is no move"},
        Misbehaviour{"refuse", 60, "refused genmove black: I will not"},
        Misbehaviour{"resign", 60, "resigned on move 1"}),
    [](const testing::TestParamInfo<Misbehaviour>& each) { return std::string(each.param.mode); });

TEST(EnginePlayer, AnEngineThatDoesNotStartSaysWhyAndIsTriedAgainAtTheGame) {
    EnginePlayer::Options options;
    options.command = fake("mute");
    EnginePlayer engine(options);
    ASSERT_TRUE(startEnds(engine));
    EXPECT_EQ(engine.startState(), EnginePlayer::Start::failed);
    // Unnamed, the engine is shown by its command.
    const std::string error = gameError(engine);
    EXPECT_EQ(error.rfind("The GTP engine '/bin/sh ", 0), 0u) << error;
    const std::string why =
        " (Player 1) could not be started: closed its output (it exited with status 0) at name.";
    EXPECT_EQ(error.substr(error.size() - std::min(error.size(), why.size())), why);
}

} // namespace
