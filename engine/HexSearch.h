#pragma once

#include "engine/GameTreeSearch.h"
#include "engine/HexNode.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

class PathFinder;

// The look-ahead search for Hex: a node's value is the position value of both players'
// cheapest paths, and its moves are the cells where a near-best path of Player 1 crosses a
// near-best path of Player 2, plus, next to each crossing, the empty cells on the opponent's
// near-best paths.
//
// Thread contract: as GameTreeSearch. The player's stop mark is set by the player's watcher
// thread and read here without a lock.
class HexSearch : public GameTreeSearch {
public:
    // What the search needs of the computer player it works for.
    struct Owner {
        PathFinder& player1Paths; // direction 0, stone value 1
        PathFinder& player2Paths; // direction 1, stone value 2
        const std::atomic<bool>& stopped;
    };

    // Bytes one node may take with its board and path lists on a board of side n, and the
    // memory the whole tree may use; the node ceiling follows from the two.
    static std::size_t bytesPerNode(std::uint32_t n);
    static constexpr std::size_t treeMemoryBudget = std::size_t{2} << 30; // 2 GiB

    HexSearch(std::int32_t budgetSeconds, std::unique_ptr<HexNode> root, Owner owner,
              MessageSink& sink, const Clock& clock = Clock::steady());

    HexNode& hexRoot() { return static_cast<HexNode&>(root()); }

    double evaluate(TreeNode& node) override;
    int expand(TreeNode& node) override;

    // The candidate moves of a node (duplicates included, in order), after the near-best
    // cut of its path lists; it makes no children and posts nothing.
    std::vector<Hex::Coord> candidateMoves(HexNode& node);

private:
    void ensurePlayer1Paths(HexNode& node);
    void ensurePlayer2Paths(HexNode& node);
    std::vector<Hex::Coord> crossingsAndBlocks(HexNode& node);
    void postRootPaths(const HexNode& node);

    Owner m_owner;
    std::vector<int> m_marks; // reused N x N mark grid of the crossings
};
