#include "ui/WinRateGraph.h"

#include "ui/SettingsColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int verticalMargin = 6;
constexpr double dotRadius = 4.0;

} // namespace

WinRateGraph::WinRateGraph(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(60);
    setToolTip(QStringLiteral("Player 1's win rate after every move: click to show that move"));
}

std::vector<WinRateGraph::Point> WinRateGraph::pointsOf(const std::vector<MoveAnalysis>& analysis) {
    std::vector<Point> points;
    if (analysis.empty()) {
        return points;
    }
    // The first move is Player 1's: its rate before is Player 1's on the empty board.
    points.push_back(Point{analysis.front().winRateBefore, std::nullopt});
    for (const MoveAnalysis& move : analysis) {
        const double rate = move.player == 1 ? move.winRateAfter : 1.0 - move.winRateAfter;
        points.push_back(Point{rate, move.label});
    }
    return points;
}

double WinRateGraph::xOf(std::size_t count, int width, std::size_t moveCount) {
    if (moveCount == 0) {
        return margin;
    }
    const double room = std::max(0, width - 2 * margin);
    return margin + room * static_cast<double>(count) / static_cast<double>(moveCount);
}

std::size_t WinRateGraph::moveAt(int x, int width, std::size_t moveCount) {
    const int room = width - 2 * margin;
    if (moveCount == 0 || room <= 0) {
        return 0;
    }
    const double count =
        std::round(static_cast<double>(x - margin) * static_cast<double>(moveCount) / room);
    return static_cast<std::size_t>(std::clamp(count, 0.0, static_cast<double>(moveCount)));
}

int WinRateGraph::labelColor(MoveAnalysis::Label label) {
    switch (label) {
    case MoveAnalysis::Label::good:
        return 0x50AF4C; // green
    case MoveAnalysis::Label::inaccuracy:
        return 0x00D7F0; // yellow
    case MoveAnalysis::Label::mistake:
        return 0x008CFF; // orange
    case MoveAnalysis::Label::blunder:
        break;
    }
    return 0x1E1EDC; // red
}

void WinRateGraph::setPoints(std::vector<Point> points) {
    if (points != m_points) {
        m_points = std::move(points);
        update();
    }
}

void WinRateGraph::setShownMove(std::size_t count) {
    if (count != m_shown) {
        m_shown = count;
        update();
    }
}

QSize WinRateGraph::sizeHint() const {
    return QSize(400, 110);
}

double WinRateGraph::yOf(double player1Rate) const {
    const int room = std::max(0, height() - 2 * verticalMargin);
    return verticalMargin + room * (1.0 - player1Rate);
}

void WinRateGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::lightGray, 1, Qt::DashLine));
    painter.drawLine(QPointF(margin, yOf(0.5)), QPointF(width() - margin, yOf(0.5)));
    painter.setPen(Qt::darkGray);
    painter.drawText(rect().adjusted(margin + 2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Player 1"));
    painter.drawText(rect().adjusted(margin + 2, 0, 0, -2), Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("Player 2"));
    if (m_points.empty()) {
        return;
    }
    const std::size_t moves = moveCount();
    const auto at = [&](std::size_t k) {
        return QPointF(xOf(k, width(), moves), yOf(m_points[k].player1Rate));
    };
    const double shownX = xOf(std::min(m_shown, moves), width(), moves);
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.drawLine(QPointF(shownX, 0), QPointF(shownX, height()));
    QPainterPath line(at(0));
    for (std::size_t k = 1; k < m_points.size(); ++k) {
        line.lineTo(at(k));
    }
    painter.setPen(QPen(QColor(30, 60, 150), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    painter.setPen(QPen(Qt::black, 1));
    for (std::size_t k = 1; k < m_points.size(); ++k) {
        const auto label = m_points[k].label;
        if (label && *label != MoveAnalysis::Label::good) {
            painter.setBrush(colorFromSettings(labelColor(*label)));
            painter.drawEllipse(at(k), dotRadius, dotRadius);
        }
    }
}

void WinRateGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        askForMoveAt(event->position().toPoint().x());
    }
    QWidget::mousePressEvent(event);
}

void WinRateGraph::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) != 0) {
        askForMoveAt(event->position().toPoint().x());
    }
    QWidget::mouseMoveEvent(event);
}

void WinRateGraph::askForMoveAt(int x) {
    if (!m_points.empty()) {
        emit moveClicked(moveAt(x, width(), moveCount()));
    }
}
