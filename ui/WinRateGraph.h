#pragma once

#include "mcts/MoveAnalysis.h"

#include <QWidget>

#include <cstddef>
#include <optional>
#include <vector>

// The win-rate graph of an analysed game, in a pane below the board: Player 1's win rate
// after every move (from the empty board on the left to the last move on the right), the
// moves that lost win rate as dots in their label's colour, and a marker at the position
// shown. A click (or a drag) on the graph asks for the position nearest to it.
//
// It draws from its own copy of the points and reads nothing else.
class WinRateGraph : public QWidget {
    Q_OBJECT

public:
    // Player 1's win rate after `count` moves, from 0 to 1, and the label of move `count`
    // (none for the empty board).
    struct Point {
        double player1Rate = 0.5;
        std::optional<MoveAnalysis::Label> label;

        friend bool operator==(const Point&, const Point&) = default;
    };

    // The horizontal room left free at either end, so that the end dots show whole.
    static constexpr int margin = 8;

    explicit WinRateGraph(QWidget* parent = nullptr);

    // One point before the first move and one after every analysed move.
    static std::vector<Point> pointsOf(const std::vector<MoveAnalysis>& analysis);
    // The number of moves whose point lies nearest to x on a graph `width` pixels wide of
    // moveCount moves; 0 left of the first point, moveCount right of the last.
    static std::size_t moveAt(int x, int width, std::size_t moveCount);
    // The x of the point after `count` moves.
    static double xOf(std::size_t count, int width, std::size_t moveCount);
    // The colour of a label, as the settings write colours: good green, inaccuracy yellow,
    // mistake orange, blunder red.
    static int labelColor(MoveAnalysis::Label label);

    void setPoints(std::vector<Point> points);
    const std::vector<Point>& points() const { return m_points; }
    void setShownMove(std::size_t count);

    QSize sizeHint() const override;

signals:
    void moveClicked(std::size_t count);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::size_t moveCount() const { return m_points.empty() ? 0 : m_points.size() - 1; }
    double yOf(double player1Rate) const;
    void askForMoveAt(int x);

    std::vector<Point> m_points;
    std::size_t m_shown = 0;
};
