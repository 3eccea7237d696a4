#include "tactics/VirtualConnections.h"

#include <algorithm>
#include <bit>

void VirtualConnections::compute(const PlayoutBoard& board, int player) {
    m_size = board.size();
    m_cells = m_size * m_size;
    m_words = (m_cells + 63) / 64;
    m_connected = false;
    m_winningCells.clear();
    m_threatCarrier.clear();
    m_winningCarrier.clear();
    m_winningKey = -1;
    m_mustPlay.fill(0);
    findGroups(board, player);
    if (m_connected) {
        return;
    }
    const auto rows = static_cast<std::size_t>(m_groups);
    const auto nodes = static_cast<std::size_t>(m_cells + m_groups);
    m_pairs.resize(std::max(m_pairs.size(), rows * nodes));
    for (std::size_t i = 0; i < rows * nodes; ++i) {
        m_pairs[i].full.clear();
        m_pairs[i].semi.clear();
        m_pairs[i].partners = false;
    }
    m_partners.resize(std::max(m_partners.size(), rows));
    for (std::size_t g = 0; g < rows; ++g) {
        m_partners[g].clear();
    }
    m_queue.clear();

    // Adjacency: every group is fully connected to the empty cells around it.
    const CellSet none{};
    for (int cell = 0; cell < m_cells; ++cell) {
        for (int k = 0; k < 6; ++k) {
            const int group = m_groupNext[static_cast<std::size_t>(cell * 6 + k)];
            if (group < 0) {
                break;
            }
            addFull(group, cell, none);
        }
    }
    // New full connections in the order found, so smaller carriers come first.
    for (std::size_t next = 0; next < m_queue.size(); ++next) {
        const NewFull full = m_queue[next];
        if (isGroup(full.other)) {
            andThroughGroup(full.other - m_cells, m_cells + full.group, full.carrier);
            andThroughGroup(full.group, full.other, full.carrier);
        } else {
            andThroughCell(full);
            andThroughGroup(full.group, full.other, full.carrier);
        }
    }
    finish();
}

// The player's groups of stones, each edge with the stones that touch it (groups 0 and 1),
// and the empty cells and groups next to every empty cell.
void VirtualConnections::findGroups(const PlayoutBoard& board, int player) {
    const int width = board.width();
    m_padded.resize(static_cast<std::size_t>(m_cells));
    m_groupOf.assign(static_cast<std::size_t>(width * width), -1);
    for (int cell = 0; cell < m_cells; ++cell) {
        m_padded[static_cast<std::size_t>(cell)] = board.index(cell / m_size, cell % m_size);
    }
    for (int index = 0; index < width * width; ++index) {
        const std::uint8_t value = board.at(index);
        if (value > PlayoutBoard::corner && (value & 3) == player) {
            m_groupOf[static_cast<std::size_t>(index)] = (value >> 3) & 1;
        }
    }
    m_groups = 2;
    std::vector<int>& stones = m_stack;
    for (const int start : m_padded) {
        if (board.at(start) != player || m_groupOf[static_cast<std::size_t>(start)] >= 0) {
            continue;
        }
        // Flood the group, noting the edges it touches.
        stones.assign(1, start);
        m_groupOf[static_cast<std::size_t>(start)] = m_groups;
        int edges = 0;
        for (std::size_t i = 0; i < stones.size(); ++i) {
            for (const int offset : board.ring()) {
                const int next = stones[i] + offset;
                const int group = m_groupOf[static_cast<std::size_t>(next)];
                if (group == 0 || group == 1) {
                    edges |= 1 << group;
                } else if (group < 0 && board.at(next) == player) {
                    m_groupOf[static_cast<std::size_t>(next)] = m_groups;
                    stones.push_back(next);
                }
            }
        }
        if (edges == 3) {
            m_connected = true;
            return;
        }
        if (edges != 0) {
            for (const int stone : stones) {
                m_groupOf[static_cast<std::size_t>(stone)] = edges == 1 ? 0 : 1;
            }
        } else {
            ++m_groups;
        }
    }
    m_emptyNext.assign(static_cast<std::size_t>(m_cells * 6), -1);
    m_groupNext.assign(static_cast<std::size_t>(m_cells * 6), -1);
    for (int cell = 0; cell < m_cells; ++cell) {
        const int index = m_padded[static_cast<std::size_t>(cell)];
        if (board.at(index) != PlayoutBoard::empty) {
            continue;
        }
        int empties = 0;
        int groups = 0;
        for (const int offset : board.ring()) {
            const int next = index + offset;
            const int group = m_groupOf[static_cast<std::size_t>(next)];
            int* slots = &m_groupNext[static_cast<std::size_t>(cell * 6)];
            if (group >= 0 && std::find(slots, slots + groups, group) == slots + groups) {
                slots[groups++] = group;
            } else if (board.at(next) == PlayoutBoard::empty) {
                const Hex::Coord place = board.coord(next);
                m_emptyNext[static_cast<std::size_t>(cell * 6 + empties++)] =
                    place.row * m_size + place.col;
            }
        }
    }
}

VirtualConnections::Pair& VirtualConnections::pair(int group, int node) {
    if (isGroup(node) && node - m_cells < group) {
        const int other = node - m_cells;
        node = m_cells + group;
        group = other;
    }
    return m_pairs[static_cast<std::size_t>(group * (m_cells + m_groups) + node)];
}

// Whether a connection of `node` with this carrier is not worth keeping: too large, or one of
// the pair's full connections needs no more.
bool VirtualConnections::redundant(int node, const Pair& vcs, const CellSet& carrier) const {
    if (!isGroup(node) && count(carrier) > maxCellCarrier) {
        return true;
    }
    return std::any_of(vcs.full.begin(), vcs.full.end(),
                       [&](const CellSet& known) { return subset(known, carrier); });
}

void VirtualConnections::addFull(int group, int node, const CellSet& carrier) {
    Pair& vcs = pair(group, node);
    if (redundant(node, vcs, carrier)) {
        return;
    }
    std::erase_if(vcs.full, [&](const CellSet& known) { return subset(carrier, known); });
    std::erase_if(vcs.semi, [&](const Semi& semi) { return subset(carrier, semi.carrier); });
    if (vcs.full.size() >= maxFull) {
        return;
    }
    if (!vcs.partners) {
        vcs.partners = true;
        m_partners[static_cast<std::size_t>(group)].push_back(node);
        if (isGroup(node)) {
            m_partners[static_cast<std::size_t>(node - m_cells)].push_back(m_cells + group);
        }
    }
    vcs.full.push_back(carrier);
    m_queue.push_back({group, node, carrier});
}

void VirtualConnections::addSemi(int group, int node, int key, const CellSet& carrier) {
    Pair& vcs = pair(group, node);
    if (redundant(node, vcs, carrier)) {
        return;
    }
    for (const Semi& known : vcs.semi) {
        if (subset(known.carrier, carrier)) {
            return;
        }
    }
    std::erase_if(vcs.semi, [&](const Semi& semi) { return subset(carrier, semi.carrier); });
    orRule(group, node, carrier, carrier, 0, 1);
    // The OR rule may have made a full connection within this carrier.
    const auto covers = [&](const CellSet& full) { return subset(full, carrier); };
    if (vcs.semi.size() < maxSemi && std::none_of(vcs.full.begin(), vcs.full.end(), covers)) {
        vcs.semi.push_back({carrier, key});
    }
}

// Semi-connections of one pair whose carriers have nothing in common make a full one: the
// other side cannot stop them all with one stone.
void VirtualConnections::orRule(int group, int node, const CellSet& common, const CellSet& all,
                                std::size_t from, int depth) {
    const Pair& vcs = pair(group, node);
    for (std::size_t i = from; i < vcs.semi.size(); ++i) {
        const CellSet& carrier = vcs.semi[i].carrier;
        const CellSet left = intersect(common, carrier);
        if (subset(common, left)) {
            continue;
        }
        if (empty(left)) {
            addFull(group, node, unite(all, carrier));
            return;
        }
        if (depth + 1 < maxOr) {
            orRule(group, node, left, unite(all, carrier), i + 1, depth + 1);
            if (pair(group, node).semi.size() <= i) {
                return;
            }
        }
    }
}

// A group's full connection to an empty cell, in series with the cell's other connections:
// a semi-connection keyed on that cell, to another group or to a neighbouring empty cell.
void VirtualConnections::andThroughCell(const NewFull& full) {
    const int cell = full.other;
    CellSet through = full.carrier;
    add(through, cell);
    for (int other = 0; other < m_groups; ++other) {
        if (other == full.group) {
            continue;
        }
        const Pair& vcs = pair(other, cell);
        for (std::size_t i = 0; i < vcs.full.size(); ++i) {
            if (disjoint(full.carrier, vcs.full[i])) {
                const CellSet carrier = unite(through, vcs.full[i]);
                addSemi(full.group, m_cells + other, cell, carrier);
            }
        }
    }
    for (int k = 0; k < 6; ++k) {
        const int next = m_emptyNext[static_cast<std::size_t>(cell * 6 + k)];
        if (next < 0) {
            break;
        }
        if (!has(full.carrier, next)) {
            addSemi(full.group, next, cell, through);
        }
    }
}

// A full connection `middle`-`end` in series with the middle group's other full connections
// (stones and edges join what touches them): full connections from `end` onwards. Two empty
// ends are not joined (cells connect only by adjacency).
void VirtualConnections::andThroughGroup(int middle, int end, const CellSet& carrier) {
    const bool endIsCell = !isGroup(end);
    const std::vector<int>& partners = m_partners[static_cast<std::size_t>(middle)];
    for (std::size_t p = 0; p < partners.size(); ++p) {
        const int other = partners[p];
        if (other == end || (endIsCell && !isGroup(other))) {
            continue;
        }
        const Pair& vcs = pair(middle, other);
        for (std::size_t i = 0; i < vcs.full.size(); ++i) {
            const CellSet second = vcs.full[i];
            if (!disjoint(carrier, second) || (endIsCell && has(second, end)) ||
                (!isGroup(other) && has(carrier, other))) {
                continue;
            }
            if (endIsCell) {
                addFull(other - m_cells, end, unite(carrier, second));
            } else {
                addFull(end - m_cells, other, unite(carrier, second));
            }
        }
    }
}

// The answers: the edges' full connection, their semi-connections' keys, and the cells common
// to all their carriers.
void VirtualConnections::finish() {
    const Pair& edges = pair(0, m_cells + 1);
    if (!edges.full.empty()) {
        m_connected = true;
        const CellSet* smallest = &edges.full.front();
        m_mustPlay = *smallest;
        for (const CellSet& carrier : edges.full) {
            m_mustPlay = intersect(m_mustPlay, carrier);
            smallest = count(carrier) < count(*smallest) ? &carrier : smallest;
        }
        listCells(*smallest, m_winningCells);
        m_threatCarrier = m_winningCells;
        m_winningCarrier = m_winningCells;
        m_winningKey = m_winningCells.empty() ? -1 : m_winningCells.front();
        return;
    }
    if (edges.semi.empty()) {
        return;
    }
    m_mustPlay = edges.semi.front().carrier;
    CellSet all{};
    const Semi* smallest = &edges.semi.front();
    for (const Semi& semi : edges.semi) {
        m_mustPlay = intersect(m_mustPlay, semi.carrier);
        all = unite(all, semi.carrier);
        smallest = count(semi.carrier) < count(smallest->carrier) ? &semi : smallest;
        const int key = m_padded[static_cast<std::size_t>(semi.key)];
        if (std::find(m_winningCells.begin(), m_winningCells.end(), key) == m_winningCells.end()) {
            m_winningCells.push_back(key);
        }
    }
    listCells(all, m_threatCarrier);
    listCells(smallest->carrier, m_winningCarrier);
    m_winningKey = m_padded[static_cast<std::size_t>(smallest->key)];
}

// The board indices of the set's cells.
void VirtualConnections::listCells(const CellSet& set, std::vector<int>& cells) const {
    cells.clear();
    for (int cell = 0; cell < m_cells; ++cell) {
        if (has(set, cell)) {
            cells.push_back(m_padded[static_cast<std::size_t>(cell)]);
        }
    }
}

bool VirtualConnections::mustPlay(int cell) const {
    if (!threatens()) {
        return true;
    }
    const int row = cell / (m_size + 2) - 1;
    const int col = cell % (m_size + 2) - 1;
    return has(m_mustPlay, row * m_size + col);
}

bool VirtualConnections::disjoint(const CellSet& a, const CellSet& b) const {
    for (int w = 0; w < m_words; ++w) {
        if ((a[static_cast<std::size_t>(w)] & b[static_cast<std::size_t>(w)]) != 0) {
            return false;
        }
    }
    return true;
}

bool VirtualConnections::subset(const CellSet& a, const CellSet& b) const {
    for (int w = 0; w < m_words; ++w) {
        if ((a[static_cast<std::size_t>(w)] & ~b[static_cast<std::size_t>(w)]) != 0) {
            return false;
        }
    }
    return true;
}

bool VirtualConnections::empty(const CellSet& a) const {
    for (int w = 0; w < m_words; ++w) {
        if (a[static_cast<std::size_t>(w)] != 0) {
            return false;
        }
    }
    return true;
}

int VirtualConnections::count(const CellSet& a) const {
    int total = 0;
    for (int w = 0; w < m_words; ++w) {
        total += std::popcount(a[static_cast<std::size_t>(w)]);
    }
    return total;
}

VirtualConnections::CellSet VirtualConnections::unite(const CellSet& a, const CellSet& b) const {
    CellSet result{};
    for (int w = 0; w < m_words; ++w) {
        result[static_cast<std::size_t>(w)] =
            a[static_cast<std::size_t>(w)] | b[static_cast<std::size_t>(w)];
    }
    return result;
}

VirtualConnections::CellSet VirtualConnections::intersect(const CellSet& a,
                                                          const CellSet& b) const {
    CellSet result{};
    for (int w = 0; w < m_words; ++w) {
        result[static_cast<std::size_t>(w)] =
            a[static_cast<std::size_t>(w)] & b[static_cast<std::size_t>(w)];
    }
    return result;
}
