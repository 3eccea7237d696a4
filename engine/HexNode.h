#pragma once

#include "engine/Path.h"
#include "engine/TreeNode.h"
#include "model/Board.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// A position of the look-ahead search. Only the root holds a whole board and both players'
// path lists (kept for the display and the learning step); any other node holds the one
// stone its move placed, and its position is the root's with the stones of its line. A node
// other than the root keeps, once evaluated, only what the search reads again: its static
// value and its candidate moves, which it gives up when its children are made.
//
// Thread contract: the tree is built and read by the search's thread. A node's evaluation
// may be made on another thread: whoever claims the node (tryClaim) makes it and publishes
// it (publishEvaluation), after which every thread may read it. The fields of TreeNode and
// the children belong to the search's thread alone.
class HexNode : public TreeNode {
public:
    // The root, on a whole position. Its path lists are empty until computed (or set).
    HexNode(TreeNode* parentNode, int type, Hex::Coord firstMove, Hex::Board position);
    // A child: its parent's position with the parent's mover's stone on `stone`.
    HexNode(HexNode& parentNode, Hex::Coord stone, Hex::Coord firstMove);

    bool holdsBoard() const { return m_whole != nullptr; }
    std::uint32_t boardSize() const;
    // The position, rebuilt for a node that holds no board; `into` must have its size.
    void copyPosition(Hex::Board& into) const;

    // The whole board and the path lists of a node that holds its board (std::logic_error
    // for any other). An empty list means "not computed yet".
    Hex::Board& board();
    std::vector<Path>& pathsP1();
    std::vector<Path>& pathsP2();

    // The evaluation of a node that holds no board.
    bool tryClaim();
    // Gives a claim back unevaluated, for a thread that failed to evaluate the node.
    void abandonClaim();
    void publishEvaluation(double staticValue, std::span<const std::uint16_t> candidates);
    bool isEvaluated() const;
    // Waits while another thread holds the claim; true when it published an evaluation.
    bool waitUntilEvaluated() const;
    double staticValue() const { return m_staticValue; }
    // Cells row * N + col.
    std::span<const std::uint16_t> candidates() const { return {m_candidates.get(), m_count}; }
    void releaseCandidates();

private:
    struct Whole {
        Hex::Board board;
        std::vector<Path> pathsP1;
        std::vector<Path> pathsP2;
    };
    enum State : std::uint32_t { fresh, claimed, evaluated };

    Whole& whole();

    std::unique_ptr<Whole> m_whole;
    double m_staticValue = 0.0;
    std::unique_ptr<std::uint16_t[]> m_candidates;
    std::uint16_t m_count = 0;
    std::int8_t m_stoneRow = -1;
    std::int8_t m_stoneCol = -1;
    std::atomic<std::uint32_t> m_state{fresh};
};
