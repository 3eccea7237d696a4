#include "sgf/SgfSetup.h"

#include "model/Game.h"
#include "notation/HexNotation.h"
#include "notation/ProtocolText.h"
#include "sgf/SgfError.h"

namespace {

Hex::Coord mirrored(Hex::Coord cell) {
    return Hex::Coord{cell.col, cell.row};
}

std::string colourTitle(int side) {
    return side == 1 ? "Black" : "White";
}

} // namespace

SgfSetup::SgfSetup(std::uint32_t size, std::span<const SgfTree::Node> nodes)
    : m_size(size), m_board(size) {
    for (const SgfTree::Node& node : nodes) {
        for (const SgfTree::Property& property : node) {
            if (property.name == "AB") {
                place(property, Hex::Game::player1Stone);
            } else if (property.name == "AW") {
                place(property, Hex::Game::player2Stone);
            } else if (property.name == "AE") {
                place(property, 0);
            } else if (property.name == "PL") {
                m_present = true;
                m_player = HexNotation::parseColour(ProtocolText::trimmed(property.values.front()));
                if (!m_player || property.values.size() != 1) {
                    throw SgfError{"PL[" + SgfError::shown(property.values.front()) +
                                   "] is not a colour (B or W)"};
                }
            }
        }
    }
}

void SgfSetup::place(const SgfTree::Property& property, int value) {
    m_present = true;
    for (const std::string& text : property.values) {
        const std::optional<Hex::Coord> cell =
            HexNotation::parseCell(ProtocolText::trimmed(text), m_size);
        if (!cell) {
            throw SgfError{property.name + "[" + SgfError::shown(text) +
                           "]: not a cell of a board of size " + std::to_string(m_size)};
        }
        m_board.cell(cell->row, cell->col, value);
        if (value != 0) {
            m_placed.push_back(*cell);
        }
    }
}

std::size_t SgfSetup::count(int side) const {
    std::size_t stones = 0;
    const int n = static_cast<int>(m_size);
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            stones += m_board.at(row, col) == side ? 1 : 0;
        }
    }
    return stones;
}

int SgfSetup::sideByCounts() const {
    const std::size_t black = count(1);
    const std::size_t white = count(2);
    if (black == white + 1) {
        return 2;
    }
    return black == white || white == black + 1 ? 1 : 0;
}

std::vector<Hex::Coord> SgfSetup::stones(int side) const {
    std::vector<bool> taken(std::size_t{m_size} * m_size, false);
    std::vector<Hex::Coord> cells;
    for (const Hex::Coord cell : m_placed) {
        const std::size_t index = std::size_t(cell.row) * m_size + std::size_t(cell.col);
        if (m_board.at(cell.row, cell.col) == side && !taken[index]) {
            taken[index] = true;
            cells.push_back(cell);
        }
    }
    return cells;
}

bool SgfSetup::afterSwap(int toMove) const {
    const std::size_t black = count(1);
    const std::size_t white = count(2);
    return (toMove == 1 && white == black + 1) || (toMove == 2 && black == white && white > 0);
}

std::string SgfSetup::counts() const {
    return std::to_string(count(1)) + " Black and " + std::to_string(count(2)) + " White stones";
}

std::vector<Hex::Coord> SgfSetup::gameMoves(int toMove) const {
    // A won position has a winning chain, and a game would have ended as soon as it was
    // complete: no order of the stones is sure to be legal.
    const int winner = Hex::Game::winnerOf(m_board);
    if (winner != 0) {
        throw SgfError{"the setup stones have already won the game for " + colourTitle(winner) +
                       ", so no order of placing them is sure to be a legal game"};
    }
    const std::size_t black = count(1);
    const std::size_t white = count(2);
    const bool plain = (toMove == 1 && black == white) || (toMove == 2 && black == white + 1);
    if (!plain && !afterSwap(toMove)) {
        throw SgfError{"no game reaches the setup position: " + counts() +
                       (toMove == 0 ? "" : ", " + colourTitle(toMove) + " to move")};
    }
    const std::vector<Hex::Coord> blackStones = stones(1);
    std::vector<Hex::Coord> whiteStones = stones(2);
    std::vector<Hex::Coord> moves;
    if (!plain) {
        moves.push_back(mirrored(whiteStones.front()));
        moves.push_back(HexNotation::swapMarker(m_size));
        whiteStones.erase(whiteStones.begin());
    }
    for (std::size_t i = 0; i < blackStones.size(); ++i) {
        moves.push_back(blackStones[i]);
        if (i < whiteStones.size()) {
            moves.push_back(whiteStones[i]);
        }
    }
    return moves;
}

std::string SgfSetup::conversionNote(int toMove) const {
    if (count(1) + count(2) == 0) {
        return "";
    }
    std::string note = "the setup stones are read as a game: " + counts() +
                       " placed as alternating moves, Black first";
    if (afterSwap(toMove)) {
        const Hex::Coord swapped = stones(2).front();
        note += ", White's " + HexNotation::cellName(swapped) +
                " coming from the swap of Black's first stone " +
                HexNotation::cellName(mirrored(swapped));
    }
    return note;
}
