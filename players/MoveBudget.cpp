#include "players/MoveBudget.h"

#include <algorithm>

std::int32_t moveBudget(std::int32_t timeLimit, std::int32_t timeUsed, std::uint32_t n,
                        int moveNumber) {
    const auto movesLeft = static_cast<std::int32_t>(n * n / 2) - moveNumber;
    if (movesLeft <= 0) {
        return 0;
    }
    return 2 * ((timeLimit - timeUsed) / movesLeft);
}

ExpertThink expertThink(std::int32_t timeLimit, std::int32_t timeUsed, std::uint32_t n,
                        int moveNumber, std::chrono::milliseconds shortest) {
    using std::chrono::milliseconds;
    const std::int32_t budget = moveBudget(timeLimit, timeUsed, n, moveNumber);
    if (budget <= 0) {
        return {shortest, milliseconds(0)};
    }
    milliseconds time = std::chrono::seconds(budget);
    if (moveNumber < 4) {
        const milliseconds quarterLeft = std::chrono::seconds(timeLimit - timeUsed) / 4;
        time = std::max(time, std::min(2 * time, quarterLeft));
    }
    return {time, time / 2};
}
