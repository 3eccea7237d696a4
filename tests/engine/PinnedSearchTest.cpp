#include "support/CliRun.h"
#include "support/PinnedPositions.h"

#include <gtest/gtest.h>

// The searches of tests/engine/pinned-searches were made before any work on the search's
// speed; every later change must leave them byte for byte the same (moves, values, tree
// sizes and evaluations at every depth), on one thread or several, or rewrite them on
// purpose with scripts/pin-searches.sh.

namespace {

const std::string pinnedDirectory = QUORLEN_PINNED_SEARCHES_DIR;

std::vector<PinnedPosition> positions() {
    return readPinnedPositions(pinnedDirectory, "search");
}

class PinnedSearch : public testing::TestWithParam<PinnedPosition> {};

TEST_P(PinnedSearch, IsUnchangedOnAnyNumberOfThreads) {
    for (const char* threads : {"1", "3"}) {
        PinnedPosition position = GetParam();
        position.args.insert(position.args.end(),
                             {"--each-depth", "--no-times", "--threads", threads});
        const CliRun run = runCli(position.args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(matchesPinned(pinnedDirectory, position.name, run.out))
            << "on " << threads << " threads";
    }
}

TEST(PinnedSearchList, IsRead) {
    EXPECT_GE(positions().size(), 8u);
}

INSTANTIATE_TEST_SUITE_P(Positions, PinnedSearch, testing::ValuesIn(positions()), pinnedTestName);

} // namespace
