#include "support/CliRun.h"
#include "support/PinnedPositions.h"

#include <gtest/gtest.h>

// The analyses of tests/engine/pinned were checked when they were written; every later
// change of the engine must leave them byte for byte the same, or rewrite them on purpose
// with scripts/pin-analyses.sh.

namespace {

const std::string pinnedDirectory = QUORLEN_PINNED_DIR;

std::vector<PinnedPosition> positions() {
    return readPinnedPositions(pinnedDirectory, "analyze");
}

class PinnedAnalysis : public testing::TestWithParam<PinnedPosition> {};

TEST_P(PinnedAnalysis, IsUnchanged) {
    const PinnedPosition& position = GetParam();
    const CliRun run = runCli(position.args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(matchesPinned(pinnedDirectory, position.name, run.out));
}

// A broken reader would leave the parametrised test above with nothing to compare.
TEST(PinnedAnalysisList, IsRead) {
    EXPECT_GE(positions().size(), 15u);
}

INSTANTIATE_TEST_SUITE_P(Positions, PinnedAnalysis, testing::ValuesIn(positions()), pinnedTestName);

} // namespace
