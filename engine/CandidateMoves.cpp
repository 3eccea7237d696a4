#include "engine/CandidateMoves.h"

#include "engine/CommonCells.h"
#include "engine/TreeNode.h"

#include <algorithm>

namespace {

bool contains(std::vector<Hex::Coord>::const_iterator first,
              std::vector<Hex::Coord>::const_iterator last, Hex::Coord cell) {
    return std::find(first, last, cell) != last;
}

} // namespace

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

std::vector<Hex::Coord> crossingsAndBlocks(const Hex::Board& board, int nodeType,
                                           std::vector<Path>& pathsP1, std::vector<Path>& pathsP2,
                                           std::vector<int>& marks) {
    const std::size_t countP1 = cutToNearBest(pathsP1);
    const std::size_t countP2 = cutToNearBest(pathsP2);
    const int n = static_cast<int>(board.size());
    marks.assign(static_cast<std::size_t>(n) * n, 0);

    // Crossings of every near-best pair; a pair that crosses marks its cells by owner.
    std::vector<Hex::Coord> candidates;
    for (std::size_t a = 0; a < countP1; ++a) {
        for (std::size_t b = 0; b < countP2; ++b) {
            const std::vector<Hex::Coord> crossing = commonCells(pathsP1[a], pathsP2[b]);
            for (const Hex::Coord cell : crossing) {
                if (!contains(candidates.begin(), candidates.end(), cell)) {
                    candidates.push_back(cell);
                }
            }
            if (crossing.empty()) {
                continue;
            }
            for (const Hex::Coord cell : pathsP1[a].cells) {
                marks[cell.row * n + cell.col] = 1;
            }
            for (const Hex::Coord cell : pathsP2[b].cells) {
                marks[cell.row * n + cell.col] = 2;
            }
        }
    }

    // Next to each crossing, the empty cells on the opponent's near-best paths.
    const int opponentMark = nodeType == TreeNode::player1ToMove ? 2 : 1;
    const std::size_t crossings = candidates.size();
    for (std::size_t i = 0; i < crossings; ++i) {
        const Hex::Coord centre = candidates[i];
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const Hex::Coord next{centre.row + dr, centre.col + dc};
                if (!board.inBounds(next.row, next.col) ||
                    !board.isNeighbour(centre.row, centre.col, next.row, next.col) ||
                    board.at(next.row, next.col) != 0 ||
                    marks[next.row * n + next.col] != opponentMark) {
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
