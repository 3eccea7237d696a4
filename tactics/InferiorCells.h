#pragma once

#include "tactics/PlayoutBoard.h"

#include <array>
#include <cstdint>
#include <vector>

// The fill-in of a position: empty cells whose colour can be fixed without changing who
// wins, whichever side is to move.
//
// The rule behind it: a player never needs a cell when every two of the cell's neighbours
// that the other side does not hold are joined without it, by being neighbours or by touching
// one group (or edge) of the player. Whatever is played later, a chain of the player through
// the cell then has a way round it, so the other side may take the cell for free. Both of
// these are filled in, judged again after each round until nothing changes:
// - a cell that one player never needs, for the other player (one that neither needs, a dead
//   cell, goes to Player 1);
// - two neighbouring empty cells that a player captures: whichever of them the other side
//   takes, the player answers in the other, and the other side never needs its stone there.
//
// A stone on a filled-in cell is no better than a pass for either side, so a search may skip
// those moves while any other is left; playouts may start from the filled-in board.
//
// Plain data, reused between positions; no thread contract.
class InferiorCells {
public:
    struct Fill {
        int cell;
        std::uint8_t player;
        // Captured with a neighbour: the player holds it only while the other side cannot
        // take both, so a proof that counts on it needs both cells empty.
        bool pair = false;
    };

    // Reads the board (a position that is not over), and forgets the killers.
    void compute(const PlayoutBoard& board);
    // The same as compute(), faster, for a board that is a filled-in board (one with nothing
    // more to fill) with one more stone, on `lastMove`.
    void computeAfter(const PlayoutBoard& board, int lastMove);

    // The filled-in cells in the order found, each with the player it was given.
    const std::vector<Fill>& fill() const { return m_fill; }
    // Whether `cell` (empty on the board read) is filled in.
    bool filled(int cell) const { return m_filled[static_cast<std::size_t>(cell)] != 0; }
    // The player whose edges the filled-in board joins (the position is won for it whoever
    // moves), or 0.
    int winner() const { return m_winner; }
    // Fills the cells in that are still empty on `board`.
    void apply(PlayoutBoard& board) const;
    // Empties the filled-in cells again.
    void remove(PlayoutBoard& board) const;

    // Reads, on the filled-in board of the last compute(), the cells where a stone of `player`
    // is no better than one on a neighbouring cell, its killer. Either the other side's stone
    // on the killer would leave the player never needing the cell (the player's stone there
    // could be taken for the other side's: answered on the killer, it would have been wasted),
    // or the player's own stone on the killer would leave the other side never needing it (a
    // stone on the killer is as good as stones on both). A killer is never such a cell itself,
    // so a search for `player` may skip every cell that has one.
    void findKillers(int player);
    // The killer of `cell` that findKillers() found, or -1.
    int killer(int cell) const { return m_killer[static_cast<std::size_t>(cell)] - 1; }
    // Whether a search may skip `cell`: it is filled in or has a killer.
    bool skipped(int cell) const { return filled(cell) || killer(cell) >= 0; }
    // Whether any cell is skipped.
    bool skipsAny() const { return !m_fill.empty() || m_killerCount > 0; }

private:
    // For each player: per board index, the group of a stone (0 and 1 for groups on the
    // player's first and second edge), or -1.
    using Labels = std::array<std::int16_t, PlayoutBoard::maxCells>;

    static constexpr unsigned allPlaces = 63; // the six places round a cell, as bits

    void start(const PlayoutBoard& board);
    void fillRounds();
    void labelGroups(int player);
    int label(int cell, int player) const;
    bool neverNeeds(int cell, int player, int except) const;
    unsigned unjoinedCore(int cell, int player, int except, bool firstOnly) const;
    int occupiedAround(int cell) const;
    bool findCells();
    bool findPairs();
    void add(int cell, int player, bool pair = false);
    void clearKillers();
    void relabel();
    bool markJoinedGroups(int player, int labelCount);
    void markAround(int cell);

    PlayoutBoard m_board{2};
    std::array<Labels, 2> m_labels{};
    std::array<int, 2> m_groupCount{}; // of each player's labels, edges included
    // Which cells a round must judge again (bit cellDirty: alone, pairDirty: in a pair), and
    // relabel()'s scratch: the labels before the round, and per new group the first old group
    // met in it, whether it joins several, the one kept unmarked; per old group its stones.
    static constexpr std::uint8_t cellDirty = 1;
    static constexpr std::uint8_t pairDirty = 2;
    std::array<std::uint8_t, PlayoutBoard::maxCells> m_dirty{};
    Labels m_oldLabels{};
    Labels m_firstOld{};
    Labels m_kept{};
    std::array<std::uint8_t, PlayoutBoard::maxCells> m_joined{};
    std::array<int, PlayoutBoard::maxCells> m_oldSize{};
    std::vector<int> m_radius2; // offsets of the cells within two steps
    int m_radius2Width = 0;
    std::vector<int> m_stack; // scratch of labelGroups()
    std::vector<Fill> m_fill;
    std::vector<Fill> m_round; // found in this round, filled in at its end
    std::array<std::uint8_t, PlayoutBoard::maxCells> m_filled{};
    // findKillers(): a cell's killer + 1 (0 for none), and the places round each cell of the
    // neighbours whose stone would kill it (bit j for ring direction j).
    std::array<std::int16_t, PlayoutBoard::maxCells> m_killer{};
    std::array<std::uint8_t, PlayoutBoard::maxCells> m_killedBy{};
    std::vector<int> m_killed; // the cells with a bit in m_killedBy
    int m_killerCount = 0;     // of the cells with a killer
    int m_winner = 0;
};
