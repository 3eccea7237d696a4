#pragma once

#include "engine/LearningMemory.h"
#include "engine/Weights.h"

#include <array>
#include <optional>

class HexNode;
class HexSearch;
class PathFinder;

// The learning rule of the hard computer player, applied once per move while learning is on:
// each weight moves against the product of the change in the position value and the change
// in its feature sum along both players' cheapest paths, both measured from the previous
// learning move of the game to this one.
class LearningStep {
public:
    // What one learning move measures: the position value before the move (Player 1's side)
    // and the feature sums along both cheapest paths.
    struct Sample {
        double value = 0.0;
        std::array<double, 4> featureSums{};
    };

    // Measures the root position (which also fills the root's path lists). Nothing when a
    // side has no path, which only a decided position gives.
    static std::optional<Sample> measure(HexSearch& search, HexNode& root, PathFinder& player1,
                                         PathFinder& player2);

    // Moves the weights by the rule when the memory holds a previous move. An update that
    // would make a weight infinite or NaN is skipped whole, so the weights stay finite.
    // Returns whether an update was applied.
    static bool update(Weights& weights, const LearningMemory& memory, const Sample& sample,
                       double rate);

    // Stores the sample as the previous learning move; the sums are truncated toward zero.
    static void remember(LearningMemory& memory, const Sample& sample);
};
