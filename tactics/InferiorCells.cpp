#include "tactics/InferiorCells.h"

namespace {

constexpr std::uint8_t firstEdge(int player) {
    return player == PlayoutBoard::player1 ? PlayoutBoard::topEdge : PlayoutBoard::leftEdge;
}

constexpr std::uint8_t secondEdge(int player) {
    return player == PlayoutBoard::player1 ? PlayoutBoard::bottomEdge : PlayoutBoard::rightEdge;
}

} // namespace

void InferiorCells::compute(const PlayoutBoard& board) {
    if (m_board.size() != board.size()) {
        m_board = PlayoutBoard(board.size());
    }
    m_board.copyFrom(board);
    for (const Fill& fill : m_fill) {
        m_filled[static_cast<std::size_t>(fill.cell)] = 0;
    }
    m_fill.clear();
    for (;;) {
        labelGroups(PlayoutBoard::player1);
        labelGroups(PlayoutBoard::player2);
        m_round.clear();
        // Each cell of a round is judged on the board before it; a stone only ever makes
        // another cell's verdict surer, so the whole round may be filled in at once.
        if (!findCells() && !findPairs()) {
            break;
        }
        for (const Fill& fill : m_round) {
            m_board.set(fill.cell, fill.player);
        }
        m_fill.insert(m_fill.end(), m_round.begin(), m_round.end());
    }
    m_winner = 0;
    if (!m_fill.empty()) {
        m_winner = m_board.connects(PlayoutBoard::player1)   ? PlayoutBoard::player1
                   : m_board.connects(PlayoutBoard::player2) ? PlayoutBoard::player2
                                                             : 0;
    }
}

void InferiorCells::apply(PlayoutBoard& board) const {
    for (const Fill& fill : m_fill) {
        if (board.at(fill.cell) == PlayoutBoard::empty) {
            board.set(fill.cell, fill.player);
        }
    }
}

void InferiorCells::remove(PlayoutBoard& board) const {
    for (const Fill& fill : m_fill) {
        board.set(fill.cell, PlayoutBoard::empty);
    }
}

// Groups touching the first edge are 0, the second 1 (a group touching both: 0), others 2 up.
void InferiorCells::labelGroups(int player) {
    Labels& labels = m_labels[static_cast<std::size_t>(player - 1)];
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        labels[static_cast<std::size_t>(cell)] = -1;
    }
    const auto stone = static_cast<std::uint8_t>(player);
    std::int16_t next = 2;
    for (int start = m_board.firstCell(); start < m_board.endCell(); ++start) {
        if (m_board.at(start) != stone || labels[static_cast<std::size_t>(start)] >= 0) {
            continue;
        }
        bool first = false;
        bool second = false;
        m_stack.assign(1, start);
        labels[static_cast<std::size_t>(start)] = next;
        for (std::size_t i = 0; i < m_stack.size(); ++i) {
            for (const int offset : m_board.ring()) {
                const int neighbour = m_stack[i] + offset;
                const std::uint8_t value = m_board.at(neighbour);
                first = first || value == firstEdge(player);
                second = second || value == secondEdge(player);
                if (value == stone && labels[static_cast<std::size_t>(neighbour)] < 0) {
                    labels[static_cast<std::size_t>(neighbour)] = next;
                    m_stack.push_back(neighbour);
                }
            }
        }
        const std::int16_t group = first ? 0 : second ? 1 : next++;
        for (const int cell : m_stack) {
            labels[static_cast<std::size_t>(cell)] = group;
        }
    }
}

// The group of the player's stone or edge on `cell`, or -1.
int InferiorCells::label(int cell, int player) const {
    const std::uint8_t value = m_board.at(cell);
    if (value == player) {
        return m_labels[static_cast<std::size_t>(player - 1)][static_cast<std::size_t>(cell)];
    }
    return value == firstEdge(player) ? 0 : value == secondEdge(player) ? 1 : -1;
}

// Whether the player's chains never need `cell`, with `except` (a neighbouring cell, or -1)
// taken by the other side: the neighbours left to the player are pairwise joined without it.
bool InferiorCells::neverNeeds(int cell, int player, int except) const {
    struct Neighbour {
        int place; // 0 to 5 round the cell
        int groupCount;
        std::array<int, 6> groups;
    };
    std::array<Neighbour, 6> open{};
    int count = 0;
    const std::array<int, 6>& ring = m_board.ring();
    for (int place = 0; place < 6; ++place) {
        const int neighbour = cell + ring[static_cast<std::size_t>(place)];
        if (neighbour == except) {
            continue;
        }
        Neighbour& entry = open[static_cast<std::size_t>(count)];
        entry.place = place;
        entry.groupCount = 0;
        if (m_board.at(neighbour) == PlayoutBoard::empty) {
            // An empty neighbour joins the groups it touches.
            for (const int offset : ring) {
                const int group =
                    neighbour + offset == cell ? -1 : label(neighbour + offset, player);
                if (group >= 0) {
                    entry.groups[static_cast<std::size_t>(entry.groupCount++)] = group;
                }
            }
        } else {
            const int group = label(neighbour, player);
            if (group < 0) {
                continue; // the other side's, or a corner
            }
            entry.groups[0] = group;
            entry.groupCount = 1;
        }
        ++count;
    }
    for (int a = 0; a < count; ++a) {
        for (int b = a + 1; b < count; ++b) {
            const Neighbour& x = open[static_cast<std::size_t>(a)];
            const Neighbour& y = open[static_cast<std::size_t>(b)];
            const int apart = y.place - x.place;
            if (apart == 1 || apart == 5) {
                continue; // neighbours of each other
            }
            bool joined = false;
            for (int i = 0; i < x.groupCount && !joined; ++i) {
                for (int j = 0; j < y.groupCount && !joined; ++j) {
                    joined = x.groups[static_cast<std::size_t>(i)] ==
                             y.groups[static_cast<std::size_t>(j)];
                }
            }
            if (!joined) {
                return false;
            }
        }
    }
    return true;
}

bool InferiorCells::findCells() {
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        if (m_board.at(cell) != PlayoutBoard::empty) {
            continue;
        }
        if (neverNeeds(cell, PlayoutBoard::player2, -1)) {
            add(cell, PlayoutBoard::player1);
        } else if (neverNeeds(cell, PlayoutBoard::player1, -1)) {
            add(cell, PlayoutBoard::player2);
        }
    }
    return !m_round.empty();
}

bool InferiorCells::findPairs() {
    const std::array<int, 6>& ring = m_board.ring();
    for (int a = m_board.firstCell(); a < m_board.endCell(); ++a) {
        // Up, up-right and right: each pair of neighbours once.
        for (std::size_t place = 0; place < 3 && m_board.at(a) == PlayoutBoard::empty; ++place) {
            const int b = a + ring[place];
            if (m_board.at(b) != PlayoutBoard::empty || filled(a) || filled(b)) {
                continue;
            }
            for (const int player : {PlayoutBoard::player1, PlayoutBoard::player2}) {
                const int other = 3 - player;
                if (neverNeeds(a, other, b) && neverNeeds(b, other, a)) {
                    add(a, player);
                    add(b, player);
                    break;
                }
            }
        }
    }
    return !m_round.empty();
}

void InferiorCells::add(int cell, int player) {
    m_round.push_back(Fill{cell, static_cast<std::uint8_t>(player)});
    m_filled[static_cast<std::size_t>(cell)] = 1;
}
