#include "tactics/EdgeReach.h"

#include <algorithm>

void EdgeReach::compute(const PlayoutBoard& board, int player) {
    m_player = player;
    m_winning.clear();
    m_touching.clear();
    const auto cells = static_cast<std::size_t>(board.width() * board.width());
    std::fill_n(m_marks.begin(), cells, std::uint8_t{0});
    const int n = board.size();
    const bool first = player == PlayoutBoard::player1;
    // The cells next to the first edge are row 0 (Player 1) or column 0 (Player 2).
    for (int k = 0; k < n; ++k) {
        flood(board, first ? board.index(0, k) : board.index(k, 0), firstSide);
        flood(board, first ? board.index(n - 1, k) : board.index(k, n - 1), farSide);
    }
    const std::uint8_t firstEdge = first ? PlayoutBoard::topEdge : PlayoutBoard::leftEdge;
    const std::uint8_t farEdge = first ? PlayoutBoard::bottomEdge : PlayoutBoard::rightEdge;
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (board.at(cell) != PlayoutBoard::empty) {
            continue;
        }
        std::uint8_t touches = 0;
        for (const int offset : board.ring()) {
            const int next = cell + offset;
            const std::uint8_t value = board.at(next);
            touches |= value == player ? m_marks[static_cast<std::size_t>(next)] : 0;
            touches |= value == firstEdge ? firstSide : 0;
            touches |= value == farEdge ? farSide : 0;
        }
        m_marks[static_cast<std::size_t>(cell)] = touches;
        if (touches == (firstSide | farSide)) {
            m_winning.push_back(cell);
        } else if (touches != 0) {
            m_touching.push_back(cell);
        }
    }
}

// Marks the player's group at `start` (if a stone of the player is there) as reaching `side`.
void EdgeReach::flood(const PlayoutBoard& board, int start, std::uint8_t side) {
    const auto reach = [&](int cell) {
        auto& mark = m_marks[static_cast<std::size_t>(cell)];
        if (board.at(cell) == m_player && (mark & side) == 0) {
            mark |= side;
            m_queue.push_back(cell);
        }
    };
    m_queue.clear();
    reach(start);
    for (std::size_t i = 0; i < m_queue.size(); ++i) {
        const int cell = m_queue[i];
        for (const int offset : board.ring()) {
            reach(cell + offset);
        }
    }
}

bool EdgeReach::firstVisit(int cell) {
    auto& seen = m_seen[static_cast<std::size_t>(cell)];
    if (seen == m_generation) {
        return false;
    }
    seen = m_generation;
    return true;
}

void EdgeReach::winningAfter(const PlayoutBoard& board, int cell, std::vector<int>& cells) {
    cells.clear();
    if (++m_generation == 0) { // wrapped: no stale generation may match
        m_seen.fill(0);
        m_generation = 1;
    }
    // The stone joins the groups next to it that reach no edge; with them it touches the
    // edge that `cell` touches. The new winning cells are the empty neighbours of that
    // region that touch the other edge.
    const std::uint8_t other = (firstSide | farSide) & ~m_marks[static_cast<std::size_t>(cell)];
    m_queue.clear();
    m_queue.push_back(cell);
    firstVisit(cell);
    for (std::size_t i = 0; i < m_queue.size(); ++i) {
        for (const int offset : board.ring()) {
            const int next = m_queue[i] + offset;
            const std::uint8_t value = board.at(next);
            if (value == m_player && m_marks[static_cast<std::size_t>(next)] == 0 &&
                firstVisit(next)) {
                m_queue.push_back(next);
            } else if (value == PlayoutBoard::empty &&
                       (m_marks[static_cast<std::size_t>(next)] & other) != 0 && firstVisit(next)) {
                cells.push_back(next);
            }
        }
    }
}
