#include "engine/PathFinder.h"

#include "engine/HexDistance.h"
#include "model/OffBoardException.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

// The open list is a heap with the smallest g + h on top.
bool greaterOnEstimate(double gA, double hA, double gB, double hB) {
    return gA + hA > gB + hB;
}

// Parent codes: the code of a cell reached from its parent is that of (cell - parent).
int parentCode(int dRow, int dCol) {
    if (dRow == 1) {
        return dCol == 0 ? 1 : 2;
    }
    if (dRow == -1) {
        return dCol == 0 ? 4 : 5;
    }
    return dCol == -1 ? 3 : 6;
}

// Stepping back from a cell by its parent code gives the parent; an unknown code stays put.
Hex::Coord stepBack(Hex::Coord cell, int code) {
    switch (code) {
    case 1:
        return {cell.row - 1, cell.col};
    case 2:
        return {cell.row - 1, cell.col + 1};
    case 3:
        return {cell.row, cell.col + 1};
    case 4:
        return {cell.row + 1, cell.col};
    case 5:
        return {cell.row + 1, cell.col - 1};
    case 6:
        return {cell.row, cell.col - 1};
    default:
        return cell;
    }
}

constexpr int neighbourOffsets[6][2] = {{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}};

} // namespace

PathFinder::PathFinder(std::uint32_t size, int direction, int colour)
    : m_cost(std::size_t{size} * size, 0.0), m_size(size), m_direction(direction), m_colour(colour),
      m_records(std::size_t{size} * size), m_features(std::size_t{size} * size, Features{}) {
    if (direction != 0 && direction != 1) {
        throw std::invalid_argument("PathFinder direction must be 0 or 1, not " +
                                    std::to_string(direction));
    }
    m_stones.reserve(m_records.size());
    m_open.reserve(m_records.size());
    m_closed.reserve(m_records.size());
}

void PathFinder::setBoard(const Hex::Board* board) {
    if (board == nullptr || board->size() != m_size) {
        throw std::invalid_argument("PathFinder of size " + std::to_string(m_size) +
                                    " needs a board of that size");
    }
    if (m_weights == nullptr) {
        throw std::invalid_argument("PathFinder weights must be set before a board");
    }
    m_board = board;
    setBaseCosts();
    listStones();
    const int n = static_cast<int>(m_size);
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            if (m_board->at(row, col) == 0) {
                addStoneInfluence(row, col);
            } else {
                m_cost[index(row, col)] = 0.0;
            }
            addBridges(row, col);
            double& cost = m_cost[index(row, col)];
            if (cost < 0.0) {
                cost = 0.0;
            }
        }
    }
}

// Cells away from the middle line that runs in the player's own direction cost more.
void PathFinder::setBaseCosts() {
    const int n = static_cast<int>(m_size);
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int along = alongOf(row, col);
            const int across = acrossOf(row, col);
            const int k = (n - along) / 2 + n / 4 - across;
            m_cost[index(row, col)] = 4.0 + 0.25 * std::abs(k);
            m_features[index(row, col)] = Features{};
        }
    }
}

void PathFinder::listStones() {
    m_stones.clear();
    const int n = static_cast<int>(m_size);
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int value = m_board->at(row, col);
            if (value != 0) {
                m_stones.push_back(Stone{row, col, value});
            }
        }
    }
}

// A stone ahead of or behind the cell in the player's own direction, to within half a cell,
// weighs fully; any other stone weighs a quarter, further divided by its distance.
void PathFinder::addStoneInfluence(int row, int col) {
    const Weights& weights = *m_weights;
    double& cost = m_cost[index(row, col)];
    Features& features = m_features[index(row, col)];
    for (const Stone& stone : m_stones) {
        const int d = hexDistance(stone.row, stone.col, row, col);
        const int dAlong = alongOf(stone.row, stone.col) - alongOf(row, col);
        const int dAcross = acrossOf(stone.row, stone.col) - acrossOf(row, col);
        const double w = std::abs(dAlong + 2 * dAcross) <= 1 ? 1.0 : 0.25 / d;
        const double squared = static_cast<double>(d * d);
        const std::size_t i = stone.value == m_colour ? 0 : 1;
        cost += weights[i] * w / squared;
        features[i] += w / squared;
    }
}

void PathFinder::addBridges(int row, int col) {
    const Weights& weights = *m_weights;
    const BridgeCounts bridges = countBridges(row, col);
    double& cost = m_cost[index(row, col)];
    Features& features = m_features[index(row, col)];
    cost += bridges.own * weights[2];
    cost += bridges.opposing * weights[3];
    features[2] += bridges.own;
    features[3] += bridges.opposing;
}

void PathFinder::checkOnBoard(const char* where, int row, int col) const {
    if (!(row >= 0 && col >= 0 && static_cast<std::uint32_t>(row) < m_size &&
          static_cast<std::uint32_t>(col) < m_size)) {
        throw Hex::OffBoardException(where, row, col, static_cast<std::int32_t>(m_size));
    }
}

double PathFinder::cost(int row, int col) const {
    checkOnBoard("PathFinder::cost", row, col);
    return m_cost[index(row, col)];
}

PathFinder::Features PathFinder::features(int row, int col) const {
    checkOnBoard("PathFinder::features", row, col);
    return m_features[index(row, col)];
}

PathFinder::BridgeCounts PathFinder::bridgeCounts(int row, int col) const {
    checkOnBoard("PathFinder::bridgeCounts", row, col);
    if (m_board == nullptr) {
        return {};
    }
    return countBridges(row, col);
}

// An empty ring cell between two equal stones (or edges) of the ring is the second cell of
// a bridge's carrier; this cell is the first.
PathFinder::BridgeCounts PathFinder::countBridges(int row, int col) const {
    if (m_board->at(row, col) != 0) {
        return {};
    }
    const auto read = [this](int r, int c) {
        return m_board->cell(static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(c));
    };
    const int ring[6] = {read(row - 1, col), read(row - 1, col + 1), read(row, col + 1),
                         read(row + 1, col), read(row + 1, col - 1), read(row, col - 1)};
    BridgeCounts counts;
    for (int j = 0; j < 6; ++j) {
        const int before = ring[(j + 5) % 6];
        const int after = ring[(j + 1) % 6];
        if (ring[j] == 0 && before == after && before != 0) {
            if (before == m_colour) {
                ++counts.own;
            } else {
                ++counts.opposing;
            }
        }
    }
    return counts;
}

PathFinder::Features PathFinder::sumFeatures(const Path& path) const {
    Features total{};
    for (const Hex::Coord cell : path.cells) {
        const Features cellFeatures = features(cell.row, cell.col);
        for (std::size_t k = 0; k < total.size(); ++k) {
            total[k] += cellFeatures[k];
        }
    }
    return total;
}

int PathFinder::heuristic(int row, int col, bool reverse) const {
    const int along = alongOf(row, col);
    return reverse ? along : static_cast<int>(m_size) - along;
}

std::vector<Hex::Coord> PathFinder::neighbours(int row, int col) const {
    std::vector<Hex::Coord> cells;
    const int n = static_cast<int>(m_size);
    for (const auto& offset : neighbourOffsets) {
        const int r = row + offset[0];
        const int c = col + offset[1];
        if (r >= 0 && r < n && c >= 0 && c < n && m_board->at(r, c) != otherColour()) {
            cells.push_back(Hex::Coord{r, c});
        }
    }
    return cells;
}

Path PathFinder::findPath(int start, bool reverse) {
    const int n = static_cast<int>(m_size);
    const auto greater = [](const OpenEntry& a, const OpenEntry& b) {
        return greaterOnEstimate(a.g, a.h, b.g, b.h);
    };
    // Step 1: fresh records and lists.
    std::fill(m_records.begin(), m_records.end(), SearchRecord{});
    m_open.clear();
    m_closed.clear();
    if (start < 0 || start >= n || m_board == nullptr) {
        return {};
    }
    // Steps 2 and 3: the start cell, unless the other player holds it.
    const int startAlong = reverse ? n - 1 : 0;
    const int goalAlong = reverse ? 0 : n - 1;
    const int startRow = m_direction == 0 ? startAlong : start;
    const int startCol = m_direction == 0 ? start : startAlong;
    if (m_board->at(startRow, startCol) == otherColour()) {
        return {};
    }
    // Step 4: the start entry is the whole open list.
    const OpenEntry first{startRow, startCol, 0.0,
                          static_cast<double>(heuristic(startRow, startCol, reverse))};
    SearchRecord& startRecord = m_records[index(startRow, startCol)];
    startRecord.f = first.h + first.g;
    startRecord.g = 0.0;
    m_open.push_back(first);
    // Step 5: best first until the goal edge is taken off the heap.
    bool reached = false;
    OpenEntry current;
    while (!m_open.empty()) {
        std::pop_heap(m_open.begin(), m_open.end(), greater);
        current = m_open.back();
        m_open.pop_back();
        m_records[index(current.row, current.col)].f = -1.0;
        m_closed.push_back(current);
        if (alongOf(current.row, current.col) == goalAlong) {
            reached = true;
            break;
        }
        for (const Hex::Coord next : neighbours(current.row, current.col)) {
            const double g = current.g + m_cost[index(next.row, next.col)];
            const double h = heuristic(next.row, next.col, reverse);
            SearchRecord& record = m_records[index(next.row, next.col)];
            const SearchRecord improved{parentCode(next.row - current.row, next.col - current.col),
                                        g + h, g};
            const auto sameCell = [next](const OpenEntry& e) {
                return e.row == next.row && e.col == next.col;
            };
            if (record.parent == 0) {
                record = improved;
                m_open.push_back(OpenEntry{next.row, next.col, g, h});
                std::push_heap(m_open.begin(), m_open.end(), greater);
            } else if (record.f < 0.0) {
                const auto found = std::find_if(m_closed.begin(), m_closed.end(), sameCell);
                if (found != m_closed.end() && g < found->g) {
                    record = improved;
                    m_closed.erase(found);
                    m_open.push_back(OpenEntry{next.row, next.col, g, h});
                    std::push_heap(m_open.begin(), m_open.end(), greater);
                }
            } else {
                const auto found = std::find_if(m_open.begin(), m_open.end(), sameCell);
                if (found != m_open.end() && g < found->g) {
                    record = improved;
                    found->g = g;
                    std::make_heap(m_open.begin(), m_open.end(), greater);
                }
            }
        }
    }
    if (!reached) {
        return {};
    }
    // Step 6: walk back from the goal to the first start-edge cell met.
    Path path;
    path.cost = current.g;
    Hex::Coord cell{current.row, current.col};
    while (alongOf(cell.row, cell.col) != startAlong) {
        path.cells.push_back(cell);
        cell = stepBack(cell, m_records[index(cell.row, cell.col)].parent);
    }
    path.cells.push_back(cell);
    return path;
}

std::vector<Path> PathFinder::bestPaths(std::size_t k) {
    const auto greater = [](const Path& a, const Path& b) { return a.cost > b.cost; };
    std::vector<Path> candidates;
    const int n = static_cast<int>(m_size);
    const auto offer = [&](Path path, int start) {
        if (!path.cells.empty() &&
            acrossOf(path.cells.back().row, path.cells.back().col) == start) {
            candidates.push_back(std::move(path));
            std::push_heap(candidates.begin(), candidates.end(), greater);
        }
    };
    for (int i = 0; i < n; ++i) {
        offer(findPath(i, false), i);
        offer(findPath(i, true), i);
    }
    std::vector<Path> result;
    while (result.size() < k && !candidates.empty()) {
        std::pop_heap(candidates.begin(), candidates.end(), greater);
        result.push_back(std::move(candidates.back()));
        candidates.pop_back();
    }
    return result;
}
