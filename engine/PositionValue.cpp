#include "engine/PositionValue.h"

double positionValue(const std::vector<Path>& player1Paths, const std::vector<Path>& player2Paths) {
    if (player1Paths.empty()) {
        return -1.0;
    }
    if (player2Paths.empty()) {
        return 1.0;
    }
    const double a = player1Paths.front().cost;
    const double b = player2Paths.front().cost;
    if (a == 0.0) {
        return 1.0;
    }
    if (b == 0.0) {
        return -1.0;
    }
    // This form, not the simpler (b² - a²) / (a² + b²), fixes the rounding of every value.
    return 2.0 * b * b / (a * a + b * b) - 1.0;
}
