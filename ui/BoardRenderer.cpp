#include "ui/BoardRenderer.h"

#include "model/CellName.h"
#include "ui/BoardPens.h"
#include "ui/SettingsColor.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QPolygon>
#include <QRect>

#include <algorithm>

namespace {

constexpr int player1PathWidth = 8;
constexpr int player2PathWidth = 7;
constexpr int chainWidth = 8;
constexpr int hintWidth = 3;
// How opaque the stones of an analysed line are, of 255: the board shows through them.
constexpr int lineStoneAlpha = 150;

// A rate as a whole percentage, "57%".
QString percent(double rate) {
    return QString::number(static_cast<int>(rate * 100.0 + 0.5)) + QLatin1Char('%');
}

// The middle of the pixel at p, so that antialiased lines run through whole pixels.
QPointF pixelMiddle(BoardGeometry::Point p) {
    return QPointF(p.x + 0.5, p.y + 0.5);
}

} // namespace

BoardRenderer::BoardRenderer(const BoardScene& scene, const BoardGeometry& geometry)
    : m_scene(scene), m_geometry(geometry), m_side(scene.boardSide()),
      m_cells(geometry, scene.colors) {}

void BoardRenderer::paint(QPainter& painter) const {
    painter.save();
    paintBackground(painter);
    paintCellsAndLabels(painter);
    if (m_scene.showPaths) {
        paintPaths(painter);
    }
    if (m_scene.showEvals) {
        paintEvaluations(painter);
    }
    if (onBoard(m_scene.hint)) {
        paintHint(painter);
    }
    paintReviewMarks(painter);
    if (m_scene.gameOver == 1 && m_scene.hasGame()) {
        paintWinningChain(painter);
    }
    if (m_scene.hasGame()) {
        paintMoveNumbers(painter);
    }
    paintAnalysis(painter);
    paintAnalysisLine(painter);
    painter.restore();
}

void BoardRenderer::paintBackground(QPainter& painter) const {
    const BoardGeometry::Rect client = m_geometry.client();
    painter.fillRect(
        QRect(client.left, client.top, client.right - client.left, client.bottom - client.top),
        colorFromSettings(m_scene.colors.background));
}

// Column by column, including the ring of labels around the board.
void BoardRenderer::paintCellsAndLabels(QPainter& painter) const {
    for (int c = -1; c <= m_side; ++c) {
        for (int r = -1; r <= m_side; ++r) {
            if (r >= 0 && r < m_side && c >= 0 && c < m_side) {
                paintCell(painter, r, c);
            } else {
                paintLabel(painter, r, c);
            }
        }
    }
}

void BoardRenderer::paintCell(QPainter& painter, int row, int col) const {
    const bool highlighted = m_scene.hasGame() && m_scene.lastMove == Hex::Coord{row, col};
    m_cells.paint(painter, row, col, m_side, stoneAt(row, col), highlighted);
}

void BoardRenderer::paintLabel(QPainter& painter, int row, int col) const {
    const int n = m_side;
    // The four corners of the ring get no label.
    if ((row == -1 && col == -1) || (row == n && col == n) || row - col > n || col - row > n) {
        return;
    }
    QString text;
    if (row == -1 || row == n) {
        text = QString::number(col + 1);
    } else {
        text = QString::fromStdString(Hex::rowName(row));
    }
    paintCentredText(painter, m_geometry.cellCenter(row, col), m_scene.colors.border, text);
}

void BoardRenderer::paintPaths(QPainter& painter) const {
    paintPathList(painter, m_scene.paths1, m_scene.pathCount1, m_scene.colors.player1,
                  player1PathWidth);
    paintPathList(painter, m_scene.paths2, m_scene.pathCount2, m_scene.colors.player2,
                  player2PathWidth);
}

void BoardRenderer::paintPathList(QPainter& painter, const std::vector<Path>& paths, int count,
                                  int color, int width) const {
    for (int k = 0; k < count && static_cast<std::size_t>(k) < paths.size(); ++k) {
        paintChain(painter, paths[static_cast<std::size_t>(k)].cells, color, width);
    }
}

void BoardRenderer::paintEvaluations(QPainter& painter) const {
    for (const auto& [key, evaluation] : m_scene.evals) {
        const Hex::Coord cell{key / 100, key % 100};
        if (!onBoard(cell)) {
            continue;
        }
        paintCentredText(painter, m_geometry.cellCenter(cell.row, cell.col), m_scene.colors.path,
                         QString::asprintf("%.3f", evaluation.value));
    }
}

void BoardRenderer::paintHint(QPainter& painter) const {
    paintOutline(painter, m_scene.hint, solidPen(m_scene.colors.path, hintWidth));
}

void BoardRenderer::paintReviewMarks(QPainter& painter) const {
    if (onBoard(m_scene.analysedStone)) {
        paintOutline(painter, m_scene.analysedStone, solidPen(m_scene.analysedColor, hintWidth));
    }
    if (onBoard(m_scene.betterMove)) {
        // Dashed, so that it never reads as the label of a move in the path's colour.
        QPen dashed = solidPen(m_scene.colors.path, hintWidth);
        dashed.setStyle(Qt::DashLine);
        paintOutline(painter, m_scene.betterMove, dashed);
    }
}

void BoardRenderer::paintOutline(QPainter& painter, Hex::Coord cell, const QPen& pen) const {
    QPolygon outline;
    for (const BoardGeometry::Point corner :
         m_geometry.corners(m_geometry.cellCenter(cell.row, cell.col))) {
        outline << QPoint(corner.x, corner.y);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(outline);
}

void BoardRenderer::paintWinningChain(QPainter& painter) const {
    paintChain(painter, m_scene.winningPath, m_scene.colors.path, chainWidth);
}

// Each move's number on its stone, in the complement of the stone's colour. After a swap the
// first stone's number moves with it: it is not drawn at the first cell, and the swap's own
// number is drawn at the mirrored cell.
void BoardRenderer::paintMoveNumbers(QPainter& painter) const {
    const std::vector<Hex::Coord>& moves = m_scene.moves;
    const Hex::Coord swapMarker{m_side, m_side};
    const bool swapped = moves.size() >= 2 && moves[1] == swapMarker;
    for (std::size_t idx = 0; idx < moves.size(); ++idx) {
        if (idx == 0 && swapped) {
            continue;
        }
        Hex::Coord cell = moves[idx];
        if (idx == 1 && swapped) {
            cell = Hex::Coord{moves[0].col, moves[0].row};
        }
        if (!onBoard(cell)) {
            continue;
        }
        const int stoneColor = idx % 2 == 0 ? m_scene.colors.player1 : m_scene.colors.player2;
        paintCentredText(painter, m_geometry.cellCenter(cell.row, cell.col), ~stoneColor & 0xFFFFFF,
                         QString::number(idx + 1));
    }
}

// Each analysed move's win rate ("won" or "lost" once proven) over its share of the playouts,
// in small text of the path colour; the swap has no cell and shows nothing, and a cell of the
// hovered line shows its stone instead.
void BoardRenderer::paintAnalysis(QPainter& painter) const {
    if (m_scene.analysis.empty()) {
        return;
    }
    const int s = m_geometry.cellSize();
    const QFont normal = painter.font();
    QFont small = normal;
    small.setPixelSize(std::max(6, s / 2));
    painter.setFont(small);
    painter.setPen(colorFromSettings(m_scene.colors.path));
    for (const AnalyzedMove& move : m_scene.analysis) {
        const std::vector<Hex::Coord>& line = m_scene.analysisLine;
        if (!onBoard(move.move) || std::find(line.begin(), line.end(), move.move) != line.end()) {
            continue;
        }
        const QString rate = move.proven ? QString::fromLatin1(move.winRate >= 0.5 ? "won" : "lost")
                                         : percent(move.winRate);
        const BoardGeometry::Point center = m_geometry.cellCenter(move.move.row, move.move.col);
        painter.drawText(QRect(center.x - s, center.y - s, 2 * s, 2 * s), Qt::AlignCenter,
                         rate + QLatin1Char('\n') + percent(move.share));
    }
    painter.setFont(normal);
}

// The hovered move's line as translucent stones of the sides that would play them, numbered
// from 1; the swap in a line takes its number but has no cell.
void BoardRenderer::paintAnalysisLine(QPainter& painter) const {
    const int s = m_geometry.cellSize();
    const int q = (3 * s) / 4;
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t idx = 0; idx < m_scene.analysisLine.size(); ++idx) {
        const Hex::Coord cell = m_scene.analysisLine[idx];
        if (!onBoard(cell)) {
            continue;
        }
        const bool first = (m_scene.analysisToMove == 1) == (idx % 2 == 0);
        const int color = first ? m_scene.colors.player1 : m_scene.colors.player2;
        QColor fill = colorFromSettings(color);
        fill.setAlpha(lineStoneAlpha);
        QPen outline = outlinePen();
        QColor edge = outline.color();
        edge.setAlpha(lineStoneAlpha);
        outline.setColor(edge);
        painter.setPen(outline);
        painter.setBrush(fill);
        const BoardGeometry::Point center = m_geometry.cellCenter(cell.row, cell.col);
        painter.drawEllipse(QRect(center.x - q, center.y - q, 2 * q, 2 * q));
        paintCentredText(painter, center, ~color & 0xFFFFFF, QString::number(idx + 1));
    }
}

void BoardRenderer::paintChain(QPainter& painter, const std::vector<Hex::Coord>& cells, int color,
                               int width) const {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(solidPen(color, width));
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (!onBoard(cells[i - 1]) || !onBoard(cells[i])) {
            continue;
        }
        painter.drawLine(pixelMiddle(m_geometry.cellCenter(cells[i - 1].row, cells[i - 1].col)),
                         pixelMiddle(m_geometry.cellCenter(cells[i].row, cells[i].col)));
    }
}

// One line of text centred in the square of side 2s around center, without a background.
void BoardRenderer::paintCentredText(QPainter& painter, BoardGeometry::Point center, int color,
                                     const QString& text) const {
    const int s = m_geometry.cellSize();
    painter.setPen(colorFromSettings(color));
    painter.drawText(QRect(center.x - s, center.y - s, 2 * s, 2 * s),
                     Qt::AlignCenter | Qt::TextSingleLine, text);
}

bool BoardRenderer::onBoard(Hex::Coord cell) const {
    return cell.row >= 0 && cell.row < m_side && cell.col >= 0 && cell.col < m_side;
}

int BoardRenderer::stoneAt(int row, int col) const {
    if (!m_scene.board || !m_scene.board->inBounds(row, col)) {
        return 0;
    }
    return m_scene.board->at(row, col);
}
