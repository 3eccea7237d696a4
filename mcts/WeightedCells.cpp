#include "mcts/WeightedCells.h"

#include "tactics/PlayoutPatterns.h"

void WeightedCells::reset(const PlayoutBoard& board, const PlayoutPatterns& patterns) {
    m_patterns = &patterns;
    const int size = board.size();
    if (m_width != board.width()) {
        m_width = board.width();
        m_ring = board.ring();
        for (int row = 0; row < size; ++row) {
            for (int col = 0; col < size; ++col) {
                m_rowOf[at(board.index(row, col))] = static_cast<std::uint8_t>(row);
            }
        }
    }
    for (int player = 1; player <= 2; ++player) {
        Side& side = m_sides[static_cast<std::size_t>(player - 1)];
        side.rowSums.fill(0);
        side.total = 0;
        for (int row = 0; row < size; ++row) {
            std::uint32_t sum = 0;
            for (int cell = board.index(row, 0); cell <= board.index(row, size - 1); ++cell) {
                std::uint32_t weight = 0;
                if (board.at(cell) == PlayoutBoard::empty) {
                    side.index[at(cell)] = patterns.index(board, cell, player);
                    weight = patterns.weight(side.index[at(cell)]);
                }
                side.weights[at(cell)] = weight;
                sum += weight;
            }
            side.rowSums[static_cast<std::size_t>(row)] = sum;
            side.total += sum;
        }
    }
}

void WeightedCells::setWeight(Side& side, int cell, std::uint32_t weight) {
    const std::size_t row = m_rowOf[at(cell)];
    const std::uint32_t old = side.weights[at(cell)];
    side.weights[at(cell)] = weight;
    side.rowSums[row] = side.rowSums[row] - old + weight;
    side.total = side.total - old + weight;
}

void WeightedCells::place(PlayoutBoard& board, int cell, int colour) {
    board.set(cell, static_cast<std::uint8_t>(colour));
    setWeight(m_sides[0], cell, 0);
    setWeight(m_sides[1], cell, 0);
    for (int j = 0; j < 6; ++j) {
        const int neighbour = cell + m_ring[static_cast<std::size_t>(j)];
        if (board.at(neighbour) != PlayoutBoard::empty) {
            continue;
        }
        for (int player = 1; player <= 2; ++player) {
            Side& side = m_sides[static_cast<std::size_t>(player - 1)];
            // Seen from the neighbour, the stone lies in the opposite direction.
            std::uint32_t& index = side.index[at(neighbour)];
            index += m_patterns->delta(player, colour, (j + 3) % 6);
            setWeight(side, neighbour, m_patterns->weight(index));
        }
    }
}

int WeightedCells::draw(FastRandom& random, int toMove) const {
    const Side& mover = side(toMove);
    std::uint32_t left = random.below(mover.total);
    int row = 0;
    while (left >= mover.rowSums[static_cast<std::size_t>(row)]) {
        left -= mover.rowSums[static_cast<std::size_t>(row)];
        ++row;
    }
    int cell = (row + 1) * m_width + 1;
    while (left >= mover.weights[at(cell)]) {
        left -= mover.weights[at(cell)];
        ++cell;
    }
    return cell;
}
