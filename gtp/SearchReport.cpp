#include "gtp/SearchReport.h"

#include "notation/HexNotation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr std::size_t longestLine = 12;

// Visits as a few characters, to fit a cell: 950, 12k, 3.4m.
std::string countText(std::uint64_t count) {
    char text[32];
    if (count < 1000) {
        std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(count));
    } else if (count < 1000000) {
        std::snprintf(text, sizeof text, "%lluk", static_cast<unsigned long long>(count / 1000));
    } else {
        std::snprintf(text, sizeof text, "%.1fm", static_cast<double>(count) / 1e6);
    }
    return text;
}

} // namespace

SearchReport::SearchReport(const MctsSearch& search, std::uint32_t size,
                           std::vector<Hex::Coord> searched)
    : m_search(search), m_size(size), m_searched(std::move(searched)) {}

std::string SearchReport::winRateText(const MctsSearch::RootMove& move) {
    if (move.proven) {
        return move.winRate > 0.5 ? "won" : "lost";
    }
    // Only a proof is certain: an unproven rate never reads 0% or 100%.
    return std::to_string(std::clamp(std::lround(move.winRate * 100.0), 1L, 99L)) + "%";
}

std::string SearchReport::cellList(const std::vector<Hex::Coord>& cells) {
    std::string text;
    for (const Hex::Coord cell : cells) {
        text += (text.empty() ? "" : " ") + HexNotation::cellName(cell);
    }
    return text;
}

bool SearchReport::hasCell(Hex::Coord move) const {
    return move.row >= 0 && move.row < static_cast<std::int32_t>(m_size);
}

std::string SearchReport::winRates(std::size_t count) const {
    std::string text;
    for (const MctsSearch::RootMove& root : m_search.rootMoves(count)) {
        // A move never visited nor proven has no rate to show, only the prior's zero.
        if (hasCell(root.move) && (root.visits > 0 || root.proven)) {
            text += (text.empty() ? "" : " ") + HexNotation::cellName(root.move) + " " +
                    winRateText(root);
        }
    }
    return text;
}

std::vector<Hex::Coord> SearchReport::bestLine(std::size_t length) const {
    std::vector<Hex::Coord> line = m_search.principalVariation(m_search.bestMove(), length);
    const auto swap =
        std::find_if(line.begin(), line.end(), [this](Hex::Coord move) { return !hasCell(move); });
    line.erase(swap, line.end());
    return line;
}

std::vector<Hex::Coord> SearchReport::lineFrom(const std::vector<Hex::Coord>& current,
                                               std::size_t length) const {
    if (current.size() < m_searched.size() ||
        !std::equal(m_searched.begin(), m_searched.end(), current.begin())) {
        return {};
    }
    const std::size_t played = current.size() - m_searched.size();
    std::vector<Hex::Coord> line =
        played == 0 ? bestLine(length)
                    : m_search.principalVariation(current[m_searched.size()], played + length);
    if (line.size() < played ||
        !std::equal(current.begin() + static_cast<std::ptrdiff_t>(m_searched.size()), current.end(),
                    line.begin())) {
        return {};
    }
    line.erase(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(played));
    const auto swap =
        std::find_if(line.begin(), line.end(), [this](Hex::Coord move) { return !hasCell(move); });
    line.erase(swap, line.end());
    return line;
}

std::string SearchReport::summary() const {
    const auto moves = m_search.rootMoves(std::numeric_limits<std::size_t>::max());
    const Hex::Coord best = m_search.bestMove();
    const auto described = std::find_if(moves.begin(), moves.end(),
                                        [best](const auto& move) { return move.move == best; });
    if (described == moves.end() || (described->visits == 0 && !described->proven)) {
        return {};
    }
    const std::vector<Hex::Coord> line = bestLine(longestLine);
    return HexNotation::moveName(best, m_size) + " " + winRateText(*described) + ", " +
           std::to_string(m_search.rootVisits()) + " playouts" +
           (line.empty() ? "" : ", line " + cellList(line));
}

std::string SearchReport::liveGraphics() const {
    std::vector<Hex::Coord> line = bestLine(longestLine);
    const Hex::Coord swap = HexNotation::swapMarker(m_size);
    if (line.empty() && m_search.bestMove() == swap) {
        line.push_back(swap); // the front end leaves a move without a cell undrawn
    }
    if (line.empty()) {
        return {}; // the front end draws the line's first move: no block without one
    }
    std::string text = "gogui-gfx:\nuct\nVAR";
    int side = m_searched.size() % 2 == 0 ? 1 : 2;
    for (const Hex::Coord move : line) {
        text += std::string(side == 1 ? " B " : " W ") + HexNotation::moveName(move, m_size);
        side = 3 - side;
    }
    std::string influence = "\nINFLUENCE";
    std::string label = "\nLABEL";
    for (const MctsSearch::RootMove& root :
         m_search.rootMoves(std::numeric_limits<std::size_t>::max())) {
        if (hasCell(root.move) && (root.visits > 0 || root.proven)) {
            influence += " " + HexNotation::cellName(root.move) + " " + winRateText(root);
            label += " " + HexNotation::cellName(root.move) + " " + countText(root.visits);
        }
    }
    return text + influence + label + "\nTEXT " + summary() + "\n\n";
}
