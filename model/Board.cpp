#include "model/Board.h"

#include "model/OffBoardException.h"

namespace Hex {

namespace {

constexpr std::uint32_t ringBefore = static_cast<std::uint32_t>(-1);

// The six neighbour offsets in the order every search tries them.
constexpr int neighbourOffsets[6][2] = {{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}};

} // namespace

Board::Board(std::uint32_t size) : m_size(size), m_cells(std::size_t{size} * size, 0) {}

int Board::cell(std::uint32_t row, std::uint32_t col) const {
    const bool rowOnRing = row == ringBefore || row == m_size;
    const bool colOnRing = col == ringBefore || col == m_size;
    if (rowOnRing && col < m_size) {
        return 1;
    }
    if (colOnRing && row < m_size) {
        return 2;
    }
    if ((row == ringBefore && col == m_size) || (row == m_size && col == ringBefore)) {
        return 0;
    }
    if (!inBounds(row, col)) {
        throw OffBoardException("Board::cell get", static_cast<std::int32_t>(row),
                                static_cast<std::int32_t>(col), static_cast<std::int32_t>(m_size));
    }
    return m_cells[index(row, col)];
}

void Board::cell(std::uint32_t row, std::uint32_t col, int value) {
    if (!inBounds(row, col)) {
        throw OffBoardException("Board::cell set", static_cast<std::int32_t>(row),
                                static_cast<std::int32_t>(col), static_cast<std::int32_t>(m_size));
    }
    m_cells[index(row, col)] = value;
}

bool Board::isEmpty(std::uint32_t row, std::uint32_t col) const {
    if (!inBounds(row, col)) {
        throw OffBoardException("Board::isEmpty", static_cast<std::int32_t>(row),
                                static_cast<std::int32_t>(col), static_cast<std::int32_t>(m_size));
    }
    return m_cells[index(row, col)] == 0;
}

bool Board::isNeighbour(std::uint32_t r1, std::uint32_t c1, std::uint32_t r2,
                        std::uint32_t c2) const {
    if (!inBounds(r1, c1) || !inBounds(r2, c2)) {
        return false;
    }
    const std::int64_t dr = std::int64_t{r2} - r1;
    const std::int64_t dc = std::int64_t{c2} - c1;
    return dr != dc;
}

std::vector<Coord> Board::connectionFrom(int value, int direction, std::uint32_t start) const {
    // Breadth first from the start cell. Keeping a parent per cell instead of a copied chain
    // per queue entry finds the same chain: each cell is queued once, from the same parent.
    if (start >= m_size) {
        return {};
    }
    const int n = static_cast<int>(m_size);
    const int startRow = direction == 0 ? 0 : static_cast<int>(start);
    const int startCol = direction == 0 ? static_cast<int>(start) : 0;
    if (at(startRow, startCol) != value) {
        return {};
    }
    std::vector<int> parent(m_cells.size(), -1);
    std::vector<std::uint8_t> visited(m_cells.size(), 0);
    std::vector<int> queue;
    queue.reserve(m_cells.size());
    const int startIndex = startRow * n + startCol;
    queue.push_back(startIndex);
    visited[startIndex] = 1;

    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int current = queue[head];
        const int r = current / n;
        const int c = current % n;
        for (const auto& offset : neighbourOffsets) {
            const int nr = r + offset[0];
            const int nc = c + offset[1];
            if (nr < 0 || nr >= n || nc < 0 || nc >= n) {
                continue;
            }
            const int next = nr * n + nc;
            if (visited[next] || m_cells[next] != value) {
                continue;
            }
            const bool onFarEdge = direction == 0 ? nr == n - 1 : nc == n - 1;
            if (onFarEdge) {
                std::vector<Coord> chain;
                for (int step = current; step != -1; step = parent[step]) {
                    chain.push_back(Coord{step / n, step % n});
                }
                std::vector<Coord> ordered(chain.rbegin(), chain.rend());
                ordered.push_back(Coord{nr, nc});
                return ordered;
            }
            visited[next] = 1;
            parent[next] = current;
            queue.push_back(next);
        }
    }
    return {};
}

std::vector<Coord> Board::shortestConnection(int value, int direction) const {
    std::vector<Coord> best;
    for (std::uint32_t k = 0; k < m_size; ++k) {
        std::vector<Coord> chain = connectionFrom(value, direction, k);
        if (!chain.empty() && (best.empty() || chain.size() < best.size())) {
            best = std::move(chain);
        }
    }
    return best;
}

} // namespace Hex
