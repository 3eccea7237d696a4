#pragma once

#include "model/Board.h"
#include "model/Coord.h"
#include "sgf/SgfTree.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The setup of an SGF file: stones placed by AB (Black), AW (White) and AE (emptied), in the
// order of the nodes before the first move, and the side to move PL. Puzzle and position
// collections are written this way.
//
// A game reaches the stones when the counts differ by at most one and fit the side to move:
// with as many stones each, Black to move, or White to move after a swap; with one Black
// stone more, White to move; with one White stone more, Black to move after a swap. Its moves
// place the stones alternately, Black first, in the file's order; after a swap White's first
// stone is the swapped one, so Black's first move is its mirror image.
class SgfSetup {
public:
    // Throws SgfError for a value that names no cell or colour.
    SgfSetup(std::uint32_t size, std::span<const SgfTree::Node> nodes);

    // Whether the nodes set up anything at all (AB, AW, AE or PL).
    bool present() const { return m_present; }
    const Hex::Board& board() const { return m_board; }
    std::size_t count(int side) const;
    // PL's side, if given.
    std::optional<int> player() const { return m_player; }
    // The side to move that the counts alone tell; 0 when they differ by more than one.
    int sideByCounts() const;

    // The moves of a game that reaches the stones with side toMove to move (0: not known);
    // throws SgfError saying why there is none.
    std::vector<Hex::Coord> gameMoves(int toMove) const;
    // What gameMoves did, for a note; empty when there are no stones.
    std::string conversionNote(int toMove) const;

private:
    void place(const SgfTree::Property& property, int value);
    // The side's stones as they stand, each once, in the order the file placed them.
    std::vector<Hex::Coord> stones(int side) const;
    bool afterSwap(int toMove) const;
    std::string counts() const;

    std::uint32_t m_size;
    Hex::Board m_board;
    std::vector<Hex::Coord> m_placed; // every AB and AW cell in order, repeats included
    std::optional<int> m_player;
    bool m_present = false;
};
