#pragma once

#include "model/Coord.h"

#include <memory>
#include <vector>

// A node of the stored game tree. The tree owns its nodes from the root down.
class TreeNode {
public:
    static constexpr int player1ToMove = 1; // maximising
    static constexpr int player2ToMove = 0; // minimising

    TreeNode(TreeNode* parentNode, int type, Hex::Coord firstMove)
        : parent(parentNode), nodeType(type), move(firstMove) {}
    virtual ~TreeNode() = default;
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    std::vector<std::unique_ptr<TreeNode>> children;
    TreeNode* parent = nullptr;
    int nodeType = player1ToMove;
    // The cached static value, from Player 1's side; 0.0 means "not evaluated yet".
    double value = 0.0;
    // The root move that starts the line to this node; (-1, -1) at the root.
    Hex::Coord move = Hex::noMove;
};
