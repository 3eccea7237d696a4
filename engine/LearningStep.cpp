#include "engine/LearningStep.h"

#include "engine/HexSearch.h"
#include "engine/PathFinder.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::optional<LearningStep::Sample>
LearningStep::measure(HexSearch& search, HexNode& root, PathFinder& player1, PathFinder& player2) {
    // Value and path lists of the root, from cost maps of the root's board.
    player1.setBoard(&root.board());
    player2.setBoard(&root.board());
    Sample sample;
    sample.value = search.evaluate(root);
    if (root.pathsP1().empty() || root.pathsP2().empty()) {
        return std::nullopt;
    }
    // Each finder sums its own features: "own" is Player 1 in the first, Player 2 in the
    // second. The evaluation above left both finders on the root's board.
    const auto sumsP1 = player1.sumFeatures(root.pathsP1().front());
    const auto sumsP2 = player2.sumFeatures(root.pathsP2().front());
    for (std::size_t k = 0; k < 4; ++k) {
        sample.featureSums[k] = sumsP1[k] + sumsP2[k];
    }
    return sample;
}

bool LearningStep::update(Weights& weights, const LearningMemory& memory, const Sample& sample,
                          double rate) {
    if (!memory.havePrevious) {
        return false;
    }
    Weights updated = weights;
    for (std::size_t k = 0; k < 4; ++k) {
        const double previousSum = memory.previousSums[k];
        updated[k] =
            ((sample.featureSums[k] - previousSum) * (sample.value - memory.previousValue)) * rate *
                (-1.0) +
            weights[k];
        if (!std::isfinite(updated[k])) {
            return false;
        }
    }
    weights = updated;
    return true;
}

void LearningStep::remember(LearningMemory& memory, const Sample& sample) {
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    for (std::size_t k = 0; k < 4; ++k) {
        // Truncation toward zero; out-of-range sums (never seen on a real board) are clamped
        // rather than converted with undefined behaviour.
        const double sum = std::isnan(sample.featureSums[k]) ? 0.0 : sample.featureSums[k];
        memory.previousSums[k] =
            static_cast<std::int32_t>(std::clamp(std::trunc(sum), lowest, highest));
    }
    memory.previousValue = sample.value;
    memory.havePrevious = true;
}
