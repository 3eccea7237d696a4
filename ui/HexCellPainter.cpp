#include "ui/HexCellPainter.h"

#include "ui/BoardPens.h"
#include "ui/SettingsColor.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {

constexpr int edgeWidth = 4;

// Room around a corner for half the widest side and its cap.
constexpr int sideReach = 3;

QPoint toQPoint(BoardGeometry::Point p) {
    return QPoint(p.x, p.y);
}

QImage transparentImage(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

HexCellPainter::HexCellPainter(const BoardGeometry& geometry, const BoardColors& colors)
    : m_geometry(geometry), m_colors(colors), m_margin(geometry.cellSize() + sideReach),
      m_imageCorners(geometry.corners(Point{m_margin, m_margin})),
      m_plainCells{drawPlainCell(false), drawPlainCell(true)}, m_stones{drawStone(colors.player1),
                                                                        drawStone(colors.player2)} {
}

void HexCellPainter::paint(QPainter& painter, int row, int col, int n, int stone,
                           bool highlighted) const {
    const Point center = m_geometry.cellCenter(row, col);
    const Corners corners = m_geometry.corners(center);
    const auto owners = BoardGeometry::sideOwners(row, col, n);
    const bool plain = std::all_of(owners.begin(), owners.end(),
                                   [](int owner) { return owner == BoardGeometry::noOwner; });
    const Point shift{center.x - m_margin, center.y - m_margin};
    const bool copyFits = std::equal(
        corners.begin(), corners.end(), m_imageCorners.begin(),
        [shift](Point p, Point q) { return p.x == q.x + shift.x && p.y == q.y + shift.y; });

    painter.setRenderHint(QPainter::Antialiasing, false);
    if (plain && copyFits) {
        painter.drawImage(toQPoint(shift), m_plainCells[highlighted ? 1 : 0]);
    } else {
        drawHexagon(painter, corners, highlighted);
        drawSides(painter, corners, owners);
    }
    if (stone == 1 || stone == 2) {
        const int q = (3 * m_geometry.cellSize()) / 4;
        painter.drawImage(QPoint(center.x - q, center.y - q), m_stones[stone == 1 ? 0 : 1]);
    }
}

void HexCellPainter::drawHexagon(QPainter& painter, const Corners& corners,
                                 bool highlighted) const {
    QPolygon hexagon;
    for (const Point& corner : corners) {
        hexagon << toQPoint(corner);
    }
    painter.setPen(outlinePen());
    painter.setBrush(colorFromSettings(highlighted ? m_colors.selection : m_colors.cell));
    painter.drawPolygon(hexagon);
}

// Side k runs from P(k-1) to Pk, in the order 0 to 5.
void HexCellPainter::drawSides(QPainter& painter, const Corners& corners,
                               const std::array<int, 6>& owners) const {
    const QPen pens[] = {borderPen(m_colors.border), solidPen(m_colors.player1, edgeWidth),
                         solidPen(m_colors.player2, edgeWidth)};
    Point from = corners[5];
    for (std::size_t k = 0; k < corners.size(); ++k) {
        painter.setPen(pens[owners[k]]);
        painter.drawLine(toQPoint(from), toQPoint(corners[k]));
        from = corners[k];
    }
}

QImage HexCellPainter::drawPlainCell(bool highlighted) const {
    QImage image = transparentImage(2 * m_margin + 1);
    QPainter painter(&image);
    drawHexagon(painter, m_imageCorners, highlighted);
    drawSides(painter, m_imageCorners, {});
    return image;
}

// The circle through the middles of the pixels of the box (cx - q, cy - q) to (cx + q, cy + q),
// right and bottom excluded, q = 3s/4; the image is placed at (cx - q, cy - q).
QImage HexCellPainter::drawStone(int color) const {
    const int q = (3 * m_geometry.cellSize()) / 4;
    if (q <= 0) {
        return QImage();
    }
    QImage image = transparentImage(2 * q);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(outlinePen());
    painter.setBrush(colorFromSettings(color));
    painter.drawEllipse(QRectF(0.5, 0.5, 2 * q - 1, 2 * q - 1));
    return image;
}
