#include "ui/CQuorlenView.h"

#include "document/CQuorlenDoc.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "ui/BoardRenderer.h"
#include "ui/SettingsColor.h"
#include "ui/WinRateGraph.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

CQuorlenView::CQuorlenView(CQuorlenDoc& document, const SettingsStore& settings, QWidget* parent)
    : QWidget(parent), m_document(document), m_settings(settings),
      m_btnSwap(new QPushButton(QStringLiteral("Swap"), this)) {
    // Every paint covers the whole area from an off-screen image: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the live analysis follows the hovered cell
    const Hex::Coord none = noCell();
    m_pressedRow = none.row;
    m_pressedCol = none.col;
    m_btnSwap->setObjectName(QStringLiteral("swapButton"));
    m_btnSwap->hide();
    connect(m_btnSwap, &QPushButton::clicked, this, &CQuorlenView::onSwap);
}

int CQuorlenView::BoardSize() const {
    const Hex::Game* game = m_document.game();
    return game != nullptr ? static_cast<int>(game->board().size()) : m_document.boardSize();
}

Hex::Coord CQuorlenView::noCell() const {
    const int n = BoardSize();
    return Hex::Coord{n, n};
}

BoardScene CQuorlenView::scene() const {
    BoardScene scene;
    scene.size = m_document.boardSize();
    if (const Hex::Game* game = m_document.shownGame()) {
        // The game thread may be playing: read the game through its snapshots.
        scene.board = game->boardSnapshot();
        scene.moves = game->moves();
        scene.lastMove = game->lastMove();
        if (m_document.isGameOver()) {
            scene.winningPath = game->winningPath();
        }
    }
    scene.gameOver = m_document.isGameOver() ? 1 : 0;
    scene.colors = m_document.colors();
    scene.showPaths = m_settings.getInt(SettingsKeys::showPaths) != 0;
    scene.showEvals = m_settings.getInt(SettingsKeys::showEvals) != 0;
    scene.paths1 = m_document.paths(1);
    scene.paths2 = m_document.paths(2);
    scene.pathCount1 = m_document.pathCount(1);
    scene.pathCount2 = m_document.pathCount(2);
    scene.evals = m_document.evaluations();
    scene.hint = m_document.hintMove();
    const LiveAnalysis& analysis = m_document.liveAnalysis();
    scene.analysis = analysis.moves();
    scene.analysisToMove = analysis.sideToMove();
    for (const AnalyzedMove& move : scene.analysis) {
        if (m_hovered != Hex::noMove && move.move == m_hovered) {
            scene.analysisLine = move.line;
        }
    }
    markAnalysedMove(scene);
    return scene;
}

// The swap's stone is the first stone, mirrored.
void CQuorlenView::markAnalysedMove(BoardScene& scene) const {
    const MoveAnalysis* analysed = m_document.shownMoveAnalysis();
    if (analysed == nullptr || scene.moves.empty()) {
        return;
    }
    const Hex::Coord swap = noCell();
    Hex::Coord stone = scene.moves.back();
    if (stone == swap && scene.moves.size() == 2) {
        stone = Hex::Coord{scene.moves.front().col, scene.moves.front().row};
    }
    scene.analysedStone = stone;
    scene.analysedColor = WinRateGraph::labelColor(analysed->label);
    if (analysed->bestMove != analysed->move && analysed->bestMove != swap) {
        scene.betterMove = analysed->bestMove;
    }
}

void CQuorlenView::layOut() {
    m_geometry = BoardGeometry(BoardGeometry::Rect{0, 0, width(), height()}, BoardSize());
}

void CQuorlenView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void CQuorlenView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placeSwapButton();
}

// The button sits 30 pixels from the top right corner of the area it first had and stays
// there when the view is resized later.
void CQuorlenView::placeSwapButton() {
    if (m_swapPlaced) {
        return;
    }
    m_swapPlaced = true;
    m_btnSwap->setGeometry(width() - 100, 30, 70, 30);
}

void CQuorlenView::paintEvent(QPaintEvent*) {
    const BoardScene board = scene();
    if (board.boardSide() != m_geometry.boardSide() ||
        m_geometry.client() != BoardGeometry::Rect{0, 0, width(), height()}) {
        layOut(); // a game of another side started: never draw with another side's layout
    }
    QImage image(size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        BoardRenderer(board, m_geometry).paint(painter);
    }
    QPainter(this).drawImage(0, 0, image);
    m_btnSwap->setVisible(m_document.swapOffered());
    outlineSwapButton(m_document.hintIsSwap() ? std::optional<int>(board.colors.path)
                                              : std::nullopt);
}

// A hint to take the swap has no cell to outline: the Swap button gets the outline instead.
void CQuorlenView::outlineSwapButton(std::optional<int> color) {
    if (color == m_swapOutline) {
        return;
    }
    m_swapOutline = color;
    m_btnSwap->setStyleSheet(color ? QStringLiteral("QPushButton { border: 3px solid %1; }")
                                         .arg(colorFromSettings(*color).name())
                                   : QString());
}

void CQuorlenView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        const Hex::Coord cell = m_geometry.cellFromPoint(at.x(), at.y());
        const int n = BoardSize();
        if (cell.row < n && cell.col < n) {
            m_pressedRow = cell.row;
            m_pressedCol = cell.col;
        }
    }
    QWidget::mousePressEvent(event);
}

void CQuorlenView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        const Hex::Coord cell = m_geometry.cellFromPoint(at.x(), at.y());
        const int n = BoardSize();
        if (cell.row < n && cell.col < n && cell == Hex::Coord{m_pressedRow, m_pressedCol}) {
            m_document.cellClicked(cell.row, cell.col);
        }
        const Hex::Coord none = noCell();
        m_pressedRow = none.row;
        m_pressedCol = none.col;
    }
    QWidget::mouseReleaseEvent(event);
}

void CQuorlenView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const Hex::Coord cell = m_geometry.cellFromPoint(at.x(), at.y());
    const int n = BoardSize();
    hover(cell.row < n && cell.col < n ? cell : Hex::noMove);
    QWidget::mouseMoveEvent(event);
}

void CQuorlenView::leaveEvent(QEvent* event) {
    hover(Hex::noMove);
    QWidget::leaveEvent(event);
}

// A repaint only when the line shown may change.
void CQuorlenView::hover(Hex::Coord cell) {
    if (cell == m_hovered) {
        return;
    }
    m_hovered = cell;
    if (!m_document.liveAnalysis().moves().empty()) {
        update();
    }
}

void CQuorlenView::onSwap() {
    m_document.swapClicked();
    update();
}
