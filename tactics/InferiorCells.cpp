#include "tactics/InferiorCells.h"

#include <algorithm>

namespace {

constexpr std::uint8_t firstEdge(int player) {
    return player == PlayoutBoard::player1 ? PlayoutBoard::topEdge : PlayoutBoard::leftEdge;
}

constexpr std::uint8_t secondEdge(int player) {
    return player == PlayoutBoard::player1 ? PlayoutBoard::bottomEdge : PlayoutBoard::rightEdge;
}

} // namespace

void InferiorCells::compute(const PlayoutBoard& board) {
    start(board);
    std::fill(m_dirty.begin(), m_dirty.end(), static_cast<std::uint8_t>(cellDirty | pairDirty));
    labelGroups(PlayoutBoard::player1);
    labelGroups(PlayoutBoard::player2);
    fillRounds();
}

// The stone on `lastMove` is taken as a round of its own on the board before it, which had
// nothing to fill: only what that round changed is judged again.
void InferiorCells::computeAfter(const PlayoutBoard& board, int lastMove) {
    start(board);
    const std::uint8_t stone = m_board.at(lastMove);
    m_board.set(lastMove, PlayoutBoard::empty);
    labelGroups(PlayoutBoard::player1);
    labelGroups(PlayoutBoard::player2);
    m_board.set(lastMove, stone);
    std::fill(m_dirty.begin(), m_dirty.end(), std::uint8_t{0});
    m_round.assign(1, Fill{lastMove, stone});
    relabel();
    fillRounds();
}

void InferiorCells::start(const PlayoutBoard& board) {
    if (m_board.size() != board.size()) {
        m_board = PlayoutBoard(board.size());
    }
    m_board.copyFrom(board);
    for (const Fill& fill : m_fill) {
        m_filled[static_cast<std::size_t>(fill.cell)] = 0;
    }
    m_fill.clear();
    clearKillers();
}

void InferiorCells::fillRounds() {
    for (;;) {
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
        relabel();
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
    m_groupCount[static_cast<std::size_t>(player - 1)] = next;
    // The ring too, so that label() is one read: the player's edges are its groups 0 and 1.
    const int width = m_board.width();
    const int last = m_board.size() + 1;
    const auto edge = [&](int cell) {
        const std::uint8_t value = m_board.at(cell);
        labels[static_cast<std::size_t>(cell)] = value == firstEdge(player)    ? 0
                                                 : value == secondEdge(player) ? 1
                                                                               : -1;
    };
    for (int i = 0; i < width; ++i) {
        edge(i);
        edge(last * width + i);
    }
    for (int row = 1; row < last; ++row) {
        edge(row * width);
        edge(row * width + last);
    }
}

// The group of the player's stone or edge on `cell`, or -1.
int InferiorCells::label(int cell, int player) const {
    return m_labels[static_cast<std::size_t>(player - 1)][static_cast<std::size_t>(cell)];
}

// Whether the player's chains never need `cell`, with `except` (a neighbouring cell, or -1)
// taken by the other side: the neighbours left to the player are pairwise joined without it.
bool InferiorCells::neverNeeds(int cell, int player, int except) const {
    return unjoinedCore(cell, player, except, true) == allPlaces;
}

// The places round `cell` (bit j for ring direction j) that every pair of the neighbours left
// to the player that are not joined without the cell includes: allPlaces when all are joined,
// so that losing the neighbour on any of these places would leave the cell unneeded.
// `firstOnly` gives up (0) at the first pair not joined.
unsigned InferiorCells::unjoinedCore(int cell, int player, int except, bool firstOnly) const {
    const std::array<int, 6>& ring = m_board.ring();
    std::array<int, 6> places{}; // of the neighbours left to the player, 0 to 5 round the cell
    int count = 0;
    for (int place = 0; place < 6; ++place) {
        const int neighbour = cell + ring[static_cast<std::size_t>(place)];
        const std::uint8_t value = m_board.at(neighbour);
        if (neighbour != except && (value == PlayoutBoard::empty || value == player ||
                                    value == firstEdge(player) || value == secondEdge(player))) {
            places[static_cast<std::size_t>(count++)] = place;
        }
    }
    // The groups that each neighbour joins, read when first needed: most cells fail at their
    // first pair.
    std::array<std::array<int, 6>, 6> groups; // written before read
    std::array<int, 6> groupCount{};
    std::array<bool, 6> read{};
    const auto groupsOf = [&](int k) {
        if (!read[static_cast<std::size_t>(k)]) {
            read[static_cast<std::size_t>(k)] = true;
            auto& list = groups[static_cast<std::size_t>(k)];
            int& n = groupCount[static_cast<std::size_t>(k)];
            const int neighbour =
                cell + ring[static_cast<std::size_t>(places[static_cast<std::size_t>(k)])];
            if (m_board.at(neighbour) != PlayoutBoard::empty) {
                list[static_cast<std::size_t>(n++)] = label(neighbour, player);
            } else {
                // An empty neighbour joins the groups it touches.
                for (const int offset : ring) {
                    const int group =
                        neighbour + offset == cell ? -1 : label(neighbour + offset, player);
                    if (group >= 0) {
                        list[static_cast<std::size_t>(n++)] = group;
                    }
                }
            }
        }
        return k;
    };
    unsigned core = allPlaces;
    for (int a = 0; a < count; ++a) {
        for (int b = a + 1; b < count; ++b) {
            const int placeA = places[static_cast<std::size_t>(a)];
            const int placeB = places[static_cast<std::size_t>(b)];
            if (placeB - placeA == 1 || placeB - placeA == 5) {
                continue; // neighbours of each other
            }
            const auto& x = groups[static_cast<std::size_t>(groupsOf(a))];
            const auto& y = groups[static_cast<std::size_t>(groupsOf(b))];
            bool joined = false;
            for (int i = 0; i < groupCount[static_cast<std::size_t>(a)] && !joined; ++i) {
                for (int j = 0; j < groupCount[static_cast<std::size_t>(b)] && !joined; ++j) {
                    joined = x[static_cast<std::size_t>(i)] == y[static_cast<std::size_t>(j)];
                }
            }
            if (!joined) {
                core &= firstOnly ? 0U : (1U << placeA) | (1U << placeB);
                if (core == 0) {
                    return 0;
                }
            }
        }
    }
    return core;
}

bool InferiorCells::findCells() {
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        std::uint8_t& dirty = m_dirty[static_cast<std::size_t>(cell)];
        if ((dirty & cellDirty) == 0) {
            continue; // judged before, and nothing it depends on has changed since
        }
        dirty &= static_cast<std::uint8_t>(~cellDirty);
        // A cell with fewer than two stones or edges round it is needed by both (or so
        // rarely not that it is not worth the look).
        if (m_board.at(cell) != PlayoutBoard::empty || occupiedAround(cell) < 2) {
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
            if (m_board.at(b) != PlayoutBoard::empty || filled(a) || filled(b) ||
                ((m_dirty[static_cast<std::size_t>(a)] | m_dirty[static_cast<std::size_t>(b)]) &
                 pairDirty) == 0) {
                continue;
            }
            // Only a pair beside a stone or edge of the capturer is looked at (one of the two
            // cells next to both is the capturer's): elsewhere both sides nearly always need it.
            const int side1 = m_board.at(a + ring[(place + 5) % 6]) & 3;
            const int side2 = m_board.at(a + ring[place + 1]) & 3;
            for (const int player : {PlayoutBoard::player1, PlayoutBoard::player2}) {
                const int other = 3 - player;
                if ((side1 == player || side2 == player) && neverNeeds(a, other, b) &&
                    neverNeeds(b, other, a)) {
                    add(a, player, true);
                    add(b, player, true);
                    break;
                }
            }
        }
    }
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        m_dirty[static_cast<std::size_t>(cell)] &= static_cast<std::uint8_t>(~pairDirty);
    }
    return !m_round.empty();
}

// A verdict reads the cells within two steps of the judged cell (of a pair, of either) and
// which of the stones and edges there share a group. After a round, only the cells near a
// new stone, or near a group that a new stone joined to another, can be judged otherwise.
void InferiorCells::relabel() {
    bool everyCell = false;
    for (const int player : {PlayoutBoard::player1, PlayoutBoard::player2}) {
        const auto p = static_cast<std::size_t>(player - 1);
        const int oldCount = m_groupCount[p];
        std::copy(m_labels[p].begin() + m_board.firstCell(),
                  m_labels[p].begin() + m_board.endCell(),
                  m_oldLabels.begin() + m_board.firstCell());
        labelGroups(player);
        everyCell = everyCell || !markJoinedGroups(player, std::max(oldCount, m_groupCount[p]));
    }
    if (everyCell) {
        std::fill(m_dirty.begin(), m_dirty.end(), static_cast<std::uint8_t>(cellDirty | pairDirty));
        return;
    }
    for (const Fill& fill : m_round) {
        markAround(fill.cell);
    }
}

// Marks the cells round every stone of the player whose group was joined to another in the
// last round, but for the stones of the largest group of each join (edges count as largest).
// False when the player's two edge groups were joined: then every cell is to be judged again.
bool InferiorCells::markJoinedGroups(int player, int labelCount) {
    const Labels& labels = m_labels[static_cast<std::size_t>(player - 1)];
    const auto count = static_cast<std::size_t>(labelCount);
    std::fill(m_firstOld.begin(), m_firstOld.begin() + static_cast<std::ptrdiff_t>(count), -1);
    std::fill(m_kept.begin(), m_kept.begin() + static_cast<std::ptrdiff_t>(count), -1);
    std::fill(m_oldSize.begin(), m_oldSize.begin() + static_cast<std::ptrdiff_t>(count), 0);
    std::fill(m_joined.begin(), m_joined.begin() + static_cast<std::ptrdiff_t>(count), 0);
    m_firstOld[0] = 0; // the edges belong to their groups
    m_firstOld[1] = 1;
    bool any = false;
    const auto stone = static_cast<std::uint8_t>(player);
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        const std::int16_t old = m_oldLabels[static_cast<std::size_t>(cell)];
        if (m_board.at(cell) != stone || old < 0) {
            continue; // empty, the other side's, or new this round
        }
        const auto group = static_cast<std::size_t>(labels[static_cast<std::size_t>(cell)]);
        ++m_oldSize[static_cast<std::size_t>(old)];
        if (m_firstOld[group] < 0) {
            m_firstOld[group] = old;
        } else if (m_firstOld[group] != old) {
            if (old <= 1 && group <= 1) {
                return false; // both edges' groups
            }
            m_joined[group] = 1;
            any = true;
        }
    }
    if (!any) {
        return true;
    }
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        const std::int16_t old = m_oldLabels[static_cast<std::size_t>(cell)];
        if (m_board.at(cell) != stone || old < 0) {
            continue;
        }
        const auto group = static_cast<std::size_t>(labels[static_cast<std::size_t>(cell)]);
        std::int16_t& kept = m_kept[group];
        if (m_joined[group] != 0 && group > 1 &&
            (kept < 0 || m_oldSize[static_cast<std::size_t>(old)] >
                             m_oldSize[static_cast<std::size_t>(kept)])) {
            kept = old;
        }
    }
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        const std::int16_t old = m_oldLabels[static_cast<std::size_t>(cell)];
        if (m_board.at(cell) != stone || old < 0) {
            continue;
        }
        const auto group = static_cast<std::size_t>(labels[static_cast<std::size_t>(cell)]);
        const std::int16_t kept = group <= 1 ? static_cast<std::int16_t>(group) : m_kept[group];
        if (m_joined[group] != 0 && old != kept) {
            markAround(cell);
        }
    }
    return true;
}

void InferiorCells::markAround(int cell) {
    if (m_radius2Width != m_board.width()) {
        m_radius2Width = m_board.width();
        m_radius2.clear();
        m_radius2.push_back(0);
        for (const int a : m_board.ring()) {
            for (const int b : m_board.ring()) {
                for (const int offset : {a, a + b}) {
                    if (std::find(m_radius2.begin(), m_radius2.end(), offset) == m_radius2.end()) {
                        m_radius2.push_back(offset);
                    }
                }
            }
        }
    }
    for (const int offset : m_radius2) {
        const int near = cell + offset;
        if (near >= m_board.firstCell() && near < m_board.endCell()) {
            m_dirty[static_cast<std::size_t>(near)] = cellDirty | pairDirty;
        }
    }
}

void InferiorCells::clearKillers() {
    for (const int cell : m_killed) {
        m_killer[static_cast<std::size_t>(cell)] = 0;
        m_killedBy[static_cast<std::size_t>(cell)] = 0;
    }
    m_killed.clear();
    m_killerCount = 0;
}

void InferiorCells::findKillers(int player) {
    clearKillers();
    const std::array<int, 6>& ring = m_board.ring();
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        // The killer's stone and one more round the cell at least, as for the fill-in.
        if (m_board.at(cell) != PlayoutBoard::empty || occupiedAround(cell) < 1) {
            continue;
        }
        // The other side's stone on the neighbour would leave the cell dead to the player, or
        // the player's own would capture it.
        unsigned places =
            unjoinedCore(cell, player, -1, false) | unjoinedCore(cell, 3 - player, -1, false);
        for (unsigned j = 0; j < 6; ++j) {
            if (m_board.at(cell + ring[j]) != PlayoutBoard::empty) {
                places &= ~(1U << j);
            }
        }
        if (places != 0) {
            m_killedBy[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(places);
            m_killed.push_back(cell);
        }
    }
    // Only a killer that nothing kills is kept as one: a cell and its killer may kill each
    // other, and one of them must stay to be played.
    for (const int cell : m_killed) {
        for (unsigned j = 0; j < 6; ++j) {
            const int neighbour = cell + ring[j];
            if ((m_killedBy[static_cast<std::size_t>(cell)] >> j & 1U) != 0 &&
                m_killedBy[static_cast<std::size_t>(neighbour)] == 0) {
                m_killer[static_cast<std::size_t>(cell)] = static_cast<std::int16_t>(neighbour + 1);
                ++m_killerCount;
                break;
            }
        }
    }
}

int InferiorCells::occupiedAround(int cell) const {
    int occupied = 0;
    for (const int offset : m_board.ring()) {
        occupied += m_board.at(cell + offset) != PlayoutBoard::empty ? 1 : 0;
    }
    return occupied;
}

void InferiorCells::add(int cell, int player, bool pair) {
    m_round.push_back(Fill{cell, static_cast<std::uint8_t>(player), pair});
    m_filled[static_cast<std::size_t>(cell)] = 1;
}
