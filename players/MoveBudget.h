#pragma once

#include <chrono>
#include <cstdint>

// The computer players' time for one move, in whole seconds: twice the equal share of the
// time left (the whole-game limit minus the time used), spread over the stones the player is
// still expected to place (half the board's cells minus the move number). 0 or less means
// there is no time to search; a share of no moves left is 0, never a division by zero.
std::int32_t moveBudget(std::int32_t timeLimit, std::int32_t timeUsed, std::uint32_t n,
                        int moveNumber);

// The expert's think in a timed game: the move budget, doubled for each side's first two
// moves (the first stone, the swap decision and the answers to them decide most games) but
// then at most a quarter of the time left; and the extra time a close call may take, half
// the think. The shortest think when the budget leaves nothing.
struct ExpertThink {
    std::chrono::milliseconds time;
    std::chrono::milliseconds closeCallExtra;
};
ExpertThink expertThink(std::int32_t timeLimit, std::int32_t timeUsed, std::uint32_t n,
                        int moveNumber, std::chrono::milliseconds shortest);
