#include "engine/Playout.h"

int Playout::run(PlayoutBoard& board, int toMove, int lastMove) {
    int count = 0;
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (board.at(cell) == PlayoutBoard::empty) {
            m_empty[static_cast<std::size_t>(count++)] = static_cast<std::int16_t>(cell);
        }
    }
    // The list is drawn from without replacement; a cell that a bridge save filled out of
    // turn is still in it and is skipped when drawn. Every placed stone fills one of the
    // `count` empty cells, so a draw always finds an empty one.
    std::uint32_t left = static_cast<std::uint32_t>(count);
    int player = toMove;
    int last = lastMove;
    for (int placed = 0; placed < count; ++placed) {
        int cell = last >= 0 ? bridgeSave(board, last, player) : -1;
        while (cell < 0) {
            const std::uint32_t pick = m_random.below(left);
            const int drawn = m_empty[pick];
            m_empty[pick] = m_empty[--left];
            if (board.at(drawn) == PlayoutBoard::empty) {
                cell = drawn;
            }
        }
        board.set(cell, static_cast<std::uint8_t>(player));
        last = cell;
        player = 3 - player;
    }
    return board.connects(PlayoutBoard::player1) ? 1 : 2;
}

int Playout::bridgeSave(const PlayoutBoard& board, int move, int player) {
    // Bit j of `mine` and `empty` describes the neighbour in ring direction j. A carrier is
    // an empty neighbour whose two ring neighbours both belong to the player (a stone or an
    // edge of its own).
    const std::array<int, 6>& ring = board.ring();
    unsigned mine = 0;
    unsigned empty = 0;
    for (unsigned j = 0; j < 6; ++j) {
        const std::uint8_t value = board.at(move + ring[j]);
        mine |= static_cast<unsigned>((value & 3) == player) << j;
        empty |= static_cast<unsigned>(value == PlayoutBoard::empty) << j;
    }
    const unsigned before = ((mine << 1) | (mine >> 5)) & 63U; // bit j: neighbour j - 1 is mine
    const unsigned after = ((mine >> 1) | (mine << 5)) & 63U;  // bit j: neighbour j + 1 is mine
    unsigned carriers = empty & before & after;
    if (carriers == 0) {
        return -1;
    }
    // Carriers are never adjacent in the ring, so there are at most three.
    std::array<int, 3> saves{};
    std::uint32_t count = 0;
    for (unsigned j = 0; carriers != 0; ++j, carriers >>= 1) {
        if ((carriers & 1U) != 0) {
            saves[count++] = move + ring[j];
        }
    }
    return count == 1 ? saves[0] : saves[m_random.below(count)];
}
