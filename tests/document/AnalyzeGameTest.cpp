// Analyze Game on the document, and its run stopped from another thread.

#include "DocumentTest.h"

#include "document/GameAnalysisRun.h"
#include "mcts/GameAnalysis.h"

#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Cells = std::vector<Hex::Coord>;

constexpr std::uint64_t playouts = 300;

using AnalyzeGameTest = DocumentTest;

// Hands the analysis messages posted so far to the document, in order.
void deliverAnalysis(CQuorlenDoc& document, const RecordingSink& sink) {
    for (const Message& message : sink.messages()) {
        if (const auto* progress = std::get_if<WmAppAnalysisProgress>(&message)) {
            document.onAnalysisProgress(*progress);
        } else if (const auto* done = std::get_if<WmAppAnalysisDone>(&message)) {
            document.onAnalysisDone(*done);
        }
    }
}

// The document's analysis has the numbers of the review of the same game with the same
// search; Save As keeps it in SGF, Open brings it back, and another game drops it.
TEST_F(AnalyzeGameTest, AnalysesTheShownGameKeepsItInSgfAndDropsItWithTheGame) {
    auto document = makeDocument();
    document->setAnalysisPlayouts(playouts);
    const fs::path record = directory.path() / "game.txt";
    std::ofstream(record, std::ios::binary) << "4\r\n1.1\r\n2.2\r\n0.3\r\n";
    EXPECT_FALSE(document->canAnalyzeGame()); // no game shown
    ASSERT_TRUE(document->openRecord(record));
    EXPECT_EQ(document->analyzeGameText(), "Analyze Game");
    ASSERT_TRUE(document->analyzeGame());
    EXPECT_EQ(document->analyzeGameText(), "Stop Analysis");
    EXPECT_TRUE(document->canAnalyzeGame()); // to stop it
    ASSERT_TRUE(eventually([&] { return !sink.all<WmAppAnalysisDone>().empty(); }));
    deliverAnalysis(*document, sink);
    EXPECT_FALSE(document->isAnalyzing());
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text, "Game analyzed");
    EXPECT_TRUE(sink.countStatus("Analyzing the game: position 4 of 4") == 1);

    GameAnalysis::Settings search;
    search.playoutsPerPosition = playouts;
    search.timePerPosition = std::chrono::milliseconds::max();
    const std::atomic<bool> never{false};
    const Cells moves{{1, 1}, {2, 2}, {0, 3}};
    const auto review = GameAnalysis(search).run(4, moves, never);
    ASSERT_TRUE(review.complete);
    EXPECT_EQ(document->analysis(), review.moves);
    deliverAnalysis(*document, sink); // a late second delivery changes nothing
    EXPECT_EQ(document->analysis(), review.moves);

    // The review's position: the move shown last and what the analysis says of it.
    EXPECT_EQ(document->shownMoveAnalysis(), &document->analysis().back());
    ASSERT_TRUE(document->showMoveCount(1));
    EXPECT_EQ(document->reviewPosition(), (std::pair<std::size_t, std::size_t>{1, 3}));
    EXPECT_EQ(document->shownMoveAnalysisText().rfind("Move 1, Player 1 B2: ", 0), 0u);
    ASSERT_TRUE(document->showMoveCount(0));
    EXPECT_EQ(document->shownMoveAnalysis(), nullptr);
    EXPECT_FALSE(document->showMoveCount(0));

    const fs::path sgf = directory.path() / "analysed.sgf";
    ASSERT_EQ(document->saveAs(sgf), "");
    ASSERT_TRUE(document->openRecord(record));
    EXPECT_TRUE(document->analysis().empty()); // a record holds no analysis
    ASSERT_TRUE(document->openRecord(sgf));
    const std::vector<MoveAnalysis>& opened = document->analysis();
    ASSERT_EQ(opened.size(), review.moves.size());
    for (std::size_t k = 0; k < opened.size(); ++k) { // the file keeps four decimals
        EXPECT_EQ(opened[k].bestMove, review.moves[k].bestMove);
        EXPECT_EQ(opened[k].label, review.moves[k].label);
        EXPECT_NEAR(opened[k].winRateAfter, review.moves[k].winRateAfter, 1e-4);
    }
    document->newGame();
    EXPECT_TRUE(document->analysis().empty());
    EXPECT_FALSE(document->canAnalyzeGame()); // a game runs
    EXPECT_TRUE(stop(*document));
}

// A record whose moves no legal game makes cannot be analysed, and says why; a stopped
// analysis leaves none, and its late answer is dropped.
TEST_F(AnalyzeGameTest, RefusedAndStoppedAnalysesLeaveNone) {
    auto document = makeDocument();
    document->setAnalysisPlayouts(playouts);
    const fs::path twice = directory.path() / "twice.txt";
    std::ofstream(twice, std::ios::binary) << "4\r\n1.1\r\n1.1\r\n";
    ASSERT_TRUE(document->openRecord(twice));
    ASSERT_TRUE(document->analyzeGame());
    ASSERT_TRUE(eventually([&] { return !sink.all<WmAppAnalysisDone>().empty(); }));
    deliverAnalysis(*document, sink);
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text,
              "The game cannot be analyzed: move 2 is off the board or on a taken cell");
    EXPECT_TRUE(document->analysis().empty());

    const WmAppAnalysisDone late{sink.all<WmAppAnalysisDone>().back().request + 1};
    ASSERT_TRUE(document->analyzeGame());
    EXPECT_TRUE(document->stopAnalysis());
    EXPECT_FALSE(document->isAnalyzing());
    EXPECT_FALSE(document->stopAnalysis());
    document->onAnalysisDone(late); // the stopped request's answer
    EXPECT_TRUE(document->analysis().empty());
    EXPECT_EQ(sink.all<WmAppStatusText>().back().text, "Analysis stopped");
}

// The run's thread searches for a minute per position; a stop from this thread ends it
// within one playout, with no answer posted.
TEST(GameAnalysisRunTest, StopsFromAnotherThreadWithoutAnAnswer) {
    RecordingSink sink;
    GameAnalysis::Settings settings;
    settings.timePerPosition = 60s;
    settings.threads = 2;
    const Cells moves{{4, 4}, {2, 6}, {6, 2}, {3, 3}};
    {
        GameAnalysisRun run(sink);
        run.start(9, moves, settings);
        EXPECT_TRUE(run.isRunning());
        std::this_thread::sleep_for(50ms);
        run.stop();
        EXPECT_FALSE(run.isRunning());
        run.start(9, moves, settings); // and the destructor stops a running one
    }
    EXPECT_TRUE(sink.all<WmAppAnalysisDone>().empty());
    EXPECT_TRUE(sink.all<WmAppAnalysisProgress>().empty());
}

} // namespace
