#pragma once

#include "document/BoardColors.h"
#include "ui/BoardGeometry.h"

#include <QImage>

#include <array>

class QPainter;

// Draws one cell of the board: the hexagon filled with the cell colour (the selection colour
// when highlighted) and outlined by a 1-pixel black pen, its six sides in order, each in the
// border colour or 4 pixels wide in the colour of the player whose edge it lies on, and the
// cell's stone with a black outline.
//
// A full board repaints 900 cells, so what every cell has in common is drawn once when the
// painter is made and copied onto each cell: the stones, and the hexagon of an inner cell
// with its plain sides. Without antialiasing a shape moved by whole pixels covers the same
// pixels, so the copy equals the drawing; a cell whose corners would round differently is
// drawn directly.
class HexCellPainter {
public:
    // geometry must outlive the painter.
    HexCellPainter(const BoardGeometry& geometry, const BoardColors& colors);

    // stone: 0 none, 1 or 2 the player's stone; n is the board side.
    void paint(QPainter& painter, int row, int col, int n, int stone, bool highlighted) const;

private:
    using Point = BoardGeometry::Point;
    using Corners = std::array<Point, 6>;

    void drawHexagon(QPainter& painter, const Corners& corners, bool highlighted) const;
    void drawSides(QPainter& painter, const Corners& corners,
                   const std::array<int, 6>& owners) const;
    QImage drawPlainCell(bool highlighted) const;
    QImage drawStone(int color) const;

    const BoardGeometry& m_geometry;
    BoardColors m_colors;
    // Centre of the hexagon in the cell images, far enough from their edges for every side.
    int m_margin;
    Corners m_imageCorners;
    // An inner cell with its plain sides, not highlighted and highlighted.
    std::array<QImage, 2> m_plainCells;
    // Player 1's and Player 2's stone.
    std::array<QImage, 2> m_stones;
};
