#include "engine/HexSearch.h"

#include "engine/CommonCells.h"
#include "engine/MessageSink.h"
#include "engine/PathFinder.h"
#include "engine/PositionValue.h"

#include <algorithm>

namespace {

// Keeps the leading paths up to the first one dearer than 1.25 times the cheapest.
std::size_t cutToNearBest(std::vector<Path>& paths) {
    if (paths.empty()) {
        return 0;
    }
    const double limit = 1.25 * paths.front().cost;
    const auto firstDearer = std::find_if(paths.begin(), paths.end(),
                                          [limit](const Path& path) { return path.cost > limit; });
    paths.erase(firstDearer, paths.end());
    return paths.size();
}

bool contains(std::vector<Hex::Coord>::const_iterator first,
              std::vector<Hex::Coord>::const_iterator last, Hex::Coord cell) {
    return std::find(first, last, cell) != last;
}

} // namespace

std::size_t HexSearch::bytesPerNode(std::uint32_t n) {
    // The node, its board, and two path lists of up to n paths of about 2n cells each.
    const std::size_t cells = std::size_t{n} * n;
    const std::size_t pathList = n * (sizeof(Path) + 2 * n * sizeof(Hex::Coord));
    return sizeof(HexNode) + cells * sizeof(std::int32_t) + 2 * pathList;
}

HexSearch::HexSearch(std::int32_t budgetSeconds, std::unique_ptr<HexNode> root, Owner owner,
                     MessageSink& sink, const Clock& clock)
    : GameTreeSearch(budgetSeconds, std::move(root), sink, clock), m_owner(owner) {
    setNodeLimit(
        std::max<std::size_t>(1000, treeMemoryBudget / bytesPerNode(hexRoot().board.size())));
}

// Path lists are computed at most once per node. A cost map is recomputed only when a list
// must be computed from it: the lists, and so every value, are the same as when both maps are
// set for every node, and nothing else reads the maps before its next setBoard.
void HexSearch::ensurePlayer1Paths(HexNode& node) {
    if (node.pathsP1.empty()) {
        m_owner.player1Paths.setBoard(&node.board);
        node.pathsP1 = m_owner.player1Paths.bestPaths(node.board.size());
    }
}

void HexSearch::ensurePlayer2Paths(HexNode& node) {
    if (node.pathsP2.empty()) {
        m_owner.player2Paths.setBoard(&node.board);
        node.pathsP2 = m_owner.player2Paths.bestPaths(node.board.size());
    }
}

double HexSearch::evaluate(TreeNode& node) {
    auto& hexNode = static_cast<HexNode&>(node);
    ensurePlayer1Paths(hexNode);
    ensurePlayer2Paths(hexNode);
    return positionValue(hexNode.pathsP1, hexNode.pathsP2);
}

std::vector<Hex::Coord> HexSearch::candidateMoves(HexNode& node) {
    ensurePlayer1Paths(node);
    ensurePlayer2Paths(node);
    return crossingsAndBlocks(node);
}

int HexSearch::expand(TreeNode& node) {
    auto& hexNode = static_cast<HexNode&>(node);
    ensurePlayer1Paths(hexNode);
    if (isStopped()) {
        return 0;
    }
    ensurePlayer2Paths(hexNode);
    const std::vector<Hex::Coord> candidates = crossingsAndBlocks(hexNode);
    if (node.parent == nullptr) {
        postRootPaths(hexNode);
    }
    if (m_owner.stopped) {
        return static_cast<int>(candidates.size());
    }
    const int stone = node.nodeType == TreeNode::player1ToMove ? 1 : 2;
    const int childType = 1 - node.nodeType;
    node.children.reserve(node.children.size() + candidates.size());
    for (const Hex::Coord cell : candidates) {
        Hex::Board position = hexNode.board;
        position.cell(cell.row, cell.col, stone);
        const Hex::Coord firstMove = node.move.row >= 0 && node.move.col >= 0 ? node.move : cell;
        node.children.push_back(
            std::make_unique<HexNode>(&node, childType, firstMove, std::move(position)));
    }
    return static_cast<int>(candidates.size());
}

std::vector<Hex::Coord> HexSearch::crossingsAndBlocks(HexNode& node) {
    const std::size_t countP1 = cutToNearBest(node.pathsP1);
    const std::size_t countP2 = cutToNearBest(node.pathsP2);
    const Hex::Board& board = node.board;
    const int n = static_cast<int>(board.size());
    m_marks.assign(static_cast<std::size_t>(n) * n, 0);

    // Crossings of every near-best pair; a pair that crosses marks its cells by owner.
    std::vector<Hex::Coord> candidates;
    for (std::size_t a = 0; a < countP1; ++a) {
        for (std::size_t b = 0; b < countP2; ++b) {
            const std::vector<Hex::Coord> crossing = commonCells(node.pathsP1[a], node.pathsP2[b]);
            for (const Hex::Coord cell : crossing) {
                if (!contains(candidates.begin(), candidates.end(), cell)) {
                    candidates.push_back(cell);
                }
            }
            if (crossing.empty()) {
                continue;
            }
            for (const Hex::Coord cell : node.pathsP1[a].cells) {
                m_marks[cell.row * n + cell.col] = 1;
            }
            for (const Hex::Coord cell : node.pathsP2[b].cells) {
                m_marks[cell.row * n + cell.col] = 2;
            }
        }
    }

    // Next to each crossing, the empty cells on the opponent's near-best paths.
    const int opponentMark = node.nodeType == TreeNode::player1ToMove ? 2 : 1;
    const std::size_t crossings = candidates.size();
    for (std::size_t i = 0; i < crossings; ++i) {
        const Hex::Coord centre = candidates[i];
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const Hex::Coord next{centre.row + dr, centre.col + dc};
                if (!board.inBounds(next.row, next.col) ||
                    !board.isNeighbour(centre.row, centre.col, next.row, next.col) ||
                    board.at(next.row, next.col) != 0 ||
                    m_marks[next.row * n + next.col] != opponentMark) {
                    continue;
                }
                const auto blocks = candidates.begin() + static_cast<std::ptrdiff_t>(crossings);
                if (!contains(blocks, candidates.end(), next)) {
                    candidates.push_back(next);
                }
            }
        }
    }
    return candidates;
}

void HexSearch::postRootPaths(const HexNode& node) {
    if (!m_owner.stopped) {
        sink().post(WmAppShowPaths{1, node.pathsP1});
    }
    if (!m_owner.stopped) {
        sink().post(WmAppShowPaths{2, node.pathsP2});
    }
}
