#include "engine/PathFinder.h"

#include "engine/OpenHeap.h"

#include "model/OffBoardException.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

// The parent code of a cell reached through each neighbour slot (DirectionTables'
// neighbourOffsets): the code of (cell - parent).
constexpr std::int32_t parentCodes[6] = {4, 5, 3, 6, 2, 1};

// Stepping back from a cell by its parent code gives the parent: the offset from the cell
// to its parent, per code. Code 0 (and any unknown code) stays put.
constexpr int backOffsets[7][2] = {{0, 0}, {-1, 0}, {-1, 1}, {0, 1}, {1, 0}, {1, -1}, {0, -1}};

struct GreaterOnCost {
    template <typename Entry>
    bool operator()(const Entry& a, const Entry& b) const {
        return a.cost > b.cost;
    }
};

} // namespace

PathFinder::PathFinder(std::uint32_t size, int direction, int colour)
    : m_cost(std::size_t{size} * size, 0.0), m_size(size), m_direction(direction), m_colour(colour),
      m_record(std::size_t{size} * size, 0), m_g(std::size_t{size} * size, -1.0),
      m_tables(size, direction) {
    if (direction != 0 && direction != 1) {
        throw std::invalid_argument("PathFinder direction must be 0 or 1, not " +
                                    std::to_string(direction));
    }
    const std::size_t cells = m_cost.size();
    for (std::vector<double>& plane : m_proximity) {
        plane.assign(cells, 0.0);
    }
    m_bridges.assign(cells, {0, 0});
    m_ring.assign((std::size_t{size} + 2) * (std::size_t{size} + 2), 0);
    m_blocked.assign(cells, 0);
    m_stones.reserve(cells);
    m_open.reserve(cells);
    m_steps.assign(cells, {});
    m_stepCount.assign(cells, 0);
    m_openSteps.assign(cells, {});
    m_openStepCount.assign(cells, 0);
    for (std::size_t cell = 0; cell < cells; ++cell) {
        makeSteps(cell, m_openSteps, m_openStepCount); // nothing is blocked yet
    }
    for (std::size_t reverse = 0; reverse < 2; ++reverse) {
        m_estimate[reverse].resize(cells);
        for (std::size_t cell = 0; cell < cells; ++cell) {
            const int along = m_tables.along[cell];
            m_estimate[reverse][cell] = reverse != 0 ? along : static_cast<int>(size) - along;
        }
    }
    m_candidates.reserve(2 * std::size_t{size});
    for (std::vector<double>& costs : m_stoneCost) {
        costs.assign(m_tables.stoneW.size(), 0.0);
    }
    for (int code = 0; code < 729; ++code) {
        int ring[6];
        for (int j = 0, rest = code; j < 6; ++j, rest /= 3) {
            ring[j] = rest % 3;
        }
        m_bridgesOfRing[static_cast<std::size_t>(code)] = countRing(ring, colour);
    }
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
    readBoard();
    std::copy(m_tables.baseCost.begin(), m_tables.baseCost.end(), m_cost.begin());
    for (std::vector<double>& plane : m_proximity) {
        std::fill(plane.begin(), plane.end(), 0.0);
    }
    updateStoneTerms();
    addStoneInfluence();
    finishCells();
}

// The stone list in row-major order, the cells the search may not enter, and the board with
// its border ring as Hex::Board::cell reads it.
void PathFinder::readBoard() {
    const int n = static_cast<int>(m_size);
    const std::size_t width = m_size + 2;
    for (std::size_t i = 1; i <= m_size; ++i) {
        m_ring[i] = 1;                        // row -1
        m_ring[(m_size + 1) * width + i] = 1; // row N
        m_ring[i * width] = 2;                // column -1
        m_ring[i * width + m_size + 1] = 2;   // column N
    }
    m_stones.clear();
    m_ringIsTernary = true;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int value = m_board->at(row, col);
            m_ringIsTernary = m_ringIsTernary && value >= 0 && value <= 2;
            const std::size_t cell = static_cast<std::size_t>(row * n + col);
            m_ring[(static_cast<std::size_t>(row) + 1) * width + static_cast<std::size_t>(col) +
                   1] = value;
            m_blocked[cell] = value == otherColour() ? 1 : 0;
            if (value != 0) {
                m_stones.push_back(Stone{row, col, value == m_colour ? 0u : 1u});
            }
        }
    }
    // The steps of an empty board, then those of the cells next to the other player's stones.
    std::copy(m_openSteps.begin(), m_openSteps.end(), m_steps.begin());
    std::copy(m_openStepCount.begin(), m_openStepCount.end(), m_stepCount.begin());
    for (const Stone& stone : m_stones) {
        const auto at = static_cast<std::size_t>(stone.row * n + stone.col);
        if (m_blocked[at] == 0) {
            continue;
        }
        for (const std::int32_t next : m_tables.neighbours[at]) {
            if (next >= 0) {
                makeSteps(static_cast<std::size_t>(next), m_steps, m_stepCount);
            }
        }
    }
}

// The neighbours of the cell that the search may enter, in the fixed order.
void PathFinder::makeSteps(std::size_t cell, std::vector<std::array<Step, 6>>& steps,
                           std::vector<std::uint8_t>& counts) const {
    std::uint8_t count = 0;
    for (std::size_t j = 0; j < 6; ++j) {
        const std::int32_t next = m_tables.neighbours[cell][j];
        if (next >= 0 && m_blocked[static_cast<std::size_t>(next)] == 0) {
            steps[cell][count++] = Step{next, parentCodes[j]};
        }
    }
    counts[cell] = count;
}

// weight[side] x w / d² per difference, computed as the cost map adds it. Only redone when
// the weights changed (the learning update changes them between moves).
void PathFinder::updateStoneTerms() {
    const Weights& weights = *m_weights;
    if (m_termsValid &&
        std::memcmp(m_termWeights.data(), weights.data(), sizeof m_termWeights) == 0) {
        return;
    }
    for (std::size_t side = 0; side < 2; ++side) {
        std::vector<double>& costs = m_stoneCost[side];
        for (std::size_t at = 0; at < costs.size(); ++at) {
            costs[at] = weights[side] * m_tables.stoneW[at] / m_tables.stoneSquared[at];
        }
        m_termWeights[side] = weights[side];
    }
    m_termsValid = true;
}

// Every stone's term is added to every cell, stone by stone in list order, so that each
// cell's sum is made in the same order as if the cells were visited one by one. Occupied
// cells get terms too; finishCells sets them back.
void PathFinder::addStoneInfluence() {
    const std::size_t n = m_size;
    for (const Stone& stone : m_stones) {
        const double* costTerms = m_stoneCost[stone.side].data();
        double* proximity = m_proximity[stone.side].data();
        for (std::size_t row = 0; row < n; ++row) {
            // The differences of (row, 0), (row, 1), ... from the stone follow each other.
            const std::size_t first =
                m_tables.difference(static_cast<int>(row) - stone.row, -stone.col);
            const double* rowCosts = costTerms + first;
            const double* rowFeatures = m_tables.stoneFeature.data() + first;
            double* costs = m_cost.data() + row * n;
            double* features = proximity + row * n;
            for (std::size_t col = 0; col < n; ++col) {
                costs[col] += rowCosts[col];
                features[col] += rowFeatures[col];
            }
        }
    }
}

// Occupied cells cost 0.0 and have no proximity; then every cell adds its bridges and is
// clamped at 0.0.
void PathFinder::finishCells() {
    const Weights& weights = *m_weights;
    m_costsComparable = true;
    for (std::size_t cell = 0; cell < m_cost.size(); ++cell) {
        double& cost = m_cost[cell];
        const Hex::Coord at = m_tables.coords[cell];
        if (m_board->at(at.row, at.col) != 0) {
            cost = 0.0;
            m_proximity[0][cell] = 0.0;
            m_proximity[1][cell] = 0.0;
        }
        const BridgeCounts bridges = countBridges(cell);
        cost += bridges.own * weights[2];
        cost += bridges.opposing * weights[3];
        m_bridges[cell] = {static_cast<std::int8_t>(bridges.own),
                           static_cast<std::int8_t>(bridges.opposing)};
        if (cost < 0.0) {
            cost = 0.0;
        }
        m_costsComparable = m_costsComparable && !std::isnan(cost);
    }
}

void PathFinder::checkOnBoard(const char* where, int row, int col) const {
    if (!(row >= 0 && col >= 0 && static_cast<std::uint32_t>(row) < m_size &&
          static_cast<std::uint32_t>(col) < m_size)) {
        throw Hex::OffBoardException(where, row, col, static_cast<std::int32_t>(m_size));
    }
}

double PathFinder::cost(int row, int col) const {
    checkOnBoard("PathFinder::cost", row, col);
    return m_cost[static_cast<std::size_t>(row) * m_size + static_cast<std::size_t>(col)];
}

PathFinder::Features PathFinder::features(int row, int col) const {
    checkOnBoard("PathFinder::features", row, col);
    const std::size_t cell = static_cast<std::size_t>(row) * m_size + static_cast<std::size_t>(col);
    return Features{m_proximity[0][cell], m_proximity[1][cell],
                    static_cast<double>(m_bridges[cell][0]),
                    static_cast<double>(m_bridges[cell][1])};
}

PathFinder::BridgeCounts PathFinder::bridgeCounts(int row, int col) const {
    checkOnBoard("PathFinder::bridgeCounts", row, col);
    if (m_board == nullptr) {
        return {};
    }
    return countBridges(static_cast<std::size_t>(row) * m_size + static_cast<std::size_t>(col));
}

// An empty ring cell between two equal stones (or edges) of the ring is the second cell of
// a bridge's carrier; this cell is the first.
PathFinder::BridgeCounts PathFinder::countBridges(std::size_t cell) const {
    const std::ptrdiff_t width = static_cast<std::ptrdiff_t>(m_size) + 2;
    const Hex::Coord at = m_tables.coords[cell];
    const std::int32_t* centre = m_ring.data() + (at.row + 1) * width + at.col + 1;
    if (*centre != 0) {
        return {};
    }
    // (row-1, col), (row-1, col+1), (row, col+1), (row+1, col), (row+1, col-1), (row, col-1)
    const int ring[6] = {centre[-width], centre[1 - width], centre[1],
                         centre[width],  centre[width - 1], centre[-1]};
    if (!m_ringIsTernary) {
        return countRing(ring, m_colour);
    }
    const int code =
        ring[0] + 3 * (ring[1] + 3 * (ring[2] + 3 * (ring[3] + 3 * (ring[4] + 3 * ring[5]))));
    return m_bridgesOfRing[static_cast<std::size_t>(code)];
}

PathFinder::BridgeCounts PathFinder::countRing(const int (&ring)[6], int colour) {
    BridgeCounts counts;
    for (int j = 0; j < 6; ++j) {
        const int before = ring[(j + 5) % 6];
        const int after = ring[(j + 1) % 6];
        if (ring[j] == 0 && before == after && before != 0) {
            if (before == colour) {
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
    checkOnBoard("PathFinder::neighbours", row, col);
    std::vector<Hex::Coord> cells;
    const std::size_t cell = static_cast<std::size_t>(row) * m_size + static_cast<std::size_t>(col);
    for (const std::int32_t next : m_tables.neighbours[cell]) {
        if (next >= 0 && (m_board == nullptr || m_blocked[static_cast<std::size_t>(next)] == 0)) {
            cells.push_back(m_tables.coords[static_cast<std::size_t>(next)]);
        }
    }
    return cells;
}

// Steps 1 to 5 of the search: true when a goal-edge cell was taken off the heap, which is
// then m_goal. m_start is the start cell.
bool PathFinder::search(int start, bool reverse) {
    const int n = static_cast<int>(m_size);
    std::fill(m_record.begin(), m_record.end(), std::uint8_t{0});
    m_open.clear();
    if (start < 0 || start >= n || m_board == nullptr) {
        return false;
    }
    const int startAlong = reverse ? n - 1 : 0;
    const int goalAlong = reverse ? 0 : n - 1;
    m_start = m_direction == 0 ? startAlong * n + start : start * n + startAlong;
    if (m_blocked[static_cast<std::size_t>(m_start)] != 0) {
        return false;
    }
    const double* estimate = m_estimate[reverse ? 1 : 0].data();
    m_g[static_cast<std::size_t>(m_start)] = 0.0;
    m_open.push_back(OpenEntry{estimate[m_start] + 0.0, m_start});
    while (!m_open.empty()) {
        const std::int32_t current = OpenHeap::pop(m_open).cell;
        const auto here = static_cast<std::size_t>(current);
        m_record[here] |= closedBit;
        if (m_tables.along[here] == goalAlong) {
            m_goal = current;
            return true;
        }
        const double currentG = m_g[here];
        const Step* steps = m_steps[here].data();
        const std::uint8_t stepCount = m_stepCount[here];
        for (std::uint8_t j = 0; j < stepCount; ++j) {
            const std::int32_t next = steps[j].cell;
            const auto at = static_cast<std::size_t>(next);
            const double g = currentG + m_cost[at];
            const double h = estimate[at];
            const std::uint8_t record = m_record[at];
            if ((record & parentBits) == 0) {
                // Reached for the first time; this includes the start cell.
                open(next, steps[j].code, g, h);
            } else if ((record & closedBit) != 0) {
                // Closed: compared with the cell's first closed entry, whose g is the record's,
                // except for the start cell, whose first entry is the start entry of g 0.0.
                if (g < (next == m_start ? 0.0 : m_g[at])) {
                    open(next, steps[j].code, g, h);
                }
            } else if (g < m_g[at]) {
                // Open: its entry is lowered and the heap rebuilt over the whole list.
                m_record[at] = static_cast<std::uint8_t>(steps[j].code);
                m_g[at] = g;
                const auto sameCell = [next](const OpenEntry& entry) { return entry.cell == next; };
                std::find_if(m_open.begin(), m_open.end(), sameCell)->f = g + h;
                OpenHeap::rebuild(m_open, m_costsComparable);
            }
        }
    }
    return false;
}

// Records the cell as reached with the given parent code, open, and pushes it.
void PathFinder::open(std::int32_t cell, std::int32_t code, double g, double h) {
    const auto at = static_cast<std::size_t>(cell);
    m_record[at] = static_cast<std::uint8_t>(code);
    m_g[at] = g;
    OpenHeap::push(m_open, OpenEntry{g + h, cell});
}

// Step 6: the cells from the goal back to the first start-edge cell met.
void PathFinder::walkBack(bool reverse, std::vector<Hex::Coord>& cells) const {
    const int startAlong = reverse ? static_cast<int>(m_size) - 1 : 0;
    cells.clear();
    Hex::Coord cell = m_tables.coords[static_cast<std::size_t>(m_goal)];
    while (alongOf(cell.row, cell.col) != startAlong) {
        cells.push_back(cell);
        const int code = m_record[static_cast<std::size_t>(cell.row) * m_size +
                                  static_cast<std::size_t>(cell.col)] &
                         parentBits;
        const int step = code >= 1 && code <= 6 ? code : 0;
        cell = Hex::Coord{cell.row + backOffsets[step][0], cell.col + backOffsets[step][1]};
    }
    cells.push_back(cell);
}

Path PathFinder::findPath(int start, bool reverse) {
    if (!search(start, reverse)) {
        return {};
    }
    Path path;
    path.cost = m_g[static_cast<std::size_t>(m_goal)];
    walkBack(reverse, path.cells);
    return path;
}

// Candidates stay in m_candidateCells, whose vectors keep their capacity from call to call;
// only the paths handed out are copied.
void PathFinder::findCandidates() {
    const GreaterOnCost greater;
    m_candidates.clear();
    std::size_t used = 0;
    const int n = static_cast<int>(m_size);
    for (int i = 0; i < n; ++i) {
        for (const bool reverse : {false, true}) {
            if (!search(i, reverse)) {
                continue;
            }
            if (used == m_candidateCells.size()) {
                m_candidateCells.emplace_back().reserve(m_cost.size());
            }
            std::vector<Hex::Coord>& cells = m_candidateCells[used];
            walkBack(reverse, cells);
            if (acrossOf(cells.back().row, cells.back().col) == i) {
                m_candidates.push_back(Candidate{m_g[static_cast<std::size_t>(m_goal)], used});
                std::push_heap(m_candidates.begin(), m_candidates.end(), greater);
                ++used;
            }
        }
    }
}

PathFinder::Candidate PathFinder::takeCheapest() {
    std::pop_heap(m_candidates.begin(), m_candidates.end(), GreaterOnCost{});
    const Candidate best = m_candidates.back();
    m_candidates.pop_back();
    return best;
}

std::vector<Path> PathFinder::bestPaths(std::size_t k) {
    findCandidates();
    std::vector<Path> result;
    result.reserve(std::min(k, m_candidates.size()));
    while (result.size() < k && !m_candidates.empty()) {
        const Candidate best = takeCheapest();
        result.push_back(Path{m_candidateCells[best.slot], best.cost});
    }
    return result;
}

// The candidates come off the heap cheapest first, so the cut is where the first one dearer
// than the limit comes off; nothing after it is taken.
void PathFinder::nearBestPaths(std::size_t k, std::vector<Path>& paths) {
    findCandidates();
    std::size_t count = 0;
    double limit = 0.0;
    while (count < k && !m_candidates.empty()) {
        const Candidate best = takeCheapest();
        if (count == 0) {
            limit = 1.25 * best.cost;
        } else if (best.cost > limit) {
            break;
        }
        if (count == paths.size()) {
            paths.emplace_back();
        }
        const std::vector<Hex::Coord>& cells = m_candidateCells[best.slot];
        paths[count].cells.assign(cells.begin(), cells.end());
        paths[count].cost = best.cost;
        ++count;
    }
    paths.resize(count);
}
