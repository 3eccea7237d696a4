#include "document/CQuorlenDoc.h"
#include "players/ComputerPlayer.h"
#include "players/ExpertPlayer.h"
#include "players/HumanPlayer.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include "support/RecordingSink.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 3000; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

class CQuorlenDocTest : public ::testing::Test {
protected:
    void SetUp() override { SettingsDefaults::apply(settings); }

    std::unique_ptr<CQuorlenDoc>
    makeDocument(std::function<std::unique_ptr<TimedPlayer>(int, PlayerKind)> makePlayer = {}) {
        CQuorlenDoc::Context context{settings,
                                     sink,
                                     Clock::steady(),
                                     directory() / "quorlen.dat",
                                     [](std::chrono::milliseconds) {},
                                     std::move(makePlayer)};
        return std::make_unique<CQuorlenDoc>(std::move(context));
    }

    const fs::path& directory() const { return m_directory.path(); }

    SettingsStore settings;
    RecordingSink sink;

private:
    TempDirectory m_directory;
};

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

    // The expert is kind 4, with the threads of SEARCH_THREADS; 3 is no kind.
    settings.set(SettingsKeys::p1Type, "4");
    settings.set(SettingsKeys::p2Type, "3");
    settings.set(SettingsKeys::searchThreads, "3");
    auto expert = makeDocument();
    EXPECT_EQ(expert->player(1).name(), "Quorlen Expert");
    EXPECT_TRUE(expert->isPlayerKindChecked(1, PlayerKind::expert));
    EXPECT_EQ(dynamic_cast<ExpertPlayer&>(expert->player(1)).search().config().threads, 3);
    EXPECT_EQ(expert->player(2).name(), "Player 2");
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
    EXPECT_TRUE(fs::exists(directory() / "quorlen.dat")); // the computer player wrote it
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

TEST_F(CQuorlenDocTest, HumanClicksReachTheWaitingSide) {
    auto document = makeDocument();
    document->newGame();
    ASSERT_TRUE(sink.waitForCount(2)); // the redraw, then Player 1's turn
    ASSERT_EQ(sink.all<WmAppHumanTurn>().size(), 1u);
    EXPECT_FALSE(document->cellClicked(1, 1)); // nobody is marked as asked yet
    document->onHumanTurn(1);
    EXPECT_TRUE(document->cellClicked(1, 1));
    EXPECT_FALSE(document->awaitsMove(1));
    ASSERT_TRUE(eventually([&] { return sink.all<WmAppSwapOffer>().size() == 1; }));
    document->onSwapOffer(2);
    EXPECT_TRUE(document->swapOffered());
    EXPECT_FALSE(document->cellClicked(1, 1)); // taken: nothing happens
    EXPECT_TRUE(document->swapOffered());
    EXPECT_TRUE(document->cellClicked(4, 4)); // declines the swap and plays there
    ASSERT_TRUE(eventually([&] { return document->game()->moves().size() == 2; }));
    EXPECT_EQ(document->game()->moves()[1], (Hex::Coord{4, 4}));
    document->newGame(); // stop
    ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
    EXPECT_FALSE(document->cellClicked(5, 5)); // no game running
}

TEST_F(CQuorlenDocTest, TheSwapButtonTakesTheSwap) {
    auto document = makeDocument();
    document->newGame();
    ASSERT_TRUE(eventually([&] { return sink.all<WmAppHumanTurn>().size() == 1; }));
    document->onHumanTurn(1);
    ASSERT_TRUE(document->cellClicked(2, 5));
    ASSERT_TRUE(eventually([&] { return sink.all<WmAppSwapOffer>().size() == 1; }));
    document->onSwapOffer(2);
    document->swapClicked();
    EXPECT_FALSE(document->swapOffered());
    ASSERT_TRUE(eventually([&] { return document->game()->moves().size() == 2; }));
    EXPECT_EQ(document->game()->boardSnapshot().cell(5, 2), 2);
    document->newGame();
}

TEST_F(CQuorlenDocTest, AnyErrorOnTheGameThreadEndsTheGameWithAMessage) {
    class FailingPlayer : public TimedPlayer {
    public:
        FailingPlayer() : TimedPlayer("failing") {}

    protected:
        Hex::Coord chooseMove(Event&) override { throw std::bad_alloc(); }
    };
    auto document = makeDocument([](int, PlayerKind) { return std::make_unique<FailingPlayer>(); });
    document->newGame();
    ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
    ASSERT_EQ(sink.all<GameErrorText>().size(), 1u);
    EXPECT_EQ(sink.all<GameErrorText>()[0].text, std::bad_alloc().what());
    EXPECT_TRUE(document->isGameOver());
}

TEST_F(CQuorlenDocTest, AMoveOnATakenCellShowsTheGameMessage) {
    class CornerPlayer : public TimedPlayer {
    public:
        CornerPlayer() : TimedPlayer("corner") {}

    protected:
        Hex::Coord chooseMove(Event&) override { return Hex::Coord{0, 0}; }
        bool decideSwap(Event&) override { return false; }
    };
    auto document = makeDocument([](int, PlayerKind) { return std::make_unique<CornerPlayer>(); });
    document->newGame();
    ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
    ASSERT_EQ(sink.all<GameErrorText>().size(), 1u);
    EXPECT_EQ(sink.all<GameErrorText>()[0].text, "Invalid coord of (0, 0) on a board of size 10.  "
                                                 "Player2 attempted move on non-empty position.");
}

TEST_F(CQuorlenDocTest, ComputerPlayersPlayAWholeGame) {
    settings.set(SettingsKeys::p1Type, "1");
    settings.set(SettingsKeys::p2Type, "1");
    settings.set(SettingsKeys::boardSize, "5");
    auto document = makeDocument();
    document->newGame();
    ASSERT_TRUE(eventually([&] { return !document->isRunning(); }));
    EXPECT_TRUE(document->isGameOver());
    EXPECT_NE(document->game()->winner(), 0);
    EXPECT_TRUE(sink.all<GameErrorText>().empty());
}

TEST_F(CQuorlenDocTest, OpenAndSaveRecords) {
    auto document = makeDocument();
    const fs::path record = directory() / "won.txt";
    std::ofstream(record, std::ios::binary) << "3\r\n0.1\r\n0.0\r\n1.1\r\n0.2\r\n2.0\r\n";
    ASSERT_TRUE(document->openRecord(record));
    EXPECT_TRUE(document->isGameOver());
    EXPECT_EQ(document->game()->winner(), 1);
    EXPECT_EQ(document->boardSize(), 10); // opening a record keeps the size setting

    std::ofstream(directory() / "bad.txt", std::ios::binary) << "5\r\n1.1\r\n2\r\n";
    EXPECT_FALSE(document->openRecord(directory() / "bad.txt"));
    EXPECT_EQ(document->game()->board().size(), 3u); // the current game stays

    const fs::path saves = directory() / "saves";
    fs::create_directories(saves);
    ASSERT_TRUE(document->saveRecord(saves));
    ASSERT_EQ(std::distance(fs::directory_iterator(saves), fs::directory_iterator()), 1);

    document->newGame(); // a fresh game on the size setting
    EXPECT_EQ(document->game()->board().size(), 10u);
    EXPECT_FALSE(document->isGameOver());
    document->newGame();
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
}

} // namespace
