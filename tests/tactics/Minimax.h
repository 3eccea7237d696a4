#pragma once

#include "tactics/PlayoutBoard.h"

#include <cstdint>
#include <random>
#include <unordered_map>

// Plain negamax with a memo of the positions (the cells in base 3): whether the side to move
// wins. The reference that the tactics are checked against, on boards up to 5 x 5.
inline std::uint64_t minimaxKey(const PlayoutBoard& board, int toMove) {
    auto key = static_cast<std::uint64_t>(toMove);
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (board.at(cell) <= PlayoutBoard::player2) {
            key = key * 3 + board.at(cell);
        }
    }
    return key;
}

// A board of `stones` stones on random cells, Player 1's and Player 2's in turn.
inline PlayoutBoard randomPosition(std::mt19937& random, int size, int stones) {
    PlayoutBoard board(size);
    for (int placed = 0; placed < stones;) {
        const int cell =
            board.index(static_cast<int>(random() % size), static_cast<int>(random() % size));
        if (board.at(cell) == PlayoutBoard::empty) {
            board.set(cell, static_cast<std::uint8_t>(1 + placed++ % 2));
        }
    }
    return board;
}

class Minimax {
public:
    bool wins(PlayoutBoard& board, int toMove) {
        const std::uint64_t key = minimaxKey(board, toMove);
        if (const auto known = m_memo.find(key); known != m_memo.end()) {
            return known->second;
        }
        bool won = false;
        for (int cell = board.firstCell(); cell < board.endCell() && !won; ++cell) {
            if (board.at(cell) == PlayoutBoard::empty) {
                board.set(cell, static_cast<std::uint8_t>(toMove));
                won = board.connects(toMove) || !wins(board, 3 - toMove);
                board.set(cell, PlayoutBoard::empty);
            }
        }
        m_memo.emplace(key, won);
        return won;
    }

private:
    std::unordered_map<std::uint64_t, bool> m_memo;
};
