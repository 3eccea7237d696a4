#include "players/MoveBudget.h"

std::int32_t moveBudget(std::int32_t timeLimit, std::int32_t timeUsed, std::uint32_t n,
                        int moveNumber) {
    const auto movesLeft = static_cast<std::int32_t>(n * n / 2) - moveNumber;
    if (movesLeft <= 0) {
        return 0;
    }
    return 2 * ((timeLimit - timeUsed) / movesLeft);
}
