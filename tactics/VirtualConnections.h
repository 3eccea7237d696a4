#pragma once

#include "tactics/PlayoutBoard.h"

#include <array>
#include <cstdint>
#include <vector>

// One player's virtual connections (H-search): which of its groups and edges are sure to be
// joined whatever the other side does (a full connection), and which would be with one more
// stone of the player on a key cell (a semi-connection), each with its carrier, the empty
// cells that the proof uses. Built up from adjacency by two rules: two connections in series
// (AND: through a stone or an edge they make a full connection, through an empty cell a
// semi-connection with that cell as its key) and semi-connections in parallel whose carriers
// share no cell (OR, up to four at a time, a full connection).
//
// Bounded, so incomplete but sound: every connection it reports holds. A pair keeps a few
// carriers of each kind; connections from a group to an empty cell keep only small carriers,
// and two empty cells are joined only by adjacency.
//
// Plain data, reused between positions; no thread contract.
class VirtualConnections {
public:
    // Reads the board for `player`.
    void compute(const PlayoutBoard& board, int player);

    // The player's edges are joined, on the board or virtually: it wins whoever moves.
    bool connected() const { return m_connected; }
    // Cells (board indices) where a stone of the player joins its edges virtually: the keys of
    // its semi-connections, or when they are joined already, the smallest carrier's cells.
    const std::vector<int>& winningCells() const { return m_winningCells; }
    // Whether the other side must play in the region below to stop the player: the player is
    // connected or has a winning cell. A stone outside the region loses for the other side.
    bool threatens() const { return m_connected || !m_winningCells.empty(); }
    // Whether `cell` (an empty board cell) lies in every edge connection's carrier or key;
    // every cell does when the player does not threaten.
    bool mustPlay(int cell) const;
    // The cells a proof of threatens() uses (board indices): the smallest carrier when the
    // player is connected, else every edge semi-connection's carrier with its key. The other
    // side may be given any other empty cell and still has to play among them.
    const std::vector<int>& threatCarrier() const { return m_threatCarrier; }
    // One winning cell with the smallest proof, and that proof's carrier, the key included
    // (when the player is connected, a cell of the smallest full carrier, and that carrier).
    int winningKey() const { return m_winningKey; }
    const std::vector<int>& winningCarrier() const { return m_winningCarrier; }

private:
    static constexpr int maxWords = (PlayoutBoard::maxSize * PlayoutBoard::maxSize + 63) / 64;
    static constexpr std::size_t maxFull = 4;
    static constexpr std::size_t maxSemi = 8;
    static constexpr int maxOr = 4;
    static constexpr int maxCellCarrier = 10; // group or edge to an empty cell

    using CellSet = std::array<std::uint64_t, maxWords>; // cells by row * N + col

    struct Semi {
        CellSet carrier; // the key included
        int key;
    };
    struct Pair {
        std::vector<CellSet> full;
        std::vector<Semi> semi;
        bool partners = false; // listed in m_partners (once it has had a full connection)
    };
    struct NewFull {
        int group;
        int other; // a node
        CellSet carrier;
    };

    // Nodes: an empty cell is node row * N + col; group g (the edges are groups 0 and 1) is
    // node cells + g.
    bool isGroup(int node) const { return node >= m_cells; }
    Pair& pair(int group, int node);
    void findGroups(const PlayoutBoard& board, int player);
    bool redundant(int node, const Pair& vcs, const CellSet& carrier) const;
    void addFull(int group, int node, const CellSet& carrier);
    void addSemi(int group, int node, int key, const CellSet& carrier);
    void orRule(int group, int node, const CellSet& common, const CellSet& all, std::size_t from,
                int depth);
    void andThroughCell(const NewFull& full);
    void andThroughGroup(int middle, int end, const CellSet& carrier);
    void finish();
    void listCells(const CellSet& set, std::vector<int>& cells) const;

    bool disjoint(const CellSet& a, const CellSet& b) const;
    bool subset(const CellSet& a, const CellSet& b) const; // a within b
    bool empty(const CellSet& a) const;
    int count(const CellSet& a) const;
    CellSet unite(const CellSet& a, const CellSet& b) const;
    CellSet intersect(const CellSet& a, const CellSet& b) const;
    static bool has(const CellSet& set, int cell) { return (set[cell >> 6] >> (cell & 63)) & 1U; }
    static void add(CellSet& set, int cell) { set[cell >> 6] |= std::uint64_t{1} << (cell & 63); }

    int m_size = 0;
    int m_cells = 0; // m_size * m_size
    int m_words = 0;
    int m_groups = 0;
    std::vector<int> m_padded;    // board index of each cell
    std::vector<int> m_groupOf;   // per board index: the group of a stone or an edge, or -1
    std::vector<int> m_emptyNext; // per cell, 6 slots: neighbouring empty cells, -1 ends
    std::vector<int> m_groupNext; // per cell, 6 slots: neighbouring groups, -1 ends
    std::vector<Pair> m_pairs;    // [group * (cells + groups) + node]
    std::vector<std::vector<int>> m_partners; // per group: the nodes it has full connections to
    std::vector<NewFull> m_queue;
    std::vector<int> m_stack; // scratch of findGroups()
    bool m_connected = false;
    std::vector<int> m_winningCells;
    CellSet m_mustPlay{};
    std::vector<int> m_threatCarrier;
    std::vector<int> m_winningCarrier;
    int m_winningKey = -1;
};
