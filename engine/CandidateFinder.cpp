#include "engine/CandidateFinder.h"

#include "engine/TreeNode.h"

#include <algorithm>

std::size_t CandidateFinder::cutToNearBest(std::vector<Path>& paths) {
    if (paths.empty()) {
        return 0;
    }
    const double limit = 1.25 * paths.front().cost;
    const auto firstDearer = std::find_if(paths.begin(), paths.end(),
                                          [limit](const Path& path) { return path.cost > limit; });
    paths.erase(firstDearer, paths.end());
    return paths.size();
}

void CandidateFinder::prepare(std::size_t cells) {
    for (std::vector<std::uint8_t>* grid : {&m_marks, &m_onPath, &m_crossing, &m_block}) {
        grid->assign(cells, 0);
    }
}

// The cells of the Player 1 path that the Player 2 path passes too (commonCells), each listed
// the first time it is met; true when there is one. The Player 2 path's cells are flagged for
// the look-up, and the flags cleared again.
bool CandidateFinder::addCrossings(const Path& player1, const Path& player2, int n,
                                   std::vector<Hex::Coord>& candidates) {
    const auto at = [n](Hex::Coord cell) {
        return static_cast<std::size_t>(cell.row * n + cell.col);
    };
    for (const Hex::Coord cell : player2.cells) {
        m_onPath[at(cell)] = 1;
    }
    bool crossed = false;
    for (const Hex::Coord cell : player1.cells) {
        if (m_onPath[at(cell)] != 0) {
            crossed = true;
            if (m_crossing[at(cell)] == 0) {
                m_crossing[at(cell)] = 1;
                candidates.push_back(cell);
            }
        }
    }
    for (const Hex::Coord cell : player2.cells) {
        m_onPath[at(cell)] = 0;
    }
    return crossed;
}

std::vector<Hex::Coord> CandidateFinder::find(const Hex::Board& board, int nodeType,
                                              std::vector<Path>& pathsP1,
                                              std::vector<Path>& pathsP2) {
    const std::size_t countP1 = cutToNearBest(pathsP1);
    const std::size_t countP2 = cutToNearBest(pathsP2);
    const int n = static_cast<int>(board.size());
    prepare(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));

    // Crossings of every near-best pair; a pair that crosses marks its cells by owner.
    std::vector<Hex::Coord> candidates;
    for (std::size_t a = 0; a < countP1; ++a) {
        for (std::size_t b = 0; b < countP2; ++b) {
            if (!addCrossings(pathsP1[a], pathsP2[b], n, candidates)) {
                continue;
            }
            for (const Hex::Coord cell : pathsP1[a].cells) {
                m_marks[static_cast<std::size_t>(cell.row * n + cell.col)] = 1;
            }
            for (const Hex::Coord cell : pathsP2[b].cells) {
                m_marks[static_cast<std::size_t>(cell.row * n + cell.col)] = 2;
            }
        }
    }

    // Next to each crossing, the empty cells on the opponent's near-best paths, each once.
    const int opponentMark = nodeType == TreeNode::player1ToMove ? 2 : 1;
    const std::size_t crossings = candidates.size();
    for (std::size_t i = 0; i < crossings; ++i) {
        const Hex::Coord centre = candidates[i];
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const Hex::Coord next{centre.row + dr, centre.col + dc};
                if (!board.inBounds(next.row, next.col) ||
                    !board.isNeighbour(centre.row, centre.col, next.row, next.col) ||
                    board.at(next.row, next.col) != 0) {
                    continue;
                }
                const auto at = static_cast<std::size_t>(next.row * n + next.col);
                if (m_marks[at] == opponentMark && m_block[at] == 0) {
                    m_block[at] = 1;
                    candidates.push_back(next);
                }
            }
        }
    }
    return candidates;
}
