#include "match/Match.h"
#include "cli/MatchCommand.h"
#include "match/MatchTable.h"
#include "notation/GamePosition.h"
#include "notation/HexNotation.h"
#include "sgf/SgfGame.h"

#include "support/CliRun.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <sstream>
#include <thread>

namespace {

CliRun runMatch(std::vector<std::string> args) {
    return runCliWith([](CLI::App& app, int& exitCode, std::ostream& out,
                         std::ostream& err) { addMatchCommand(app, exitCode, out, err); },
                      std::move(args));
}

std::string fake(const std::string& mode) {
    return std::string("/bin/sh '") + FAKE_ENGINE + "' " + mode;
}

std::string quorlen(const TempDirectory& directory, const char* weights) {
    return std::string("'") + QUORLEN_CLI + "' gtp --strength easy --weights-file '" +
           (directory / weights).string() + "'";
}

TEST(Match, TwoQuorlenEnginesPlayWholeGamesUnderTheReferee) {
    TempDirectory directory;
    const CliRun run =
        runMatch({"match", "--black", quorlen(directory, "a.dat"), "--white",
                  quorlen(directory, "b.dat"), "--games", "2", "--size", "5", "--swap-colours",
                  "--sgf-dir", directory.path().string(), "--time-per-move", "30"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("games 2\n"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("2/2"), std::string::npos) << run.err;
    for (const char* name : {"game-001.sgf", "game-002.sgf"}) {
        const std::string sgf = readBytes(directory / name);
        const SgfGame::Reading reading = SgfGame::read(sgf);
        ASSERT_TRUE(reading.record) << name << ": " << reading.error;
        GamePosition position(reading.record->size);
        ASSERT_EQ(position.playAll(reading.record->moves), "");
        // The referee's own win detection names the winner; no game was forfeited.
        ASSERT_NE(position.winner(), 0) << sgf;
        EXPECT_EQ(reading.info.result, position.winner() == 1 ? "B+" : "W+") << sgf;
        EXPECT_EQ(reading.info.black, "Quorlen 0.1.0");
    }
    EXPECT_TRUE(std::filesystem::exists(directory / "a.dat")); // each engine kept its weights
}

struct Misbehaviour {
    const char* mode;
    const char* note;
    const char* result; // of the game, with A as Black
};

class RefereeForfeits : public testing::TestWithParam<Misbehaviour> {};

TEST_P(RefereeForfeits, TheOffenderLosesAndIsStartedAgainForTheNextGame) {
    TempDirectory directory;
    Match::Options options;
    options.engineA = quorlen(directory, "a.dat");
    options.engineB = fake(GetParam().mode);
    options.games = 2;
    options.size = 5;
    options.sgfDir = directory.path();
    options.timePerMove = std::chrono::milliseconds(1500);
    std::ostringstream progress;
    const std::atomic<bool> interrupted{false};
    const Match::Summary summary = Match(options, progress).run(interrupted);
    ASSERT_EQ(summary.error, "");
    EXPECT_EQ(summary.engines[0].wins, 2);
    // A resignation is a normal loss, counted apart from the forfeits.
    const bool resigned = std::string(GetParam().result) == "B+R";
    EXPECT_EQ(summary.engines[1].forfeits, resigned ? 0 : 2);
    EXPECT_EQ(summary.engines[1].resignations, resigned ? 2 : 0);
    ASSERT_EQ(summary.notes.size(), 2u);
    // The second game's note (which for a refused play goes on with the move): the offender
    // was started again and misbehaved again.
    EXPECT_EQ(summary.notes[1].rfind(std::string("game 2: ") + GetParam().note, 0), 0u)
        << summary.notes[1];
    EXPECT_EQ(SgfGame::read(readBytes(directory / "game-001.sgf")).info.result, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Engines, RefereeForfeits,
    testing::Values(
        Misbehaviour{"hang", "B (White) did not answer in time on move 2", "B+T"},
        Misbehaviour{"crash", "B (White) closed its output (it exited with status 3) on move 2",
                     "B+F"},
        Misbehaviour{"illegal", "B (White) played a1 on move 4: cell a1 is occupied", "B+F"},
        Misbehaviour{"resign", "B (White) resigned on move 2", "B+R"},
        Misbehaviour{"garbage", "B (White) answered 'hello', no move on move 2", "B+F"},
        Misbehaviour{"refuse", "B (White) refused genmove on move 2: I will not", "B+F"},
        Misbehaviour{"swap", "B (White) answered swap-pieces on move 2, but the swap is off",
                     "B+F"},
        Misbehaviour{"refuse-play", "B (White) failed the legal play black ", "B+F"}),
    [](const testing::TestParamInfo<Misbehaviour>& each) {
        std::string name = each.param.mode;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

// The Benzene-like engine, whose moves and log show how the referee spoke to it.
std::string sides(const TempDirectory& directory, const char* first = "") {
    return std::string("/bin/sh '") + SIDES_ENGINE + "' '" + (directory / "sides.log").string() +
           "' " + first;
}

struct SwapGame {
    Match::Summary summary;
    std::vector<Hex::Coord> moves;
    std::string log; // the Benzene-like engine's commands, one a line
};

SwapGame playSwapGame(const TempDirectory& directory, std::string black, std::string white,
                      bool swap) {
    Match::Options options;
    options.engineA = std::move(black);
    options.engineB = std::move(white);
    options.size = 5;
    options.swap = swap;
    options.sgfDir = directory.path();
    std::ostringstream progress;
    const std::atomic<bool> interrupted{false};
    SwapGame game;
    game.summary = Match(options, progress).run(interrupted);
    const SgfGame::Reading reading = SgfGame::read(readBytes(directory / "game-001.sgf"));
    if (reading.record) {
        game.moves = reading.record->moves;
    }
    game.log = readBytes(directory / "sides.log");
    return game;
}

// A whole game, won on the board and forfeited by nobody.
void expectPlayedOut(const SwapGame& game) {
    ASSERT_EQ(game.summary.notes, std::vector<std::string>{}) << game.log;
    GamePosition position(5);
    ASSERT_EQ(position.playAll(game.moves), "");
    EXPECT_NE(position.winner(), 0);
}

std::string mirroredStone(Hex::Coord first) {
    return "play white " + HexNotation::cellName(Hex::Coord{first.col, first.row}) + "\n";
}

TEST(MatchSwap, ABenzeneStyleWhiteThatSwapsIsShownTheTrueSwap) {
    TempDirectory directory;
    const SwapGame game =
        playSwapGame(directory, quorlen(directory, "a.dat"), sides(directory), true);
    expectPlayedOut(game);
    ASSERT_GE(game.moves.size(), 2u);
    EXPECT_EQ(game.moves[1], HexNotation::swapMarker(5));
    EXPECT_NE(game.log.find("param_game allow_swap 1\n"), std::string::npos) << game.log;
    EXPECT_NE(game.log.find("genmove white\nclear_board\n" + mirroredStone(game.moves[0])),
              std::string::npos)
        << game.log;
}

TEST(MatchSwap, ABenzeneStyleBlackIsShownTheTrueSwapOfItsStone) {
    TempDirectory directory;
    // Quorlen's White takes the swap of a stone in the middle; b3 is row 2, column 1.
    const SwapGame game =
        playSwapGame(directory, sides(directory, "b3"), quorlen(directory, "b.dat"), true);
    expectPlayedOut(game);
    ASSERT_GE(game.moves.size(), 2u);
    EXPECT_EQ(game.moves[0], (Hex::Coord{2, 1}));
    EXPECT_EQ(game.moves[1], HexNotation::swapMarker(5));
    EXPECT_NE(game.log.find("genmove black\nclear_board\nplay white c2\ngenmove black\n"),
              std::string::npos)
        << game.log;
}

TEST(MatchSwap, WithoutItNoEngineIsOfferedTheSwap) {
    TempDirectory directory;
    const SwapGame game =
        playSwapGame(directory, sides(directory, "b3"), quorlen(directory, "b.dat"), false);
    expectPlayedOut(game);
    ASSERT_GE(game.moves.size(), 2u);
    EXPECT_NE(game.moves[1], HexNotation::swapMarker(5)); // Quorlen was told the rule
    EXPECT_NE(game.log.find("param_game allow_swap 0\n"), std::string::npos) << game.log;
    EXPECT_EQ(game.log.find("swap-pieces"), std::string::npos) << game.log;
}

TEST(Match, AnEngineThatCannotStartEndsTheMatchWithAMessage) {
    const CliRun run = runMatch({"match", "--black", fake("mute"), "--white", fake("refuse")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "quorlen-cli match: engine A (" + fake("mute") +
                           ") did not answer name: closed its output (it exited with status 0)\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(runMatch({"match", "--black", "x"}).exitCode, 2);
    EXPECT_EQ(runMatch({"match", "--black", "x", "--white", "y", "--size", "2"}).exitCode, 2);
}

// Does something once a deaf engine has been asked its name (it then creates its file), on a
// thread of its own; nothing when the test ends first.
class WhenDeaf {
public:
    WhenDeaf(std::filesystem::path file, std::function<void()> action)
        : m_thread([this, file = std::move(file), action = std::move(action)] {
              while (!m_over) {
                  if (std::filesystem::exists(file)) {
                      action();
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
          }) {}
    ~WhenDeaf() {
        m_over = true;
        m_thread.join();
    }
    WhenDeaf(const WhenDeaf&) = delete;
    WhenDeaf& operator=(const WhenDeaf&) = delete;

private:
    std::atomic<bool> m_over{false};
    std::thread m_thread;
};

// An engine that is deaf to name, first or when it is started again after a lost game: an
// interrupt while the referee waits for its name ends the match at once (not after the time
// per move), with the table of the games played.
struct DeafStart {
    const char* mode;
    int played; // games played before the deaf start
};

class MatchInterrupt : public testing::TestWithParam<DeafStart> {};

TEST_P(MatchInterrupt, EndsTheMatchAtOnceWithTheTableOfTheGamesPlayed) {
    TempDirectory directory;
    const std::filesystem::path deaf = directory / "deaf";
    Match::Options options;
    options.engineA = quorlen(directory, "a.dat");
    options.engineB = fake(std::string(GetParam().mode) + " '" + deaf.string() + "'");
    options.games = 3;
    options.size = 5;
    options.timePerMove = std::chrono::seconds(30);
    std::ostringstream progress;
    std::atomic<bool> interrupted{false};
    const auto start = std::chrono::steady_clock::now();
    Match::Summary summary;
    {
        const WhenDeaf interrupter(deaf, [&interrupted] { interrupted = true; });
        summary = Match(options, progress).run(interrupted);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(summary.error, "");
    EXPECT_EQ(summary.played, GetParam().played);
    std::ostringstream table;
    MatchTable::print(summary, table);
    EXPECT_EQ(
        table.str().rfind("games " + std::to_string(GetParam().played) + " (interrupted)\n", 0), 0u)
        << table.str();
}

INSTANTIATE_TEST_SUITE_P(Engines, MatchInterrupt,
                         testing::Values(DeafStart{"deaf", 0}, DeafStart{"deaf-again", 1}),
                         [](const testing::TestParamInfo<DeafStart>& each) {
                             std::string name = each.param.mode;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// Ctrl-C while an engine starts: the command prints the table and exits with 130. (Its
// handler is in place before any engine is asked its name.)
TEST(Match, CtrlCWhileAnEngineStartsStillPrintsTheTable) {
    TempDirectory directory;
    const std::filesystem::path deaf = directory / "deaf";
    const auto start = std::chrono::steady_clock::now();
    CliRun run;
    {
        const WhenDeaf interrupter(deaf, [] { std::raise(SIGINT); });
        run = runMatch({"match", "--black", quorlen(directory, "a.dat"), "--white",
                        fake("deaf '" + deaf.string() + "'"), "--time-per-move", "30"});
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(run.exitCode, 130) << run.err;
    EXPECT_EQ(run.out.rfind("games 0 (interrupted)\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("Black won 0, White won 0\n"), std::string::npos) << run.out;
}

// The Wilson interval at the edges, and with no games; the printed table shows it for rates
// in between.
TEST(MatchTable, WinRateIntervalsStayWithinZeroAndOne) {
    const MatchTable::Interval none = MatchTable::winRateInterval(0, 10);
    EXPECT_NEAR(none.low, 0.0, 1e-12);
    EXPECT_NEAR(none.high, 0.2775, 1e-4);
    const MatchTable::Interval all = MatchTable::winRateInterval(10, 10);
    EXPECT_NEAR(all.low, 0.7225, 1e-4);
    EXPECT_NEAR(all.high, 1.0, 1e-12);
    const MatchTable::Interval unknown = MatchTable::winRateInterval(0, 0);
    EXPECT_EQ(unknown.low, 0.0);
    EXPECT_EQ(unknown.high, 1.0);
}

TEST(MatchTable, PrintsEachEngineTheColoursAndTheNotes) {
    Match::Summary summary;
    summary.played = 4;
    summary.blackWins = 3;
    summary.engines[0] = {"Quorlen 0.1.0", 4, 3, 2, 2, 0, 30, 15.0, 2.5};
    summary.engines[1] = {"fake-illegal", 4, 1, 2, 1, 1, 28, 0.28, 0.02};
    summary.engines[0].resignations = 1;
    summary.notes = {"game 2: B (White) played a1 on move 4: cell a1 is occupied",
                     "game 3: A (Black) resigned on move 30"};
    std::ostringstream out;
    MatchTable::print(summary, out);
    EXPECT_EQ(out.str(), "games 4\n"
                         "engine  name                     games  wins "
                         "as Black as White win rate  95% interval      avg think   longest\n"
                         "A       Quorlen 0.1.0                4     3      2/2      1/2    75.0%  "
                         "30.1% to 95.4%       0.50 s    2.50 s\n"
                         "B       fake-illegal                 4     1      1/2      0/2    25.0%  "
                         "4.6% to 69.9%        0.01 s    0.02 s\n"
                         "Black won 3, White won 1\n"
                         "lost by resignation: A 1, B 0; by forfeit (crash, time-out, illegal "
                         "answer): A 0, B 1\n"
                         "game 2: B (White) played a1 on move 4: cell a1 is occupied\n"
                         "game 3: A (Black) resigned on move 30\n");
}

} // namespace
