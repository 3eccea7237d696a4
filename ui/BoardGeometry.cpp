#include "ui/BoardGeometry.h"

#include <algorithm>

namespace {

// The decimal factors of the layout, as written: the picture and the hit test must agree
// pixel for pixel, so neither may use a more exact value of sqrt(3).
constexpr double halfRoot3 = 0.866025;
constexpr double root3 = 1.73205;

int truncated(double value) {
    return static_cast<int>(value); // toward zero
}

} // namespace

BoardGeometry::BoardGeometry(Rect client, int n) : m_client(client), m_side(n) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (n >= 1) {
        const int sW = truncated(width / (root3 * (n + 2) + halfRoot3 * (n + 1)));
        const int sH = truncated(height / (1.5 * (n + 1) + 2.0));
        m_cellSize = std::max(0, std::min(sW, sH));
    }
    const int cx = (client.left + client.right) / 2;
    const int cy = (client.top + client.bottom) / 2;
    const double half = 0.5 * (n - 1) * m_cellSize;
    m_origin.x = truncated(cx - halfRoot3 * m_cellSize * (n - 1) - halfRoot3 * half);
    m_origin.y = truncated(cy - 1.5 * half);
}

BoardGeometry::Point BoardGeometry::cellCenter(int row, int col) const {
    const auto sRow = static_cast<double>(std::int64_t{m_cellSize} * row);
    const auto sCol = static_cast<double>(std::int64_t{m_cellSize} * col);
    // The additions run left to right, as in the layout.
    const double x = m_origin.x + halfRoot3 * sRow + root3 * sCol;
    const double y = m_origin.y + 1.5 * sRow;
    return Point{truncated(x), truncated(y)};
}

std::array<BoardGeometry::Point, 6> BoardGeometry::corners(Point center) const {
    const int s = m_cellSize;
    const int h = s / 2;
    const double w = halfRoot3 * s;
    const int left = truncated(center.x - w);
    const int right = truncated(center.x + w);
    return {Point{left, center.y - h},  Point{center.x, center.y - s}, Point{right, center.y - h},
            Point{right, center.y + h}, Point{center.x, center.y + s}, Point{left, center.y + h}};
}

std::array<int, 6> BoardGeometry::sideOwners(int row, int col, int n) {
    const bool top = row == 0;
    const bool bottom = row == n - 1;
    const bool left = col == 0;
    const bool right = col == n - 1;
    return {left ? 2 : noOwner,  top ? 1 : noOwner,    top ? 1 : (right ? 2 : noOwner),
            right ? 2 : noOwner, bottom ? 1 : noOwner, left ? 2 : (bottom ? 1 : noOwner)};
}

std::int64_t BoardGeometry::hitLimit() const {
    return (3 * std::int64_t{m_cellSize} * m_cellSize) / 4;
}

Hex::Coord BoardGeometry::cellFromPoint(int x, int y) const {
    std::int64_t best = -1;
    Hex::Coord candidate{m_side, m_side};
    for (int c = 0; c < m_side; ++c) {
        for (int r = 0; r < m_side; ++r) {
            const Point center = cellCenter(r, c);
            const std::int64_t dx = std::int64_t{x} - center.x;
            const std::int64_t dy = std::int64_t{y} - center.y;
            const std::int64_t d = dx * dx + dy * dy;
            if (best < 0 || d < best) {
                best = d;
                candidate = Hex::Coord{r, c};
            }
        }
    }
    if (best >= 0 && best < hitLimit()) {
        return candidate;
    }
    return Hex::Coord{m_side, m_side};
}
