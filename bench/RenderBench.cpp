// Repainting the largest board into a 1200 x 900 image, as the view does on every paint:
// once full (every cell holds a stone with its number, both sides show five paths, twenty
// cells show values, the winning chain is drawn) and once empty (cells, edges and labels);
// and a 19 x 19 game of 60 moves under the live analysis, its five moves rated and a line of
// ten shown, as it is repainted several times a second.
#include "ui/BoardGeometry.h"
#include "ui/BoardRenderer.h"
#include "ui/BoardScene.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int side = 30;

Path column(int col) {
    Path path{{}, 1.0};
    for (int row = side - 1; row >= 0; --row) {
        path.cells.push_back(Hex::Coord{row, col});
    }
    return path;
}

Path row(int r) {
    Path path{{}, 1.0};
    for (int col = side - 1; col >= 0; --col) {
        path.cells.push_back(Hex::Coord{r, col});
    }
    return path;
}

BoardScene fullScene() {
    BoardScene scene;
    scene.size = side;
    scene.board = Hex::Board(side);
    for (int i = 0; i < side * side; ++i) {
        // A spread-out order, so that consecutive moves do not sit side by side.
        const int cell = (i * 7 + 3) % (side * side);
        const Hex::Coord move{cell / side, cell % side};
        scene.board->cell(move.row, move.col, i % 2 == 0 ? 1 : 2);
        scene.moves.push_back(move);
    }
    scene.lastMove = scene.moves.back();
    scene.showPaths = true;
    scene.showEvals = true;
    for (int k = 0; k < 5; ++k) {
        scene.paths1.push_back(column(3 + 5 * k));
        scene.paths2.push_back(row(2 + 5 * k));
    }
    scene.pathCount1 = 5;
    scene.pathCount2 = 5;
    for (int k = 0; k < 20; ++k) {
        const int r = (k * 11) % side;
        const int c = (k * 17) % side;
        scene.evals[100 * r + c] = CellEvaluation{r, c, 0.125 * k - 1.0};
    }
    scene.winningPath = column(0).cells;
    scene.gameOver = 1;
    return scene;
}

void BM_PaintFullBoard(benchmark::State& state) {
    const BoardScene scene = fullScene();
    const BoardGeometry geometry(BoardGeometry::Rect{0, 0, 1200, 900}, side);
    QImage image(1200, 900, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        BoardRenderer(scene, geometry).paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintFullBoard)->Unit(benchmark::kMillisecond);

// The board before the first game.
void BM_PaintEmptyBoard(benchmark::State& state) {
    BoardScene scene;
    scene.size = side;
    const BoardGeometry geometry(BoardGeometry::Rect{0, 0, 1200, 900}, side);
    QImage image(1200, 900, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        BoardRenderer(scene, geometry).paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintEmptyBoard)->Unit(benchmark::kMillisecond);

// A 19 x 19 game of 60 moves, the live analysis's five moves and the hovered one's line.
BoardScene analysedScene() {
    constexpr int n = 19;
    BoardScene scene;
    scene.size = n;
    scene.board = Hex::Board(n);
    for (int i = 0; i < 60; ++i) {
        const int cell = (i * 7 + 3) % (n * n);
        const Hex::Coord move{cell / n, cell % n};
        scene.board->cell(move.row, move.col, i % 2 == 0 ? 1 : 2);
        scene.moves.push_back(move);
    }
    scene.lastMove = scene.moves.back();
    for (int k = 0; k < 5; ++k) {
        const Hex::Coord move{9 + k, 2 + 3 * k};
        AnalyzedMove analysed{move, 0.5 + 0.05 * k, 0.3 - 0.05 * k, k == 4, {move}};
        for (int step = 1; step < 10; ++step) {
            analysed.line.push_back(Hex::Coord{(9 + k + step) % n, (2 + 3 * k + 2 * step) % n});
        }
        scene.analysis.push_back(std::move(analysed));
    }
    scene.analysisLine = scene.analysis.front().line;
    return scene;
}

void BM_PaintLiveAnalysis(benchmark::State& state) {
    const BoardScene scene = analysedScene();
    const BoardGeometry geometry(BoardGeometry::Rect{0, 0, 1200, 900}, scene.boardSide());
    QImage image(1200, 900, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        BoardRenderer(scene, geometry).paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintLiveAnalysis)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Painting needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
