#pragma once

#include "model/Coord.h"

#include <array>
#include <cstdint>

// Where the cells of an N x N board lie in a view's client area: the hexagon size, the
// board's origin, each cell's centre and corners, and the cell under a point. Drawing and
// hit testing both read one geometry, so the picture and the clicks always agree.
//
// The board is a rhombus of pointy-topped hexagons; row 0 is the top row and each further
// row lies one step lower and half a cell further right. Pixel positions are integers with
// (0, 0) at the top-left corner of the client area.
class BoardGeometry {
public:
    struct Point {
        int x = 0;
        int y = 0;

        friend bool operator==(const Point&, const Point&) = default;
    };

    // A client rectangle; right and bottom lie just outside it.
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;

        friend bool operator==(const Rect&, const Rect&) = default;
    };

    // Owner of a cell side: nobody, or the player whose edge the side belongs to.
    static constexpr int noOwner = 0;

    BoardGeometry() = default;
    // Lays out a board of side n centred in client, leaving room for one ring of labels.
    BoardGeometry(Rect client, int n);

    Rect client() const { return m_client; }
    int boardSide() const { return m_side; }
    // s, the hexagon's circumradius (centre to corner) in pixels; 0 when the area is tiny.
    int cellSize() const { return m_cellSize; }
    // The centre of cell (0, 0).
    Point origin() const { return m_origin; }

    // The centre of (row, col); rows and columns -1 and n are the label ring.
    Point cellCenter(int row, int col) const;

    // The corners P0..P5 of the hexagon centred at center, clockwise from the upper end of
    // the left vertical side. Side k runs from P(k-1) to Pk, side 0 from P5 to P0: 0 is the
    // left vertical side, 1 upper-left, 2 upper-right, 3 right vertical, 4 lower-right and
    // 5 lower-left.
    std::array<Point, 6> corners(Point center) const;

    // The owner of each side of cell (row, col) on an n x n board: Player 1 owns the top and
    // bottom edges, Player 2 the left and right edges. Of the two acute corners, the shared
    // side goes to Player 1 at the top right and to Player 2 at the bottom left.
    static std::array<int, 6> sideOwners(int row, int col, int n);

    // The squared radius of the circle inscribed in a hexagon, rounded down.
    std::int64_t hitLimit() const;

    // The cell whose inscribed circle holds (x, y) strictly inside, or (n, n) for a point on
    // no cell. Of cells at equal distance the lower column, then the lower row, is taken.
    Hex::Coord cellFromPoint(int x, int y) const;

private:
    Rect m_client;
    int m_side = 0;
    int m_cellSize = 0;
    Point m_origin;
};
