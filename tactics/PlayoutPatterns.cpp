#include "tactics/PlayoutPatterns.h"

#include <algorithm>
#include <cmath>

PlayoutPatterns::PlayoutPatterns(const PatternPrior& prior) : m_weights(PatternPrior::innerCodes) {
    for (std::size_t index = 0; index < m_weights.size(); ++index) {
        const double weight = std::round(prior.innerWeight(index) * scale);
        m_weights[index] = static_cast<std::uint16_t>(std::clamp(weight, 1.0, scale));
    }
    for (int toMove = 1; toMove <= 2; ++toMove) {
        const auto side = static_cast<std::size_t>(toMove - 1);
        for (int direction = 0; direction < 6; ++direction) {
            // Seen by Player 2 the board is reflected in its long diagonal, which turns
            // direction j into 5 - j.
            const int field = toMove == PlayoutBoard::player1 ? direction : 5 - direction;
            std::uint32_t power = 1;
            for (int j = 0; j < field; ++j) {
                power *= 6;
            }
            const auto d = static_cast<std::size_t>(direction);
            for (std::uint8_t value = 0; value < 16; ++value) {
                m_digits[side][value][d] =
                    static_cast<std::uint32_t>(PatternPrior::stateOf(value, toMove)) * power;
            }
        }
    }
}

std::uint32_t PlayoutPatterns::index(const PlayoutBoard& board, int cell, int toMove) const {
    const auto& digits = m_digits[static_cast<std::size_t>(toMove - 1)];
    const std::array<int, 6>& ring = board.ring();
    std::uint32_t index = 0;
    for (std::size_t j = 0; j < 6; ++j) {
        index += digits[board.at(cell + ring[j]) & 15U][j];
    }
    return index;
}
