// Take Back, Hint, Resign, the review of a stopped game and Save As, on the document alone.

#include "DocumentTest.h"

#include "model/CellName.h"
#include "players/ComputerPlayer.h"
#include "settings/FileText.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Cells = std::vector<Hex::Coord>;
using Step = GameReview::Step;

using GameToolsTest = DocumentTest;

// Human Player 1 against a learning hard Player 2: taking the computer's reply and the
// human's move back and playing the same move again gives the same position, the same reply
// and the same weights, as if the taken-back moves had never been played.
TEST_F(GameToolsTest, TakingBackAndPlayingTheSameMoveAgainGivesTheSameReply) {
    settings.setInt(SettingsKeys::p2Type, static_cast<int>(PlayerKind::hard));
    settings.set(SettingsKeys::learning, "1");
    auto document = makeDocument();
    const auto weights = [&] {
        return dynamic_cast<ComputerPlayer&>(document->player(2)).weights();
    };
    document->newGame();
    ASSERT_TRUE(asked(*document, 1));
    EXPECT_FALSE(document->canTakeBack()); // no human move yet

    ASSERT_TRUE(play(*document, 1, {1, 1})); // in the middle: the computer swaps
    ASSERT_TRUE(play(*document, 1, {0, 2}));
    ASSERT_TRUE(asked(*document, 1));
    const Weights before = weights();
    const Cells position = document->game()->moves();
    clock.advance(7); // Player 1 thinks for 7 seconds
    const Hex::Board board = document->game()->boardSnapshot();
    int empty = 0; // the first empty cell of the 4 x 4 board
    while (board.at(empty / 4, empty % 4) != 0) {
        ++empty;
    }
    const Hex::Coord again{empty / 4, empty % 4};
    ASSERT_TRUE(play(*document, 1, again));
    ASSERT_TRUE(asked(*document, 1));
    const Cells played = document->game()->moves();
    ASSERT_EQ(played.size(), position.size() + 2);
    const Weights learned = weights();
    ASSERT_NE(learned, before); // the reply's learning step moved the weights

    ASSERT_TRUE(document->takeBack());
    ASSERT_TRUE(asked(*document, 1));
    EXPECT_EQ(document->game()->moves(), position);
    EXPECT_EQ(weights(), before);
    EXPECT_EQ(document->player(1).timeUsed(), 7); // the clock is not rewound

    ASSERT_TRUE(play(*document, 1, again));
    ASSERT_TRUE(asked(*document, 1));
    EXPECT_EQ(document->game()->moves(), played);
    EXPECT_EQ(weights(), learned);
    EXPECT_TRUE(sink.all<GameErrorText>().empty());
    EXPECT_TRUE(stop(*document));
}

// A taken-back swap gives the first stone back to its owner and offers the swap again.
TEST_F(GameToolsTest, TakingBackASwapOffersItAgain) {
    settings.setInt(SettingsKeys::p1Type, static_cast<int>(PlayerKind::easy));
    auto document = makeDocument();
    document->newGame();
    ASSERT_TRUE(offeredSwap(*document, 2));
    EXPECT_FALSE(document->canTakeBack()); // Player 2 has not moved yet
    const Hex::Coord first = document->game()->moves().front();
    document->swapClicked();
    ASSERT_TRUE(asked(*document, 2));
    const Cells played = document->game()->moves();
    ASSERT_EQ(played.size(), 3u);

    ASSERT_TRUE(document->takeBack());
    ASSERT_TRUE(offeredSwap(*document, 2));
    EXPECT_EQ(document->game()->moves(), Cells{first});
    EXPECT_EQ(document->game()->boardSnapshot().at(first.row, first.col), 1);
    document->swapClicked();
    ASSERT_TRUE(asked(*document, 2));
    EXPECT_EQ(document->game()->moves(), played);
    EXPECT_TRUE(stop(*document));
}

// Take Back pressed while the computer answers the first move: whether its answer lands
// before the stop or not, the board is empty again, Player 1 is asked once more, no click
// of the old game reaches the new one and the game goes on.
TEST_F(GameToolsTest, TakingBackTheFirstMoveRacesTheComputersAnswer) {
    settings.setInt(SettingsKeys::p2Type, static_cast<int>(PlayerKind::easy));
    for (const auto delay : {0ms, 5ms, 100ms}) {
        std::atomic<bool> thinking{false};
        auto document = makeDocument([&](std::chrono::milliseconds) {
            thinking = true;
            std::this_thread::sleep_for(delay);
        });
        document->newGame();
        ASSERT_TRUE(play(*document, 1, {0, 0})); // a corner: the computer declines the swap
        ASSERT_TRUE(eventually([&] { return thinking.load(); }));
        ASSERT_TRUE(document->takeBack()) << delay.count();
        EXPECT_FALSE(document->cellClicked(2, 2)); // nobody is asked yet in the new game
        ASSERT_TRUE(asked(*document, 1));
        EXPECT_TRUE(document->game()->moves().empty());
        EXPECT_FALSE(document->canTakeBack());
        ASSERT_TRUE(play(*document, 1, {0, 0}));
        ASSERT_TRUE(eventually([&] { return document->game()->moves().size() == 2; }));
        EXPECT_TRUE(sink.all<GameErrorText>().empty());
        EXPECT_TRUE(stop(*document));
    }
}

TEST_F(GameToolsTest, HintMarksTheMoveUntilTheNextMove) {
    settings.set(SettingsKeys::boardSize, "10");
    auto document = makeDocument();
    document->newGame();
    EXPECT_FALSE(document->canHint()); // nobody is asked yet
    ASSERT_TRUE(asked(*document, 1));
    ASSERT_TRUE(document->hint());
    EXPECT_FALSE(document->hint()); // being found: a second one does nothing
    EXPECT_FALSE(document->canHint());
    ASSERT_TRUE(document->cellClicked(4, 4)); // the position changes: the hint stops
    EXPECT_FALSE(document->canHint());

    ASSERT_TRUE(offeredSwap(*document, 2));
    ASSERT_TRUE(document->hint());
    ASSERT_TRUE(eventually([&] {
        clock.advance(10); // the hint's five seconds are up, whenever its search started
        return !sink.all<WmAppShowHint>().empty();
    }));
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text, "Finding a hint...");
    for (const WmAppShowHint& shown : sink.all<WmAppShowHint>()) {
        document->onShowHint(shown); // only the answer to the running request counts
    }
    const Hex::Coord hint = document->hintMove();
    const Hex::Board board = document->game()->boardSnapshot();
    const std::string named = document->hintIsSwap() ? "Swap" : Hex::cellName(hint);
    ASSERT_TRUE(document->hintIsSwap() ||
                (board.inBounds(hint.row, hint.col) && board.at(hint.row, hint.col) == 0));
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text.rfind("Hint: " + named, 0), 0u);
    WmAppShowHint valued = sink.all<WmAppShowHint>().back();
    valued.move = Hex::Coord{2, 4};
    valued.value = -0.5;
    document->onShowHint(valued);
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text, "Hint: C5 (-0.50 for Player 2)");
    EXPECT_FALSE(document->hintIsSwap());
    valued.move = Hex::Coord{10, 10}; // the swap marker of the 10 x 10 board
    valued.value = 0.25;
    document->onShowHint(valued);
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text, "Hint: Swap (+0.25 for Player 2)");
    EXPECT_TRUE(document->hintIsSwap());

    ASSERT_TRUE(document->cellClicked(0, 0));
    EXPECT_EQ(document->hintMove(), Hex::noMove);
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text, ""); // the hint's text goes with it
    document->onShowHint(sink.all<WmAppShowHint>().back()); // late: the position has changed
    EXPECT_EQ(document->hintMove(), Hex::noMove);
    EXPECT_TRUE(stop(*document));
}

TEST_F(GameToolsTest, ResignEndsTheGameWonByTheOtherSide) {
    auto document = makeDocument();
    document->newGame();
    EXPECT_FALSE(document->canResign());
    ASSERT_TRUE(play(*document, 1, {0, 0}));
    ASSERT_TRUE(offeredSwap(*document, 2));
    ASSERT_TRUE(document->resign());
    EXPECT_FALSE(document->isRunning());
    EXPECT_TRUE(document->isGameOver());
    EXPECT_EQ(document->resignedSide(), 2);
    EXPECT_FALSE(document->swapOffered());
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text, "Player 1 wins by resignation");
    EXPECT_FALSE(document->canResign());
    EXPECT_FALSE(document->canTakeBack());

    // SGF keeps the result; a record holds the moves only.
    EXPECT_EQ(document->saveAs(directory.path() / "resigned.SGF"), "");
    const auto sgf = FileText::readAll(directory.path() / "resigned.SGF");
    ASSERT_TRUE(sgf);
    EXPECT_NE(sgf->find("RE[B+R]"), std::string::npos) << *sgf;
    EXPECT_NE(sgf->find(";B[a1])"), std::string::npos) << *sgf;
    EXPECT_EQ(document->saveAs(directory.path() / "resigned.txt"), "");
    EXPECT_EQ(FileText::readAll(directory.path() / "resigned.txt"), "4\r\n0.0\r\n");

    // Open tells SGF from a record by the content, whatever the name.
    std::ofstream(directory.path() / "game.txt", std::ios::binary)
        << "\xEF\xBB\xBF (;FF[4]GM[11]SZ[5]RE[W+R];B[c2];W[swap-pieces];B[A1])";
    ASSERT_TRUE(document->openRecord(directory.path() / "game.txt"));
    EXPECT_EQ(document->game()->moves(), (Cells{{1, 2}, {5, 5}, {0, 0}}));
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text, ""); // the resignation's text is gone
    EXPECT_EQ(document->saveAs(directory.path() / "again.sgf"), ""); // the result is kept
    EXPECT_NE(FileText::readAll(directory.path() / "again.sgf").value_or("").find("RE[W+R]"),
              std::string::npos);
    std::string problem;
    std::ofstream(directory.path() / "chess.sgf", std::ios::binary) << "(;GM[3])";
    EXPECT_FALSE(document->openRecord(directory.path() / "chess.sgf", &problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(document->game()->board().size(), 5u);
}

TEST_F(GameToolsTest, ReviewStepsThroughAStoppedGameAndContinuesFromThere) {
    auto document = makeDocument();
    document->newGame();
    ASSERT_TRUE(play(*document, 1, {0, 0}));
    ASSERT_TRUE(offeredSwap(*document, 2));
    ASSERT_TRUE(document->cellClicked(1, 1)); // declines the swap
    ASSERT_TRUE(asked(*document, 1));
    clock.advance(3);
    ASSERT_TRUE(document->cellClicked(2, 2));
    ASSERT_TRUE(asked(*document, 2));
    EXPECT_FALSE(document->canShowMove(Step::previous)); // not while the game runs
    ASSERT_TRUE(stop(*document));
    EXPECT_EQ(document->player(1).timeUsed(), 3);

    using Shown = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(document->reviewPosition(), (Shown{3, 3}));
    EXPECT_FALSE(document->canShowMove(Step::next));
    ASSERT_TRUE(document->showMove(Step::previous));
    EXPECT_EQ(document->reviewPosition(), (Shown{2, 3}));
    EXPECT_EQ(document->shownGame()->lastMove(), (Hex::Coord{1, 1}));
    ASSERT_TRUE(document->showMove(Step::first));
    EXPECT_TRUE(document->shownGame()->moves().empty());
    EXPECT_FALSE(document->showMove(Step::previous));
    ASSERT_TRUE(document->showMove(Step::next));
    EXPECT_EQ(document->shownGame()->moves(), (Cells{{0, 0}}));
    ASSERT_TRUE(document->showMove(Step::last));
    EXPECT_EQ(document->shownGame(), document->game());
    ASSERT_TRUE(document->showMove(Step::previous));

    ASSERT_TRUE(document->continueFromHere());
    ASSERT_TRUE(asked(*document, 1));
    EXPECT_EQ(document->game()->moves(), (Cells{{0, 0}, {1, 1}}));
    EXPECT_EQ(document->player(1).timeUsed(), 0); // a new game: fresh clocks
    ASSERT_TRUE(stop(*document));

    document->newGame(); // still an empty board
    EXPECT_TRUE(document->game()->moves().empty());
    ASSERT_TRUE(stop(*document));
}

// A record opens as a stopped game on its own size; only a position that can go on is
// continued, and a record the program cannot read leaves the current game.
TEST_F(GameToolsTest, OpenedRecordsAreContinuedOnlyWhereTheGameCanGoOn) {
    auto document = makeDocument();
    const fs::path won = directory.path() / "won.txt";
    std::ofstream(won, std::ios::binary) << "3\r\n0.1\r\n0.0\r\n1.1\r\n0.2\r\n2.0\r\n";
    ASSERT_TRUE(document->openRecord(won));
    EXPECT_TRUE(document->isGameOver());
    EXPECT_EQ(document->game()->winner(), 1);
    EXPECT_EQ(document->boardSize(), 4);   // opening a record keeps the size setting
    EXPECT_FALSE(document->canContinue()); // won
    const fs::path saves = directory.path() / "saves";
    fs::create_directories(saves);
    ASSERT_TRUE(document->saveRecord(saves));
    EXPECT_EQ(std::distance(fs::directory_iterator(saves), fs::directory_iterator()), 1);

    std::ofstream(directory.path() / "bad.txt", std::ios::binary) << "5\r\n1.1\r\n2\r\n";
    EXPECT_FALSE(document->openRecord(directory.path() / "bad.txt"));
    EXPECT_EQ(document->game()->board().size(), 3u);
    ASSERT_TRUE(document->showMove(Step::previous));
    EXPECT_TRUE(document->canContinue());

    const fs::path twice = directory.path() / "twice.txt";
    std::ofstream(twice, std::ios::binary) << "4\r\n1.1\r\n1.1\r\n2.2\r\n";
    ASSERT_TRUE(document->openRecord(twice));
    EXPECT_FALSE(document->canContinue()); // a cell played twice
    ASSERT_TRUE(document->showMove(Step::first));
    ASSERT_TRUE(document->showMove(Step::next));
    EXPECT_TRUE(document->canContinue());
    EXPECT_NE(document->saveAs(directory.path() / "twice.sgf"), "");
    EXPECT_FALSE(fs::exists(directory.path() / "twice.sgf"));
}

// In review a click plays a variation from the shown position; the game's moves never change,
// and Save As and Open keep the variations.
TEST_F(GameToolsTest, ClicksInReviewPlayVariationsThatSaveAsAndOpenKeep) {
    auto document = makeDocument();
    const Cells game{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    std::ofstream(directory.path() / "game.txt", std::ios::binary)
        << "4\r\n0.0\r\n1.1\r\n2.2\r\n3.3\r\n";
    ASSERT_TRUE(document->openRecord(directory.path() / "game.txt"));
    const auto shownMoves = [&] { return document->shownGame()->moves(); };
    using Shown = std::pair<std::size_t, std::size_t>;
    EXPECT_FALSE(document->canBackToGame());
    ASSERT_TRUE(document->showMove(Step::previous));
    ASSERT_TRUE(document->showMove(Step::previous));
    EXPECT_FALSE(document->cellClicked(1, 1)); // taken
    ASSERT_TRUE(document->cellClicked(0, 3));
    EXPECT_EQ(document->variationBranch(), std::optional<std::size_t>(2));
    ASSERT_TRUE(document->cellClicked(3, 0));
    EXPECT_EQ(shownMoves(), (Cells{{0, 0}, {1, 1}, {0, 3}, {3, 0}}));
    ASSERT_TRUE(document->showMove(Step::previous));
    ASSERT_TRUE(document->cellClicked(2, 0)); // cuts the variation there
    EXPECT_FALSE(document->canShowMove(Step::next));
    ASSERT_TRUE(document->showMove(Step::first));
    ASSERT_TRUE(document->showMove(Step::last));
    const Cells variation{{0, 0}, {1, 1}, {0, 3}, {2, 0}};
    EXPECT_EQ(shownMoves(), variation);
    EXPECT_EQ(document->reviewPosition(), (Shown{4, 4}));

    ASSERT_TRUE(document->backToGame());
    EXPECT_FALSE(document->canBackToGame());
    EXPECT_EQ(document->reviewPosition(), (Shown{2, 4}));
    ASSERT_TRUE(document->cellClicked(2, 2)); // the game's own move: no variation
    EXPECT_FALSE(document->variationBranch());
    ASSERT_TRUE(document->showMove(Step::last));
    EXPECT_EQ(document->shownGame(), document->game());
    ASSERT_TRUE(document->cellClicked(0, 1)); // a variation after the last move
    EXPECT_EQ(document->game()->moves(), game);

    ASSERT_EQ(document->saveAs(directory.path() / "lines.sgf"), "");
    ASSERT_EQ(document->saveAs(directory.path() / "game.record"), "");
    EXPECT_EQ(FileText::readAll(directory.path() / "game.record"),
              std::optional<std::string>("4\r\n0.0\r\n1.1\r\n2.2\r\n3.3\r\n"));
    ASSERT_TRUE(document->openRecord(directory.path() / "lines.sgf"));
    EXPECT_EQ(document->game()->moves(), game);
    const std::vector<Message> messages = sink.messages();
    const auto status = std::find_if(messages.rbegin(), messages.rend(), [](const Message& m) {
        return std::holds_alternative<WmAppStatusText>(m);
    });
    ASSERT_NE(status, messages.rend());
    EXPECT_EQ(std::get<WmAppStatusText>(*status).text,
              "variations after moves 2, 4: click a variation's first move there to show it");
    ASSERT_TRUE(document->showMove(Step::previous));
    ASSERT_TRUE(document->showMove(Step::previous));
    ASSERT_TRUE(document->cellClicked(0, 3)); // the variation read back
    ASSERT_TRUE(document->showMove(Step::last));
    EXPECT_EQ(shownMoves(), variation);

    ASSERT_TRUE(document->continueFromHere());
    EXPECT_EQ(document->game()->moves(), variation);
    ASSERT_TRUE(stop(*document));
}

// Announcements and clicks that belong to a stopped game never reach the next one.
TEST_F(GameToolsTest, NothingOfAStoppedGameReachesTheNext) {
    auto document = makeDocument();
    document->newGame();
    ASSERT_TRUE(play(*document, 1, {0, 0}));
    ASSERT_TRUE(offeredSwap(*document, 2));
    ASSERT_TRUE(stop(*document));
    EXPECT_TRUE(document->cellClicked(1, 1)); // a variation of the stopped game, no move
    document->newGame();
    EXPECT_FALSE(document->swapOffered()); // no Swap button in the new game
    document->onSwapOffer(2);              // a late announcement of the stopped game
    EXPECT_FALSE(document->swapOffered());
    document->swapClicked();
    ASSERT_TRUE(play(*document, 1, {3, 3}));
    ASSERT_TRUE(offeredSwap(*document, 2)); // Player 2 is asked, not answered already
    EXPECT_EQ(document->game()->moves(), (Cells{{3, 3}}));
    EXPECT_TRUE(stop(*document));
}

} // namespace
