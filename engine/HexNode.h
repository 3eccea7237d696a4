#pragma once

#include "engine/Path.h"
#include "engine/TreeNode.h"
#include "model/Board.h"

#include <vector>

// A position of the look-ahead search with both players' path lists, computed when the node
// is first evaluated or expanded and kept for the life of the tree (a node's board never
// changes). An empty list means "not computed yet".
class HexNode : public TreeNode {
public:
    HexNode(TreeNode* parentNode, int type, Hex::Coord firstMove, Hex::Board position)
        : TreeNode(parentNode, type, firstMove), board(std::move(position)) {}

    Hex::Board board;
    std::vector<Path> pathsP1;
    std::vector<Path> pathsP2;
};
