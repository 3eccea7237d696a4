#pragma once

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// A position whose engine output is pinned: its name and the arguments of a quorlen-cli
// command.
struct PinnedPosition {
    std::string name;
    std::vector<std::string> args;
};

inline void PrintTo(const PinnedPosition& position, std::ostream* out) {
    *out << position.name;
}

// positions.txt of `directory`: a name and the arguments of `command` per line, # comments;
// {pinned} stands for the directory.
inline std::vector<PinnedPosition> readPinnedPositions(const std::string& directory,
                                                       const std::string& command) {
    std::vector<PinnedPosition> positions;
    std::ifstream in(directory + "/positions.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        PinnedPosition position;
        if (!(words >> position.name) || position.name[0] == '#') {
            continue;
        }
        position.args.push_back(command);
        for (std::string word; words >> word;) {
            const std::size_t placeholder = word.find("{pinned}");
            if (placeholder != std::string::npos) {
                word.replace(placeholder, 8, directory);
            }
            position.args.push_back(word);
        }
        positions.push_back(std::move(position));
    }
    return positions;
}

// The test name of a position: its name with '-' as '_'.
inline std::string pinnedTestName(const testing::TestParamInfo<PinnedPosition>& position) {
    std::string name = position.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// Byte for byte against the pinned file <directory>/<name>.json. Not EXPECT_EQ: a failure
// would print two texts of up to a few hundred kilobytes.
inline testing::AssertionResult matchesPinned(const std::string& directory, const std::string& name,
                                              const std::string& ours) {
    const std::string pinned = readBytes(directory + "/" + name + ".json");
    if (pinned.empty()) {
        return testing::AssertionFailure() << "no pinned output " << name << ".json";
    }
    const auto [at, theirs] = std::mismatch(ours.begin(), ours.end(), pinned.begin(), pinned.end());
    if (at == ours.end() && theirs == pinned.end()) {
        return testing::AssertionSuccess();
    }
    const std::size_t offset = static_cast<std::size_t>(at - ours.begin());
    return testing::AssertionFailure()
           << name << " differs from its pinned output at byte " << offset << ": ..."
           << ours.substr(offset < 60 ? 0 : offset - 60, 120);
}
