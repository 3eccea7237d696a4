// Renders a sample 10 x 10 game with paths, evaluations and move numbers into a PNG, for
// looking at the board as a user sees it: quorlen_render_preview FILE [WIDTH HEIGHT].
#include "model/Game.h"
#include "ui/BoardGeometry.h"
#include "ui/BoardRenderer.h"
#include "ui/BoardScene.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

namespace {

BoardScene sampleScene() {
    using Hex::Coord;
    // Player 1 opens in the corner, Player 2 takes the swap, then both build.
    const std::vector<Coord> moves = {Coord{1, 7}, Coord{10, 10}, Coord{4, 4}, Coord{5, 4},
                                      Coord{5, 3}, Coord{4, 6},   Coord{6, 2}, Coord{3, 5},
                                      Coord{3, 4}, Coord{6, 5},   Coord{7, 2}};
    const Hex::Game game(10, moves);
    BoardScene scene;
    scene.board = game.board();
    scene.moves = game.moves();
    scene.lastMove = game.lastMove();
    scene.showPaths = true;
    scene.showEvals = true;
    scene.paths1 = {Path{{Coord{9, 1}, Coord{8, 2}, Coord{7, 2}, Coord{6, 2}, Coord{5, 3},
                          Coord{4, 4}, Coord{3, 4}, Coord{2, 4}, Coord{1, 4}, Coord{0, 4}},
                         4.0}};
    // Player 2 goes round Player 1's wall through the cell that both paths share.
    scene.paths2 = {
        Path{{Coord{2, 9}, Coord{2, 8}, Coord{3, 7}, Coord{4, 6}, Coord{5, 5}, Coord{5, 4},
              Coord{6, 3}, Coord{7, 3}, Coord{8, 2}, Coord{8, 1}, Coord{7, 1}, Coord{7, 0}},
             5.0}};
    scene.pathCount1 = 1;
    scene.pathCount2 = 1;
    for (const Coord cell : {Coord{2, 4}, Coord{6, 3}, Coord{8, 2}, Coord{5, 5}}) {
        scene.evals[100 * cell.row + cell.col] =
            CellEvaluation{cell.row, cell.col, 0.05 * (cell.row - cell.col)};
    }
    return scene;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s FILE.png [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const int width = argc == 4 ? std::atoi(argv[2]) : 800;
    const int height = argc == 4 ? std::atoi(argv[3]) : 600;
    if (width <= 0 || height <= 0 || width > 8000 || height > 8000) {
        std::fprintf(stderr, "width and height must be 1 to 8000\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const BoardScene scene = sampleScene();
    const BoardGeometry geometry(BoardGeometry::Rect{0, 0, width, height}, scene.boardSide());
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    BoardRenderer(scene, geometry).paint(painter);
    painter.end();
    if (!image.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
