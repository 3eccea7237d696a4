// Analyze Position: the analysis thread's snapshots and stop, and when the document runs it.

#include "DocumentTest.h"

#include "document/LiveAnalysis.h"

#include <algorithm>

namespace {

using namespace std::chrono_literals;
using Cells = std::vector<Hex::Coord>;
using DocumentLiveAnalysisTest = DocumentTest;

MctsSearch::Config twoThreads() {
    MctsSearch::Config config;
    config.threads = 2;
    return config;
}

bool snapshotArrived(const RecordingSink& sink) {
    return eventually([&] { return !sink.all<WmAppLiveAnalysis>().empty(); });
}

// Hands every snapshot posted so far to the document, as the window would.
void deliverSnapshots(const RecordingSink& sink, CQuorlenDoc& document) {
    for (const WmAppLiveAnalysis& snapshot : sink.all<WmAppLiveAnalysis>()) {
        document.onLiveAnalysis(snapshot);
    }
}

// The thread searches on until a stop from the owning thread, which ends it at once: its
// snapshots name the best empty cells, each with its line, and one posted before the stop
// is dropped, also once the next analysis runs.
TEST(LiveAnalysisTest, SnapshotsUntilStopped) {
    RecordingSink sink;
    LiveAnalysis analysis(sink);
    const Cells moves = {{2, 2}};
    analysis.start({5, moves, true}, twoThreads());
    ASSERT_TRUE(analysis.isOn());
    ASSERT_TRUE(snapshotArrived(sink));
    const WmAppLiveAnalysis snapshot = sink.all<WmAppLiveAnalysis>().front();
    ASSERT_TRUE(analysis.accept(snapshot));
    EXPECT_EQ(analysis.sideToMove(), 2);
    ASSERT_FALSE(analysis.moves().empty());
    EXPECT_LE(analysis.moves().size(), LiveAnalysis::shownMoves);
    double shares = 0.0;
    for (const AnalyzedMove& move : analysis.moves()) {
        EXPECT_NE(move.move, (Hex::Coord{2, 2}));
        ASSERT_FALSE(move.line.empty());
        EXPECT_EQ(move.line.front(), move.move);
        EXPECT_LE(move.line.size(), LiveAnalysis::lineLength);
        EXPECT_GE(move.winRate, 0.0);
        EXPECT_LE(move.winRate, 1.0);
        shares += move.share;
    }
    EXPECT_GT(shares, 0.0);
    EXPECT_LE(shares, 1.0);
    EXPECT_TRUE(std::is_sorted(
        analysis.moves().begin(), analysis.moves().end(),
        [](const AnalyzedMove& a, const AnalyzedMove& b) { return a.share > b.share; }));

    ASSERT_TRUE(analysis.isSearching()); // a 5 x 5 board is not proven in a fraction of a second
    const auto start = std::chrono::steady_clock::now();
    analysis.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s); // a generous bound: no hang
    EXPECT_FALSE(analysis.isOn());
    EXPECT_FALSE(analysis.isSearching());
    EXPECT_TRUE(analysis.moves().empty());
    const WmAppLiveAnalysis late = sink.all<WmAppLiveAnalysis>().back();
    EXPECT_FALSE(analysis.accept(late));
    analysis.start({5, moves, true}, twoThreads());
    EXPECT_FALSE(analysis.accept(late)); // of the request before
    EXPECT_TRUE(analysis.moves().empty());
}

// Player 1 joins the top and bottom at (3, 0): the proven position ends the search, whose
// last snapshot stays shown with the winning move first, marked proven.
TEST(LiveAnalysisTest, AProvenPositionEndsTheSearchAndStaysShown) {
    RecordingSink sink;
    LiveAnalysis analysis(sink);
    analysis.start({4, {{0, 0}, {0, 3}, {1, 0}, {1, 3}, {2, 0}, {2, 3}}, true}, twoThreads());
    ASSERT_TRUE(eventually([&] { return !analysis.isSearching(); }));
    EXPECT_TRUE(analysis.isOn());
    ASSERT_TRUE(analysis.accept(sink.all<WmAppLiveAnalysis>().back()));
    ASSERT_FALSE(analysis.moves().empty());
    const AnalyzedMove& win = analysis.moves().front();
    EXPECT_EQ(win.move, (Hex::Coord{3, 0}));
    EXPECT_TRUE(win.proven);
    EXPECT_EQ(win.winRate, 1.0);
}

// Two humans on 4 x 4: the empty board before any game and a human's turn may be analysed;
// New Game, a move and a step through a stopped game each stop it.
TEST_F(DocumentLiveAnalysisTest, RunsOnTheShownPositionUntilItChanges) {
    settings.set(SettingsKeys::searchThreads, "2");
    auto document = makeDocument();
    ASSERT_TRUE(document->canAnalyzePosition());
    ASSERT_TRUE(document->toggleAnalyzePosition());
    ASSERT_TRUE(document->isAnalyzingPosition());
    ASSERT_TRUE(snapshotArrived(sink));
    deliverSnapshots(sink, *document);
    EXPECT_FALSE(document->liveAnalysis().moves().empty());

    document->newGame();
    EXPECT_FALSE(document->isAnalyzingPosition());
    EXPECT_TRUE(document->liveAnalysis().moves().empty());
    ASSERT_TRUE(asked(*document, 1));
    ASSERT_TRUE(document->toggleAnalyzePosition());
    EXPECT_EQ(document->liveAnalysis().sideToMove(), 1);
    ASSERT_TRUE(document->cellClicked(1, 1));
    EXPECT_FALSE(document->isAnalyzingPosition());
    EXPECT_FALSE(document->canAnalyzePosition()); // nobody is asked yet

    ASSERT_TRUE(offeredSwap(*document, 2));
    ASSERT_TRUE(document->toggleAnalyzePosition());
    EXPECT_EQ(document->liveAnalysis().sideToMove(), 2);
    ASSERT_TRUE(stop(*document));
    ASSERT_TRUE(document->toggleAnalyzePosition()); // on the stopped game's last position
    ASSERT_TRUE(document->showMove(GameReview::Step::first));
    EXPECT_FALSE(document->isAnalyzingPosition());
    ASSERT_TRUE(document->toggleAnalyzePosition());
    ASSERT_TRUE(document->toggleAnalyzePosition()); // unchecked
    EXPECT_FALSE(document->isAnalyzingPosition());
}

} // namespace
