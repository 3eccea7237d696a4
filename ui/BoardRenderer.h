#pragma once

#include "ui/BoardGeometry.h"
#include "ui/BoardScene.h"
#include "ui/HexCellPainter.h"

#include <QString>

#include <vector>

class QPainter;
class QPen;

// Paints one board scene: the background, the cells with their edge-coloured sides, the
// stones, the row and column labels, the last move's highlight, on request the paths and
// the cell evaluations, the hinted cell's outline, the analysed move's and the better
// move's outlines, the winning chain of a finished game and
// the move numbers; later layers paint over earlier ones in that order.
//
// The geometry must be laid out for the scene's board side; the whole client rectangle of
// the geometry is painted. Cells of paths, evaluations, the chain and the move list that lie
// off the board are skipped. A renderer serves one paint; the scene and the geometry must
// outlive it. Nothing is kept between paints.
class BoardRenderer {
public:
    BoardRenderer(const BoardScene& scene, const BoardGeometry& geometry);

    void paint(QPainter& painter) const;

private:
    void paintBackground(QPainter& painter) const;
    void paintCellsAndLabels(QPainter& painter) const;
    void paintCell(QPainter& painter, int row, int col) const;
    void paintLabel(QPainter& painter, int row, int col) const;
    void paintPaths(QPainter& painter) const;
    void paintPathList(QPainter& painter, const std::vector<Path>& paths, int count, int color,
                       int width) const;
    void paintEvaluations(QPainter& painter) const;
    void paintHint(QPainter& painter) const;
    void paintReviewMarks(QPainter& painter) const; // the analysed move and the better one
    void paintOutline(QPainter& painter, Hex::Coord cell, const QPen& pen) const;
    void paintWinningChain(QPainter& painter) const;
    void paintMoveNumbers(QPainter& painter) const;
    void paintAnalysis(QPainter& painter) const;
    void paintAnalysisLine(QPainter& painter) const;

    void paintChain(QPainter& painter, const std::vector<Hex::Coord>& cells, int color,
                    int width) const;
    void paintCentredText(QPainter& painter, BoardGeometry::Point center, int color,
                          const QString& text) const;
    bool onBoard(Hex::Coord cell) const;
    int stoneAt(int row, int col) const;

    const BoardScene& m_scene;
    const BoardGeometry& m_geometry;
    int m_side;
    HexCellPainter m_cells;
};
