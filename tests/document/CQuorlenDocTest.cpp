#include "DocumentTest.h"

#include "gtp/EnginePlayer.h"
#include "notation/HexNotation.h"
#include "players/ComputerPlayer.h"
#include "players/ExpertPlayer.h"
#include "settings/EscapedText.h"
#include "settings/FileText.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;

using CQuorlenDocTest = DocumentTest;

TEST_F(CQuorlenDocTest, PlayersComeFromTheSettings) {
    settings.set(SettingsKeys::p1Type, "2");
    settings.set(SettingsKeys::p2Type, "0");
    auto document = makeDocument();
    EXPECT_EQ(document->player(1).name(), "Quorlen");
    EXPECT_EQ(document->player(2).name(), "Player 2");
    EXPECT_TRUE(document->isPlayerKindChecked(1, PlayerKind::hard));
    EXPECT_TRUE(document->isPlayerKindChecked(2, PlayerKind::human));

    settings.set(SettingsKeys::p1Type, "5");
    settings.set(SettingsKeys::p2Type, "1");
    auto other = makeDocument();
    EXPECT_EQ(other->player(1).name(), "Player 1");
    EXPECT_EQ(other->player(2).name(), "Quorl");
    settings.set(SettingsKeys::p1Type, "3"); // an engine without a command line: a human
    EXPECT_EQ(makeDocument()->player(1).name(), "Player 1");

    // The expert is kind 4, with the threads of SEARCH_THREADS.
    settings.set(SettingsKeys::p1Type, "4");
    settings.set(SettingsKeys::searchThreads, "3");
    auto expert = makeDocument();
    EXPECT_EQ(expert->player(1).name(), "Quorlen Expert");
    EXPECT_TRUE(expert->isPlayerKindChecked(1, PlayerKind::expert));
    EXPECT_EQ(dynamic_cast<ExpertPlayer&>(expert->player(1)).search().config().threads, 3);
}

TEST_F(CQuorlenDocTest, BoardSizesTheProgramCannotPlayFallBackToTheDefault) {
    for (const char* stored : {"0", "2", "31", "2147483648", "-7", "huge"}) {
        settings.set(SettingsKeys::boardSize, stored);
        EXPECT_EQ(makeDocument()->boardSize(), 10) << stored;
    }
    settings.set(SettingsKeys::boardSize, "30");
    EXPECT_EQ(makeDocument()->boardSize(), 30);
}

TEST_F(CQuorlenDocTest, OptionsAreStoredInTheSettings) {
    auto document = makeDocument();
    document->setTimeLimitMinutes(5);
    EXPECT_EQ(settings.get(SettingsKeys::timeLimit), "300");
    document->setBoardSize(13);
    EXPECT_EQ(settings.get(SettingsKeys::boardSize), "13");
    document->toggleLearning();
    EXPECT_EQ(settings.get(SettingsKeys::learning), "1");
    EXPECT_TRUE(document->isLearningChecked());
    document->toggleLearning();
    EXPECT_EQ(settings.get(SettingsKeys::learning), "0");
    EXPECT_FALSE(document->isLearningChecked());

    BoardColors colors;
    colors.player1 = 255;
    colors.path = 65280;
    document->setColors(colors);
    EXPECT_EQ(settings.get(SettingsKeys::colorP1), "255");
    EXPECT_EQ(settings.get(SettingsKeys::colorPath), "65280");
    EXPECT_EQ(document->colors(), colors);
}

TEST_F(CQuorlenDocTest, ChoosingAKindAgainMakesANewPlayerWithTheCurrentLimit) {
    settings.set(SettingsKeys::p1Type, "2");
    auto document = makeDocument();
    document->setTimeLimitMinutes(7);
    EXPECT_EQ(dynamic_cast<ComputerPlayer&>(document->player(1)).timeLimit(), 300);
    document->setPlayerKind(1, PlayerKind::hard);
    EXPECT_EQ(dynamic_cast<ComputerPlayer&>(document->player(1)).timeLimit(), 420);
    EXPECT_EQ(settings.get(SettingsKeys::p1Type), "2");
    document->setPlayerKind(1, PlayerKind::expert);
    EXPECT_EQ(dynamic_cast<ExpertPlayer&>(document->player(1)).timeLimit(), 420);
    EXPECT_EQ(settings.get(SettingsKeys::p1Type), "4");
    document->setPlayerKind(1, PlayerKind::human);
    EXPECT_EQ(settings.get(SettingsKeys::p1Type), "0");
    EXPECT_TRUE(fs::exists(directory / "quorlen.dat")); // the computer player wrote it
}

TEST_F(CQuorlenDocTest, StopGameRightAfterNewGameIsNeverLost) {
    auto document = makeDocument(); // two humans: the game waits for a click
    document->newGame();
    EXPECT_EQ(document->newGameText(), "Stop Game");
    EXPECT_FALSE(document->canChangeOptions());
    document->newGame();
    ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
    EXPECT_EQ(document->newGameText(), "New Game");
    EXPECT_TRUE(document->isGameOver());
    EXPECT_TRUE(document->game()->moves().empty());
}

// Any error on the game thread ends the game with its message: an exception of a player,
// and the game's own text for a move on a taken cell.
TEST_F(CQuorlenDocTest, AnyErrorOnTheGameThreadEndsTheGameWithAMessage) {
    class FailingPlayer : public TimedPlayer {
    public:
        explicit FailingPlayer(bool throws) : TimedPlayer("failing"), m_throws(throws) {}

    protected:
        Hex::Coord chooseMove(Event&) override {
            if (m_throws) {
                throw std::bad_alloc();
            }
            return Hex::Coord{0, 0};
        }
        bool decideSwap(Event&) override { return false; }

    private:
        bool m_throws;
    };
    std::size_t errors = 0;
    for (const bool throws : {true, false}) {
        auto document = makeDocument(
            [](auto) {},
            [throws](int, PlayerKind) { return std::make_unique<FailingPlayer>(throws); });
        document->newGame();
        ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
        ASSERT_EQ(sink.all<GameErrorText>().size(), ++errors);
        EXPECT_EQ(sink.all<GameErrorText>().back().text,
                  throws ? std::bad_alloc().what()
                         : "Invalid coord of (0, 0) on a board of size 4.  Player2 attempted "
                           "move on non-empty position.");
        EXPECT_TRUE(document->isGameOver());
    }
}

// --- GTP engines as players ----------------------------------------------------------------

std::string fakeEngine(const std::string& mode) {
    return std::string("/bin/sh '") + FAKE_ENGINE + "' " + mode;
}

// The Benzene-like engine; its log shows what it was told.
std::string swapSidesEngine(const fs::path& log, const char* first = "") {
    return std::string("/bin/sh '") + SIDES_ENGINE + "' '" + log.string() + "' " + first;
}

TEST_F(CQuorlenDocTest, AGtpEngineTakesTheEasyPlayersSwapAndPlaysToTheEnd) {
    settings.set(SettingsKeys::p1Type, "1");
    settings.set(SettingsKeys::boardSize, "5");
    auto document = makeDocument();
    // An "=" in the command line is stored escaped, so that the settings file keeps it.
    const std::string command = "QUORLEN_TEST=1 " + swapSidesEngine(directory / "log");
    std::unique_ptr<EnginePlayer> engine = document->startEngine(2, command);
    ASSERT_TRUE(eventually([&] { return engine->startState() != EnginePlayer::Start::running; }));
    ASSERT_EQ(engine->startState(), EnginePlayer::Start::ready) << engine->startFailure();
    document->setEnginePlayer(2, std::move(engine));
    EXPECT_EQ(document->player(2).name(), "Wolve");
    EXPECT_TRUE(document->isPlayerKindChecked(2, PlayerKind::gtpEngine));
    EXPECT_EQ(settings.get(SettingsKeys::p2Type), "3");
    EXPECT_EQ(settings.get(SettingsKeys::p2Engine), EscapedText::escaped(command));
    EXPECT_EQ(document->engineCommand(2), command);

    document->newGame();
    ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
    for (const GameErrorText& error : sink.all<GameErrorText>()) {
        ADD_FAILURE() << error.text;
    }
    EXPECT_NE(document->game()->winner(), 0);
    // The easy player opens in the middle and the engine swaps; it is shown the true swap, and
    // told its time in the two-argument form it takes.
    const std::vector<Hex::Coord> moves = document->game()->moves();
    ASSERT_GE(moves.size(), 2u);
    EXPECT_EQ(moves[1], (Hex::Coord{5, 5}));
    const std::string log = readBytes(directory / "log");
    const std::string mirrored = HexNotation::cellName(Hex::Coord{moves[0].col, moves[0].row});
    EXPECT_NE(log.find("genmove white\nclear_board\nplay white " + mirrored + "\n"),
              std::string::npos)
        << log;
    // GTP's three-argument time_left refused, the engine's own two-argument form follows.
    const std::size_t timeLeft = log.find("time_left white ");
    const std::size_t end = log.find(" 0\n", timeLeft);
    ASSERT_NE(end, std::string::npos) << log;
    const std::string twoArguments = log.substr(timeLeft, end - timeLeft);
    EXPECT_EQ(log.substr(timeLeft, 2 * twoArguments.size() + 4),
              twoArguments + " 0\n" + twoArguments + "\n");
}

TEST_F(CQuorlenDocTest, AHumanTakesTheSwapOfAGtpEnginesStoneAndWins) {
    settings.set(SettingsKeys::boardSize, "5");
    settings.set(SettingsKeys::p1Type, "3");
    settings.set(SettingsKeys::p1Engine,
                 EscapedText::escaped(swapSidesEngine(directory / "log", "b3")));
    auto document = makeDocument();
    EXPECT_TRUE(document->isPlayerKindChecked(1, PlayerKind::gtpEngine));
    document->newGame();
    ASSERT_TRUE(offeredSwap(*document, 2));
    EXPECT_FALSE(document->cellClicked(2, 1)); // b3 is taken: the offer stands
    EXPECT_TRUE(document->swapOffered(2));
    document->swapClicked();
    // The engine fills the top rows; White joins its edges along the bottom row.
    for (int col = 0; col < 5; ++col) {
        ASSERT_TRUE(play(*document, 2, {4, col}));
    }
    ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
    EXPECT_TRUE(sink.all<GameErrorText>().empty());
    EXPECT_EQ(document->game()->winner(), 2);
    EXPECT_EQ(document->player(1).name(), "Wolve");
    // b3 (row 2, column 1) swapped is White's c2.
    const std::string log = readBytes(directory / "log");
    EXPECT_EQ(log.find("swap-pieces"), std::string::npos) << log;
    EXPECT_NE(log.find("genmove black\nclear_board\nplay white c2\n"), std::string::npos) << log;
}

TEST_F(CQuorlenDocTest, StopGameEndsAGtpEnginesThinkAtOnce) {
    settings.set(SettingsKeys::p1Type, "3");
    settings.set(SettingsKeys::p1Engine, EscapedText::escaped(fakeEngine("hang")));
    auto document = makeDocument();
    document->newGame();
    ASSERT_TRUE(sink.waitForStatus("fake-hang thinking..."));
    document->newGame(); // Stop Game: the engine would otherwise have its 300 seconds
    ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
    EXPECT_TRUE(sink.all<GameErrorText>().empty());
}

TEST_F(CQuorlenDocTest, DisplayStateFollowsTheMessages) {
    auto document = makeDocument();
    Path path;
    path.cells = {{0, 0}, {1, 0}};
    path.cost = 3.0;
    document->onShowPaths(WmAppShowPaths{1, {path, path, path}});
    document->onShowPaths(WmAppShowPaths{2, {path}});
    EXPECT_EQ(document->pathCount(1), 3);
    EXPECT_EQ(document->pathCount(2), 1);
    document->onShowPaths(WmAppShowPaths{});
    EXPECT_EQ(document->pathCount(1), 0);
    EXPECT_EQ(document->pathCount(2), 0);
    EXPECT_EQ(document->paths(1).size(), 3u); // the lists stay until replaced

    document->onShowEval(WmAppShowEval{CellEvaluation{2, 3, 0.5}});
    document->onShowEval(WmAppShowEval{CellEvaluation{2, 3, -0.25}});
    document->onShowEval(WmAppShowEval{CellEvaluation{0, 1, 0.125}});
    ASSERT_EQ(document->evaluations().size(), 2u);
    EXPECT_EQ(document->evaluations().at(203).value, -0.25);
    document->onShowEval(WmAppShowEval{});
    EXPECT_TRUE(document->evaluations().empty());

    // A stopped think leaves its last display behind: a new game, an opened record and a game
    // continued from the shown position each start with a clean board.
    const std::filesystem::path record = directory / "game.txt";
    ASSERT_TRUE(FileText::replaceWhole(record, "4\r\n1.1\r\n"));
    const std::function<bool()> starts[] = {
        [&] {
            document->newGame();
            return stop(*document);
        },
        [&] { return document->openRecord(record); },
        [&] { return document->continueFromHere() && stop(*document); },
    };
    for (const auto& start : starts) {
        document->onShowPaths(WmAppShowPaths{1, {path}});
        document->onShowPaths(WmAppShowPaths{2, {path}});
        document->onShowEval(WmAppShowEval{CellEvaluation{2, 3, 0.5}});
        ASSERT_TRUE(start());
        EXPECT_EQ(document->pathCount(1) + document->pathCount(2), 0);
        EXPECT_TRUE(document->paths(1).empty());
        EXPECT_TRUE(document->evaluations().empty());
    }
}

} // namespace
