#include "tactics/PlayoutBoard.h"

#include <cstring>

PlayoutBoard::PlayoutBoard(int size)
    : m_size(size), m_width(size + 2), m_ring{-m_width, -m_width + 1, 1, m_width, m_width - 1, -1} {
    for (int k = -1; k <= size; ++k) {
        set(index(-1, k), topEdge);
        set(index(size, k), bottomEdge);
        set(index(k, -1), leftEdge);
        set(index(k, size), rightEdge);
    }
    set(index(-1, -1), topEdge);
    set(index(size, size), bottomEdge);
    set(index(-1, size), corner);
    set(index(size, -1), corner);
}

PlayoutBoard::PlayoutBoard(const Hex::Board& board) : PlayoutBoard(static_cast<int>(board.size())) {
    for (int row = 0; row < m_size; ++row) {
        for (int col = 0; col < m_size; ++col) {
            set(index(row, col), static_cast<std::uint8_t>(board.at(row, col)));
        }
    }
}

Hex::Coord PlayoutBoard::coord(int cell) const {
    return Hex::Coord{cell / m_width - 1, cell % m_width - 1};
}

int PlayoutBoard::mirror(int cell) const {
    const Hex::Coord place = coord(cell);
    return index(place.col, place.row);
}

bool PlayoutBoard::connects(int player) {
    // A flood from the stones on the player's first edge, visited cells kept in `reached`
    // so that their marks can be cleared; it ends as soon as a stone touches the far edge.
    std::array<std::int16_t, maxCells> reached;
    int count = 0;
    const auto stone = static_cast<std::uint8_t>(player);
    const std::uint8_t farEdge = player == player1 ? bottomEdge : rightEdge;
    for (int k = 0; k < m_size; ++k) {
        const int cell = player == player1 ? index(0, k) : index(k, 0);
        if (at(cell) == stone) {
            set(cell, stone | visited);
            reached[static_cast<std::size_t>(count++)] = static_cast<std::int16_t>(cell);
        }
    }
    bool joined = false;
    for (int i = 0; i < count && !joined; ++i) {
        const int cell = reached[static_cast<std::size_t>(i)];
        for (const int offset : m_ring) {
            const int next = cell + offset;
            const std::uint8_t value = at(next);
            if (value == farEdge) {
                joined = true;
                break;
            }
            if (value == stone) {
                set(next, stone | visited);
                reached[static_cast<std::size_t>(count++)] = static_cast<std::int16_t>(next);
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        set(reached[static_cast<std::size_t>(i)], stone);
    }
    return joined;
}

void PlayoutBoard::copyFrom(const PlayoutBoard& other) {
    std::memcpy(m_cells.data(), other.m_cells.data(),
                static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_width));
}
