#pragma once

#include "ui/BoardGeometry.h"
#include "ui/BoardScene.h"

#include <QWidget>

#include <optional>

class CQuorlenDoc;
class QPushButton;
class SettingsStore;

// The board view: draws the document's game and forwards a human's clicks and the Swap
// button to the document. It keeps nothing between paints but the layout, the pressed cell
// and the hovered one; every paint copies what it draws out of the document and the game.
class CQuorlenView : public QWidget {
    Q_OBJECT

public:
    CQuorlenView(CQuorlenDoc& document, const SettingsStore& settings, QWidget* parent = nullptr);

    // The side of the drawn board: the game's when there is one, else the size setting's.
    int BoardSize() const;
    const BoardGeometry& geometry() const { return m_geometry; }
    QPushButton& swapButton() const { return *m_btnSwap; }

    // What a paint draws, copied out of the document and the game.
    BoardScene scene() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void layOut();
    void placeSwapButton();
    void onSwap();
    void outlineSwapButton(std::optional<int> color);
    void markAnalysedMove(BoardScene& scene) const;
    Hex::Coord noCell() const;
    void hover(Hex::Coord cell);

    CQuorlenDoc& m_document;
    const SettingsStore& m_settings;
    BoardGeometry m_geometry;
    int m_pressedRow;
    int m_pressedCol;
    QPushButton* m_btnSwap;
    bool m_swapPlaced = false;
    std::optional<int> m_swapOutline; // the colour of the Swap button's hint outline
    // The cell under the mouse, noMove when it is on none: the live analysis shows the line
    // after the move there.
    Hex::Coord m_hovered = Hex::noMove;
};
