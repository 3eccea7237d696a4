#include "ui/BoardRenderer.h"

#include "model/Game.h"
#include "ui/BoardPens.h"
#include "ui/HexCellPainter.h"
#include "ui/SettingsColor.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <cstdlib>

namespace {

using Hex::Coord;
using Point = BoardGeometry::Point;

// Colours that tell each layer apart: red and green stones carry cyan and magenta numbers.
BoardScene sceneOf(int size) {
    BoardScene scene;
    scene.size = size;
    // Background, cell, selection, border (yellow), player 1, player 2, path (blue).
    scene.colors =
        BoardColors{0x604020, 0x808080, 0xC0C0C0, 0x00FFFF, 0x0000FF, 0x00FF00, 0xFF0000};
    return scene;
}

// A game replayed from its moves; (n, n) is the swap.
BoardScene gameScene(int size, const std::vector<Coord>& moves) {
    BoardScene scene = sceneOf(size);
    const Hex::Game game(static_cast<std::uint32_t>(size), moves);
    scene.board = game.board();
    scene.moves = game.moves();
    scene.lastMove = game.lastMove();
    scene.winningPath = game.winningPath();
    return scene;
}

BoardGeometry geometryFor(const BoardScene& scene, int width = 800, int height = 600) {
    return BoardGeometry(BoardGeometry::Rect{0, 0, width, height}, scene.boardSide());
}

QImage render(const BoardScene& scene, const BoardGeometry& geometry) {
    QImage image(geometry.client().right, geometry.client().bottom, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    BoardRenderer(scene, geometry).paint(painter);
    return image;
}

QColor at(const QImage& image, Point p, int dx = 0, int dy = 0) {
    return image.pixelColor(p.x + dx, p.y + dy);
}

Point between(Point a, Point b) {
    return Point{(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// Pixels near a settings colour in the square of the given radius around center; antialiased
// text has few pixels of exactly its colour.
int countNear(const QImage& image, Point center, int radius, int color) {
    const QColor wanted = colorFromSettings(color);
    int count = 0;
    for (int y = center.y - radius; y <= center.y + radius; ++y) {
        for (int x = center.x - radius; x <= center.x + radius; ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green()) +
                         std::abs(c.blue() - wanted.blue()) <
                     90;
        }
    }
    return count;
}

} // namespace

class BoardRendererTest : public QObject {
    Q_OBJECT

private slots:
    void stonesNumbersAndHighlightAfterASwap();
    void winningChainOnlyWhenTheGameIsOver();
    void rowAaIsLabelledOnALargeBoard();
    void pathsAndEvaluationsOnRequest();
    void offBoardCellsAreSkipped();
    void liveAnalysisRatesAndTheHoveredLine();
    void analysedMoveAndBetterMoveAreOutlined();
    void copiedCellsMatchTheirDrawing();
};

void BoardRendererTest::stonesNumbersAndHighlightAfterASwap() {
    // Player 2 takes the swap: the first stone moves from (1, 3) to (3, 1) as move 2.
    BoardScene scene = gameScene(10, {Coord{1, 3}, Coord{10, 10}, Coord{4, 4}, Coord{2, 7}});
    const BoardColors& colors = scene.colors;
    const int number1 = ~colors.player1 & 0xFFFFFF;
    const int number2 = ~colors.player2 & 0xFFFFFF;
    const BoardGeometry g = geometryFor(scene);
    const QImage image = render(scene, g);
    const int q = (3 * g.cellSize()) / 4;

    QCOMPARE(image.pixelColor(0, 0), colorFromSettings(colors.background));
    QCOMPARE(image.pixelColor(799, 599), colorFromSettings(colors.background));
    // Stones below their numbers, with a black outline 3s/4 from the centre.
    QCOMPARE(at(image, g.cellCenter(3, 1), 0, q - 4), colorFromSettings(colors.player2));
    QCOMPARE(at(image, g.cellCenter(4, 4), 0, q - 4), colorFromSettings(colors.player1));
    const Point stoneTop{g.cellCenter(4, 4).x, g.cellCenter(4, 4).y - q};
    QCOMPARE(countNear(image, stoneTop, 0, 0x000000), 1);
    QCOMPARE(at(image, g.cellCenter(1, 3)), colorFromSettings(colors.cell));
    // Numbers in the complement of their stone; none where the first stone was.
    QCOMPARE(countNear(image, g.cellCenter(1, 3), 8, number1), 0);
    QVERIFY(countNear(image, g.cellCenter(3, 1), 8, number2) > 0);
    QVERIFY(countNear(image, g.cellCenter(4, 4), 8, number1) > 0);
    QCOMPARE(countNear(image, g.cellCenter(4, 4), 8, number2), 0);
    // The last move's hexagon, inside near its top corner, outside the stone.
    QCOMPARE(at(image, g.cellCenter(2, 7), 0, -22), colorFromSettings(colors.selection));
    QCOMPARE(at(image, g.cellCenter(4, 4), 0, -22), colorFromSettings(colors.cell));
    // The edges in the players' colours: side 1 runs from P0 to P1, side 0 from P5 to P0.
    const auto top = g.corners(g.cellCenter(0, 4));
    const auto left = g.corners(g.cellCenter(4, 0));
    const auto inner = g.corners(g.cellCenter(5, 5));
    QCOMPARE(at(image, between(top[0], top[1])), colorFromSettings(colors.player1));
    QCOMPARE(at(image, between(left[5], left[0])), colorFromSettings(colors.player2));
    QCOMPARE(at(image, between(inner[0], inner[1])), colorFromSettings(colors.border));

    // Before the first game: an empty board, no highlight, no numbers.
    scene.board.reset();
    const QImage empty = render(scene, g);
    QCOMPARE(at(empty, g.cellCenter(3, 1), 0, q - 4), colorFromSettings(colors.cell));
    QCOMPARE(at(empty, g.cellCenter(2, 7), 0, -22), colorFromSettings(colors.cell));
    QCOMPARE(countNear(empty, g.cellCenter(4, 4), 8, number1), 0);
}

void BoardRendererTest::winningChainOnlyWhenTheGameIsOver() {
    // Player 1 joins top and bottom down column 1.
    BoardScene scene =
        gameScene(3, {Coord{0, 1}, Coord{0, 2}, Coord{1, 1}, Coord{1, 2}, Coord{2, 1}});
    QCOMPARE(scene.winningPath.size(), std::size_t{3});
    const BoardGeometry g = geometryFor(scene);
    const Point middle = between(g.cellCenter(0, 1), g.cellCenter(1, 1));
    const QColor path = colorFromSettings(scene.colors.path);

    scene.gameOver = 1;
    QCOMPARE(at(render(scene, g), middle), path);
    scene.gameOver = 2;
    QVERIFY(at(render(scene, g), middle) != path);
    scene.gameOver = 1;
    scene.board.reset();
    QVERIFY(at(render(scene, g), middle) != path);
}

void BoardRendererTest::rowAaIsLabelledOnALargeBoard() {
    const BoardScene scene = sceneOf(27);
    const BoardGeometry g = geometryFor(scene, 1600, 1200);
    const int s = g.cellSize();
    const QImage image = render(scene, g);

    // The middle of the label's square holds the label alone: compare it with "AA" drawn
    // by itself in the same square.
    const Point label = g.cellCenter(26, -1);
    QImage expected(image.size(), QImage::Format_RGB32);
    expected.fill(colorFromSettings(scene.colors.background));
    QPainter painter(&expected);
    painter.setPen(colorFromSettings(scene.colors.border));
    painter.drawText(QRect(label.x - s, label.y - s, 2 * s, 2 * s),
                     Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("AA"));
    painter.end();
    const QRect middle(label.x - s / 2, label.y - s / 2, s, s);
    QVERIFY(countNear(image, label, s / 2, scene.colors.border) > 0);
    QCOMPARE(image.copy(middle), expected.copy(middle));
}

void BoardRendererTest::pathsAndEvaluationsOnRequest() {
    BoardScene scene = sceneOf(10);
    scene.paths1 = {Path{{Coord{9, 2}, Coord{8, 2}}, 1.0}, Path{{Coord{9, 6}, Coord{8, 6}}, 2.0}};
    scene.paths2 = {Path{{Coord{4, 4}}, 0.0}}; // one cell: nothing to draw
    scene.pathCount1 = 1;
    scene.pathCount2 = 5; // more than were published
    scene.evals[304] = CellEvaluation{3, 4, -0.25};
    const BoardGeometry g = geometryFor(scene);
    const Point firstPath = between(g.cellCenter(9, 2), g.cellCenter(8, 2));
    const QColor player1 = colorFromSettings(scene.colors.player1);

    const QImage off = render(scene, g);
    QVERIFY(at(off, firstPath) != player1);
    QCOMPARE(countNear(off, g.cellCenter(3, 4), 12, scene.colors.path), 0);

    scene.showPaths = true;
    scene.showEvals = true;
    const QImage on = render(scene, g);
    QCOMPARE(at(on, firstPath), player1);
    QVERIFY(at(on, between(g.cellCenter(9, 6), g.cellCenter(8, 6))) != player1);
    QCOMPARE(countNear(on, g.cellCenter(4, 4), 4, scene.colors.player2), 0);
    QVERIFY(countNear(on, g.cellCenter(3, 4), 12, scene.colors.path) > 0);
}

void BoardRendererTest::offBoardCellsAreSkipped() {
    BoardScene scene = gameScene(5, {Coord{1, 1}});
    scene.moves.push_back(Coord{-7, 2000000000});
    scene.showPaths = true;
    scene.showEvals = true;
    scene.paths1 = {Path{{Coord{0, 0}, Coord{-2147483647 - 1, 3}}, 1.0}};
    scene.pathCount1 = 1;
    scene.evals[-101] = CellEvaluation{-1, -1, 0.5};
    scene.evals[2000000000] = CellEvaluation{0, 0, 0.5};
    scene.gameOver = 1;
    scene.winningPath = {Coord{0, 0}, Coord{99, 99}};
    const QImage image = render(scene, geometryFor(scene));
    QCOMPARE(image.pixelColor(0, 0), colorFromSettings(scene.colors.background));
}

// Player 2 to move: the analysed moves' rates in the path colour (the swap has no cell),
// and the hovered move's line as translucent stones, Player 2's first.
void BoardRendererTest::liveAnalysisRatesAndTheHoveredLine() {
    BoardScene scene = gameScene(10, {Coord{4, 4}});
    scene.analysisToMove = 2;
    scene.analysis = {AnalyzedMove{Coord{2, 3}, 0.57, 0.4, false, {Coord{2, 3}, Coord{5, 5}}},
                      AnalyzedMove{Coord{6, 6}, 1.0, 0.1, true, {Coord{6, 6}}},
                      AnalyzedMove{Coord{10, 10}, 0.5, 0.1, false, {Coord{10, 10}}}};
    const BoardGeometry g = geometryFor(scene);
    const int q = (3 * g.cellSize()) / 4;
    const QColor cell = colorFromSettings(scene.colors.cell);

    const QImage rates = render(scene, g);
    QVERIFY(countNear(rates, g.cellCenter(2, 3), 12, scene.colors.path) > 0);
    QVERIFY(countNear(rates, g.cellCenter(6, 6), 12, scene.colors.path) > 0);
    QCOMPARE(at(rates, g.cellCenter(5, 5), 0, q - 4), cell); // no line without a hover

    scene.analysisLine = scene.analysis.front().line;
    const QImage line = render(scene, g);
    const QColor player2Stone = at(line, g.cellCenter(2, 3), 0, q - 4);
    const QColor player1Stone = at(line, g.cellCenter(5, 5), 0, q - 4);
    QVERIFY(player2Stone.green() > cell.green() && player2Stone.red() > 0); // the board shows
    QVERIFY(player1Stone.red() > cell.red() && player1Stone.green() > 0);   // through both
    QVERIFY(countNear(line, g.cellCenter(5, 5), 8, ~scene.colors.player1 & 0xFFFFFF) > 0);
}

// The analysed stone in its label's colour, the better move in the path colour; neither
// without the scene's fields.
void BoardRendererTest::analysedMoveAndBetterMoveAreOutlined() {
    BoardScene scene = gameScene(5, {Coord{1, 1}});
    const BoardGeometry g = geometryFor(scene);
    const int orange = 0x008CFF;
    const Point stoneCorner = g.corners(g.cellCenter(1, 1))[0];
    const Point betterCorner = g.corners(g.cellCenter(3, 3))[0];
    const QImage plain = render(scene, g);
    QCOMPARE(countNear(plain, stoneCorner, 2, orange), 0);
    QCOMPARE(countNear(plain, betterCorner, 2, scene.colors.path), 0);

    scene.analysedStone = Coord{1, 1};
    scene.analysedColor = orange;
    scene.betterMove = Coord{3, 3};
    const QImage marked = render(scene, g);
    QVERIFY(countNear(marked, stoneCorner, 2, orange) > 0);
    QVERIFY(countNear(marked, betterCorner, 2, scene.colors.path) > 0);
}

// An inner cell is copied from one drawing; it must cover exactly the pixels of drawing its
// hexagon and sides in place, also where corners left of x = 0 round the other way.
void BoardRendererTest::copiedCellsMatchTheirDrawing() {
    const BoardColors colors = sceneOf(3).colors;
    for (const int left : {0, -200}) {
        const BoardGeometry g(BoardGeometry::Rect{left, left, left + 200, left + 200}, 3);
        for (const bool highlighted : {false, true}) {
            QImage copied(200, 200, QImage::Format_RGB32);
            copied.fill(Qt::white);
            QImage drawn = copied;
            QPainter copy(&copied);
            copy.translate(-left, -left);
            HexCellPainter(g, colors).paint(copy, 1, 1, 3, 0, highlighted);
            copy.end();

            QPainter draw(&drawn);
            draw.translate(-left, -left);
            const auto corners = g.corners(g.cellCenter(1, 1));
            QPolygon hexagon;
            for (const auto& p : corners) {
                hexagon << QPoint(p.x, p.y);
            }
            draw.setPen(outlinePen());
            draw.setBrush(colorFromSettings(highlighted ? colors.selection : colors.cell));
            draw.drawPolygon(hexagon);
            draw.setPen(borderPen(colors.border));
            for (std::size_t k = 0; k < 6; ++k) {
                const auto from = corners[(k + 5) % 6];
                draw.drawLine(from.x, from.y, corners[k].x, corners[k].y);
            }
            draw.end();
            QCOMPARE(copied, drawn);
        }
    }
}

QTEST_MAIN(BoardRendererTest)
#include "BoardRendererTest.moc"
