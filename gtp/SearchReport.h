#pragma once

#include "mcts/MctsSearch.h"
#include "model/Coord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the expert's search has found, in the texts of the analysis commands: the win rates
// of the root moves, the line it expects, and the live graphics that a front end draws while
// the search runs. A win rate is the mover's, in whole percent from 1% to 99% (short enough
// for a cell); a proven move shows as "won" or "lost" instead. The swap has no cell to show it on:
// it is left out of the win rates, and a line ends before it (the live graphics name it when it is
// the best move).
//
// Thread contract: reads the search's counters, so it may be made and used on any thread
// while the search runs (see MctsSearch::rootMoves()).
class SearchReport {
public:
    // The search of the position reached by `searched` on a board of side size.
    SearchReport(const MctsSearch& search, std::uint32_t size, std::vector<Hex::Coord> searched);

    // Up to `count` most visited root moves as pairs "c3 won b2 41%".
    std::string winRates(std::size_t count) const;
    // The line expected from the position reached by `current`, at most length moves: from a
    // position after the searched one, the part of the line that follows the moves played
    // since; empty when they left the line.
    std::vector<Hex::Coord> lineFrom(const std::vector<Hex::Coord>& current,
                                     std::size_t length) const;
    // "c3 62%, 1234 playouts, line c3 b2 a3" (no line when the swap is best); empty before
    // the first playout.
    std::string summary() const;
    // One GoGui graphics block of the uct kind (the best line, every root move's win rate
    // and visits, the summary), ending with its empty line; empty before the first playout.
    std::string liveGraphics() const;

    static std::string winRateText(const MctsSearch::RootMove& move);
    static std::string cellList(const std::vector<Hex::Coord>& cells);

private:
    bool hasCell(Hex::Coord move) const;

    std::vector<Hex::Coord> bestLine(std::size_t length) const;

    const MctsSearch& m_search;
    std::uint32_t m_size;
    std::vector<Hex::Coord> m_searched;
};
