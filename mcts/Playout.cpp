#include "mcts/Playout.h"

#include "tactics/BridgeIntrusion.h"
#include "tactics/PlayoutPatterns.h"

int Playout::run(PlayoutBoard& board, int toMove, int lastMove) {
    if (m_patterns != nullptr) {
        return runWeighted(board, toMove, lastMove);
    }
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
        int cell = forcedReply(board, last, player, count - placed);
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

int Playout::runWeighted(PlayoutBoard& board, int toMove, int lastMove) {
    m_weighted.reset(board, *m_patterns);
    int count = 0;
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        count += board.at(cell) == PlayoutBoard::empty ? 1 : 0;
    }
    int player = toMove;
    int last = lastMove;
    for (int placed = 0; placed < count; ++placed) {
        int cell = forcedReply(board, last, player, count - placed);
        if (cell < 0) {
            cell = m_weighted.draw(m_random, player);
        }
        m_weighted.place(board, cell, player);
        last = cell;
        player = 3 - player;
    }
    return board.connects(PlayoutBoard::player1) ? 1 : 2;
}

int Playout::forcedReply(const PlayoutBoard& board, int last, int player, int emptyLeft) {
    if (last < 0) {
        return -1;
    }
    const int cell = bridgeSave(board, last, player);
    // Past half full, a carrier of eight empty cells is too rare to look for.
    if (cell < 0 && m_templates && 2 * emptyLeft > board.size() * board.size()) {
        return templateSave(board, last, player);
    }
    return cell;
}

int Playout::bridgeSave(const PlayoutBoard& board, int move, int player) {
    const BridgeIntrusion found = findBridgeIntrusion(board, move, player);
    if (found.count == 0) {
        return -1;
    }
    return found.count == 1 ? found.saves[0] : found.saves[m_random.below(found.count)];
}

int Playout::templateSave(const PlayoutBoard& board, int move, int player) {
    if (!m_ziggurat || m_ziggurat->width() != board.width()) {
        m_ziggurat.emplace(board);
    }
    const Ziggurat::Answers found = m_ziggurat->answers(board, move, player);
    if (found.count == 0) {
        return -1;
    }
    return found.count == 1 ? found.cells[0] : found.cells[m_random.below(found.count)];
}
