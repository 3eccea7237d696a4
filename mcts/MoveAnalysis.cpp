#include "mcts/MoveAnalysis.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 4> labelNames{"good", "inaccuracy", "mistake", "blunder"};

// Win rates differ by whole points more often than the sums of binary fractions show:
// 0.60 - 0.55 must count as five points.
constexpr double pointTolerance = 1e-9;

} // namespace

MoveAnalysis MoveAnalysis::of(Hex::Coord move, int player, Hex::Coord bestMove,
                              double winRateBefore, bool provenBefore, double winRateAfter,
                              bool provenAfter) {
    MoveAnalysis analysis{move,         player,       bestMove,   winRateBefore,
                          provenBefore, winRateAfter, provenAfter};
    analysis.loss = std::max(0.0, winRateBefore - winRateAfter);
    analysis.label = labelOf(analysis.loss);
    return analysis;
}

MoveAnalysis::Label MoveAnalysis::labelOf(double loss) {
    if (loss >= 0.20 - pointTolerance) {
        return Label::blunder;
    }
    if (loss >= 0.10 - pointTolerance) {
        return Label::mistake;
    }
    if (loss >= 0.05 - pointTolerance) {
        return Label::inaccuracy;
    }
    return Label::good;
}

std::string_view MoveAnalysis::labelName(Label label) {
    return labelNames.at(static_cast<std::size_t>(label));
}

std::optional<MoveAnalysis::Label> MoveAnalysis::labelNamed(std::string_view name) {
    const auto* found = std::find(labelNames.begin(), labelNames.end(), name);
    if (found == labelNames.end()) {
        return std::nullopt;
    }
    return static_cast<Label>(found - labelNames.begin());
}
