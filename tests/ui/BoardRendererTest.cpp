#include "ui/BoardRenderer.h"

#include "model/BoardText.h"
#include "model/Game.h"
#include "ui/SettingsColor.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <cstdlib>

namespace {

using Hex::Coord;

// Distinct colours, so that each layer can be told apart by its pixels.
BoardColors testColors() {
    BoardColors colors;
    colors.background = 0x604020;
    colors.cell = 0x808080;
    colors.selection = 0xC0C0C0;
    colors.border = 0x00FFFF;  // yellow, apart from the black outlines
    colors.player1 = 0x0000FF; // red; its numbers are 0xFFFF00
    colors.player2 = 0x00FF00; // green; its numbers are 0xFF00FF
    colors.path = 0xFF0000;    // blue
    return colors;
}

BoardScene sceneOf(int size) {
    BoardScene scene;
    scene.size = size;
    scene.colors = testColors();
    return scene;
}

// A scene with a game on the board; moves are played alternately, (n, n) is the swap.
BoardScene gameScene(int size, const std::vector<Coord>& moves) {
    BoardScene scene = sceneOf(size);
    Hex::Game game(static_cast<std::uint32_t>(size), moves);
    scene.board = game.board();
    scene.moves = game.moves();
    scene.lastMove = game.lastMove();
    scene.winningPath = game.winningPath();
    return scene;
}

QImage render(const BoardScene& scene, const BoardGeometry& geometry) {
    const BoardGeometry::Rect client = geometry.client();
    QImage image(client.right, client.bottom, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    BoardRenderer(scene, geometry).paint(painter);
    painter.end();
    return image;
}

BoardGeometry geometryFor(const BoardScene& scene, int width = 800, int height = 600) {
    return BoardGeometry(BoardGeometry::Rect{0, 0, width, height}, scene.boardSide());
}

QColor at(const QImage& image, BoardGeometry::Point p) {
    return image.pixelColor(p.x, p.y);
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           90;
}

// Pixels close to a settings colour within radius of center (a square).
int countNear(const QImage& image, BoardGeometry::Point center, int radius, int color) {
    const QColor wanted = colorFromSettings(color);
    int count = 0;
    for (int y = center.y - radius; y <= center.y + radius; ++y) {
        for (int x = center.x - radius; x <= center.x + radius; ++x) {
            if (near(image.pixelColor(x, y), wanted)) {
                ++count;
            }
        }
    }
    return count;
}

BoardGeometry::Point offset(BoardGeometry::Point p, int dx, int dy) {
    return BoardGeometry::Point{p.x + dx, p.y + dy};
}

} // namespace

class BoardRendererTest : public QObject {
    Q_OBJECT

private slots:
    void backgroundFillsTheCorners();
    void emptyBoardBeforeTheFirstGame();
    void stonesInTheirPlayersColours();
    void lastMoveIsHighlighted();
    void edgeSidesInThePlayersColours();
    void winningChainOnlyWhenTheGameIsOver();
    void rowAaIsLabelledOnALargeBoard();
    void moveNumbersInComplementColours();
    void firstStoneLosesItsNumberAfterTheSwap();
    void pathsUpToTheirCount();
    void evaluationsOnRequest();
    void offBoardCellsAreSkipped();
};

void BoardRendererTest::backgroundFillsTheCorners() {
    const BoardScene scene = sceneOf(10);
    const QImage image = render(scene, geometryFor(scene));
    QCOMPARE(image.pixelColor(0, 0), colorFromSettings(scene.colors.background));
    QCOMPARE(image.pixelColor(799, 599), colorFromSettings(scene.colors.background));
    QCOMPARE(image.pixelColor(799, 0), colorFromSettings(scene.colors.background));
}

void BoardRendererTest::emptyBoardBeforeTheFirstGame() {
    BoardScene scene = sceneOf(10);
    scene.lastMove = Coord{2, 2}; // left from nowhere: without a game nothing is highlighted
    scene.moves = {Coord{2, 2}};
    const BoardGeometry g = geometryFor(scene);
    const QImage image = render(scene, g);
    const auto center = g.cellCenter(2, 2);
    QCOMPARE(at(image, center), colorFromSettings(scene.colors.cell));
    QCOMPARE(at(image, offset(center, 0, -22)), colorFromSettings(scene.colors.cell));
    QCOMPARE(countNear(image, center, 8, ~scene.colors.player1 & 0xFFFFFF), 0);
}

void BoardRendererTest::stonesInTheirPlayersColours() {
    BoardScene scene = sceneOf(10);
    scene.board = Hex::parseBoard(3, ". X ."
                                     " . O ."
                                     "  . . .");
    scene.size = 3;
    const BoardGeometry g = geometryFor(scene);
    const QImage image = render(scene, g);
    QCOMPARE(at(image, g.cellCenter(0, 1)), colorFromSettings(scene.colors.player1));
    QCOMPARE(at(image, g.cellCenter(1, 1)), colorFromSettings(scene.colors.player2));
    QCOMPARE(at(image, g.cellCenter(2, 2)), colorFromSettings(scene.colors.cell));
    // The stone's outline is black, 3s/4 from its centre.
    const int q = (3 * g.cellSize()) / 4;
    QVERIFY(near(at(image, offset(g.cellCenter(0, 1), 0, -q)), Qt::black));
}

void BoardRendererTest::lastMoveIsHighlighted() {
    const BoardScene scene = gameScene(10, {Coord{4, 4}, Coord{2, 7}});
    const BoardGeometry g = geometryFor(scene);
    const QImage image = render(scene, g);
    // Near the top corner: inside the hexagon, outside the stone.
    QCOMPARE(at(image, offset(g.cellCenter(2, 7), 0, -22)),
             colorFromSettings(scene.colors.selection));
    QCOMPARE(at(image, offset(g.cellCenter(4, 4), 0, -22)), colorFromSettings(scene.colors.cell));
}

void BoardRendererTest::edgeSidesInThePlayersColours() {
    const BoardScene scene = sceneOf(10);
    const BoardGeometry g = geometryFor(scene);
    const QImage image = render(scene, g);
    const auto topCell = g.corners(g.cellCenter(0, 4));
    const auto leftCell = g.corners(g.cellCenter(4, 0));
    const auto innerCell = g.corners(g.cellCenter(4, 4));
    const auto middle = [](BoardGeometry::Point a, BoardGeometry::Point b) {
        return BoardGeometry::Point{(a.x + b.x) / 2, (a.y + b.y) / 2};
    };
    // Side 1 runs from P0 to P1, side 0 from P5 to P0.
    QCOMPARE(at(image, middle(topCell[0], topCell[1])), colorFromSettings(scene.colors.player1));
    QCOMPARE(at(image, middle(leftCell[5], leftCell[0])), colorFromSettings(scene.colors.player2));
    QCOMPARE(at(image, middle(innerCell[0], innerCell[1])), colorFromSettings(scene.colors.border));
}

void BoardRendererTest::winningChainOnlyWhenTheGameIsOver() {
    // Player 1 joins top and bottom down column 1; Player 2's stones lie on column 2.
    BoardScene scene =
        gameScene(3, {Coord{0, 1}, Coord{0, 2}, Coord{1, 1}, Coord{1, 2}, Coord{2, 1}});
    QCOMPARE(scene.winningPath.size(), std::size_t{3});
    const BoardGeometry g = geometryFor(scene);
    const auto a = g.cellCenter(0, 1);
    const auto b = g.cellCenter(1, 1);
    const BoardGeometry::Point between{(a.x + b.x) / 2, (a.y + b.y) / 2};

    scene.gameOver = 1;
    QCOMPARE(at(render(scene, g), between), colorFromSettings(scene.colors.path));
    scene.gameOver = 2;
    QVERIFY(at(render(scene, g), between) != colorFromSettings(scene.colors.path));
    scene.gameOver = 1;
    scene.board.reset(); // no game, nothing to draw the chain of
    QVERIFY(at(render(scene, g), between) != colorFromSettings(scene.colors.path));
}

void BoardRendererTest::rowAaIsLabelledOnALargeBoard() {
    const BoardScene scene = sceneOf(27);
    const BoardGeometry g = geometryFor(scene, 1600, 1200);
    const int s = g.cellSize();
    QVERIFY(s >= 16);
    const QImage image = render(scene, g);

    // The middle of the label square holds only the label's text: draw "AA" alone in the
    // same square and compare.
    const auto label = g.cellCenter(26, -1);
    QImage expected(image.size(), QImage::Format_RGB32);
    expected.fill(colorFromSettings(scene.colors.background));
    QPainter painter(&expected);
    painter.setPen(colorFromSettings(scene.colors.border));
    painter.drawText(QRect(label.x - s, label.y - s, 2 * s, 2 * s),
                     Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("AA"));
    painter.end();

    const int half = s / 2;
    const QRect middle(label.x - half, label.y - half, 2 * half, 2 * half);
    QVERIFY(countNear(image, label, half, scene.colors.border) > 0);
    QCOMPARE(image.copy(middle), expected.copy(middle));
    // The label on the right of the row is the same.
    const auto right = g.cellCenter(26, 27);
    const QRect rightMiddle = middle.translated(right.x - label.x, right.y - label.y);
    QCOMPARE(image.copy(rightMiddle), expected.copy(middle));
}

void BoardRendererTest::moveNumbersInComplementColours() {
    const BoardScene scene = gameScene(10, {Coord{1, 3}, Coord{5, 5}});
    const BoardGeometry g = geometryFor(scene);
    const QImage image = render(scene, g);
    QVERIFY(countNear(image, g.cellCenter(1, 3), 8, ~scene.colors.player1 & 0xFFFFFF) > 0);
    QVERIFY(countNear(image, g.cellCenter(5, 5), 8, ~scene.colors.player2 & 0xFFFFFF) > 0);
    QCOMPARE(countNear(image, g.cellCenter(5, 5), 8, ~scene.colors.player1 & 0xFFFFFF), 0);
}

void BoardRendererTest::firstStoneLosesItsNumberAfterTheSwap() {
    const BoardScene scene = gameScene(10, {Coord{1, 3}, Coord{10, 10}});
    const BoardGeometry g = geometryFor(scene);
    const QImage image = render(scene, g);
    const int number1 = ~scene.colors.player1 & 0xFFFFFF;
    const int number2 = ~scene.colors.player2 & 0xFFFFFF;
    QCOMPARE(countNear(image, g.cellCenter(1, 3), 8, number1), 0);
    QCOMPARE(countNear(image, g.cellCenter(1, 3), 8, number2), 0);
    // The mirrored stone carries number 2 and the highlight.
    QVERIFY(countNear(image, g.cellCenter(3, 1), 8, number2) > 0);
    QCOMPARE(at(image, offset(g.cellCenter(3, 1), 0, -22)),
             colorFromSettings(scene.colors.selection));
}

void BoardRendererTest::pathsUpToTheirCount() {
    BoardScene scene = sceneOf(10);
    const Path first{{Coord{9, 2}, Coord{8, 2}}, 1.0};
    const Path second{{Coord{9, 6}, Coord{8, 6}}, 2.0};
    const Path single{{Coord{4, 4}}, 0.0};
    scene.paths1 = {first, second};
    scene.paths2 = {single};
    scene.pathCount1 = 1;
    scene.pathCount2 = 5; // more than published: only the existing path is drawn
    const BoardGeometry g = geometryFor(scene);
    const auto between = [&g](Coord a, Coord b) {
        const auto pa = g.cellCenter(a.row, a.col);
        const auto pb = g.cellCenter(b.row, b.col);
        return BoardGeometry::Point{(pa.x + pb.x) / 2, (pa.y + pb.y) / 2};
    };
    const QColor player1 = colorFromSettings(scene.colors.player1);

    QVERIFY(at(render(scene, g), between(Coord{9, 2}, Coord{8, 2})) != player1);
    scene.showPaths = true;
    const QImage image = render(scene, g);
    QCOMPARE(at(image, between(Coord{9, 2}, Coord{8, 2})), player1);
    QVERIFY(at(image, between(Coord{9, 6}, Coord{8, 6})) != player1);
    QCOMPARE(countNear(image, g.cellCenter(4, 4), 4, scene.colors.player2), 0);
}

void BoardRendererTest::evaluationsOnRequest() {
    BoardScene scene = sceneOf(10);
    scene.evals[304] = CellEvaluation{3, 4, -0.25};
    const BoardGeometry g = geometryFor(scene);
    QCOMPARE(countNear(render(scene, g), g.cellCenter(3, 4), 12, scene.colors.path), 0);
    scene.showEvals = true;
    QVERIFY(countNear(render(scene, g), g.cellCenter(3, 4), 12, scene.colors.path) > 0);
}

void BoardRendererTest::offBoardCellsAreSkipped() {
    BoardScene scene = gameScene(5, {Coord{1, 1}});
    scene.moves.push_back(Coord{-7, 2000000000});
    scene.moves.push_back(Coord{5, 5});
    scene.showPaths = true;
    scene.showEvals = true;
    scene.paths1 = {Path{{Coord{0, 0}, Coord{-2147483647 - 1, 3}}, 1.0}};
    scene.pathCount1 = 1;
    scene.evals[-101] = CellEvaluation{-1, -1, 0.5};
    scene.evals[2000000000] = CellEvaluation{0, 0, 0.5};
    scene.gameOver = 1;
    scene.winningPath = {Coord{0, 0}, Coord{99, 99}};
    const BoardGeometry g = geometryFor(scene);
    const QImage image = render(scene, g);
    QCOMPARE(image.pixelColor(0, 0), colorFromSettings(scene.colors.background));
}

QTEST_MAIN(BoardRendererTest)
#include "BoardRendererTest.moc"
