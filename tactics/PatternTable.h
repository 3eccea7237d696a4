#pragma once

#include "tactics/PatternPrior.h"

#include <span>

// The pattern counts learned from strong players' games by quorlen_learn_patterns
// (PatternTable.cpp is generated: see its header for how to remake it).
struct PatternTable {
    // By six-neighbour pattern (the twelve-cell code's outer fields empty).
    static std::span<const LearnedPattern> inner();
    // By twelve-cell pattern, those seen often enough to be kept.
    static std::span<const LearnedPattern> outer();
};
