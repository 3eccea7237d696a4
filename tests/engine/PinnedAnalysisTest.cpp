#include "support/CliRun.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The analyses of tests/engine/pinned were checked when they were written; every later
// change of the engine must leave them byte for byte the same, or rewrite them on purpose
// with scripts/pin-analyses.sh.

namespace {

const std::string pinnedDirectory = QUORLEN_PINNED_DIR;

struct PinnedPosition {
    std::string name;
    std::vector<std::string> args;
};

// positions.txt: a name and the arguments of `analyze` per line; {pinned} is the directory.
std::vector<PinnedPosition> readPositions() {
    std::vector<PinnedPosition> positions;
    std::ifstream in(pinnedDirectory + "/positions.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        PinnedPosition position;
        if (!(words >> position.name) || position.name[0] == '#') {
            continue;
        }
        position.args.push_back("analyze");
        for (std::string word; words >> word;) {
            const std::size_t placeholder = word.find("{pinned}");
            if (placeholder != std::string::npos) {
                word.replace(placeholder, 8, pinnedDirectory);
            }
            position.args.push_back(word);
        }
        positions.push_back(std::move(position));
    }
    return positions;
}

void PrintTo(const PinnedPosition& position, std::ostream* out) {
    *out << position.name;
}

class PinnedAnalysis : public testing::TestWithParam<PinnedPosition> {};

TEST_P(PinnedAnalysis, IsUnchanged) {
    const PinnedPosition& position = GetParam();
    const CliRun run = runCli(position.args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string pinned = readBytes(pinnedDirectory + "/" + position.name + ".json");
    ASSERT_FALSE(pinned.empty()) << "no pinned analysis " << position.name << ".json";
    // Not EXPECT_EQ: a failure would print two texts of up to a few hundred kilobytes.
    const auto [ours, theirs] =
        std::mismatch(run.out.begin(), run.out.end(), pinned.begin(), pinned.end());
    const std::size_t at = static_cast<std::size_t>(ours - run.out.begin());
    EXPECT_TRUE(ours == run.out.end() && theirs == pinned.end())
        << position.name << " differs from its pinned analysis at byte " << at << ": ..."
        << run.out.substr(at < 60 ? 0 : at - 60, 120);
}

// A broken reader would leave the parametrised test above with nothing to compare.
TEST(PinnedAnalysisList, IsRead) {
    const std::vector<PinnedPosition> positions = readPositions();
    EXPECT_GE(positions.size(), 15u);
}

INSTANTIATE_TEST_SUITE_P(Positions, PinnedAnalysis, testing::ValuesIn(readPositions()),
                         [](const testing::TestParamInfo<PinnedPosition>& position) {
                             std::string name = position.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
