#include "headless/Analysis.h"

#include "engine/HexSearch.h"
#include "engine/IntersectionMove.h"
#include "engine/PathFinder.h"
#include "engine/PositionValue.h"
#include "engine/StatusSink.h"
#include "model/Game.h"

#include <vector>

namespace {

using Json = nlohmann::ordered_json;

Json cellJson(Hex::Coord cell) {
    return Json::array({cell.row, cell.col});
}

Json cellsJson(const std::vector<Hex::Coord>& cells) {
    Json list = Json::array();
    for (const Hex::Coord cell : cells) {
        list.push_back(cellJson(cell));
    }
    return list;
}

Json boardJson(const Hex::Board& board) {
    const int n = static_cast<int>(board.size());
    Json rows = Json::array();
    for (int row = 0; row < n; ++row) {
        Json values = Json::array();
        for (int col = 0; col < n; ++col) {
            values.push_back(board.at(row, col));
        }
        rows.push_back(std::move(values));
    }
    return rows;
}

Json costJson(const PathFinder& finder) {
    const int n = static_cast<int>(finder.size());
    Json rows = Json::array();
    for (int row = 0; row < n; ++row) {
        Json costs = Json::array();
        for (int col = 0; col < n; ++col) {
            costs.push_back(finder.cost(row, col));
        }
        rows.push_back(std::move(costs));
    }
    return rows;
}

Json featuresJson(const PathFinder& finder) {
    const int n = static_cast<int>(finder.size());
    Json rows = Json::array();
    for (int row = 0; row < n; ++row) {
        Json cells = Json::array();
        for (int col = 0; col < n; ++col) {
            const PathFinder::Features features = finder.features(row, col);
            cells.push_back(Json(features));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

Json pathsJson(const std::vector<Path>& paths) {
    Json list = Json::array();
    for (const Path& path : paths) {
        Json entry;
        entry["cost"] = path.cost;
        entry["cells"] = cellsJson(path.cells);
        list.push_back(std::move(entry));
    }
    return list;
}

Json bySide(Json player1, Json player2) {
    Json sides;
    sides["1"] = std::move(player1);
    sides["2"] = std::move(player2);
    return sides;
}

// The look-ahead search's candidate moves for the side to move, duplicates included, in the
// order the search would make its children.
Json candidatesJson(const BoardPosition& position, PathFinder& player1, PathFinder& player2,
                    const std::vector<Path>& paths1, const std::vector<Path>& paths2) {
    const int rootType = position.toMove == 1 ? TreeNode::player1ToMove : TreeNode::player2ToMove;
    auto root = std::make_unique<HexNode>(nullptr, rootType, Hex::noMove, position.board);
    root->pathsP1() = paths1;
    root->pathsP2() = paths2;
    HexNode& rootNode = *root;
    StatusSink silent(nullptr);
    const std::atomic<bool> notStopped{false};
    HexSearch search(0, std::move(root), HexSearch::Owner{player1, player2, notStopped}, silent);
    return cellsJson(search.candidateMoves(rootNode));
}

} // namespace

nlohmann::ordered_json analyzePosition(const BoardPosition& position, const Weights& weights) {
    const Hex::Board& board = position.board;
    const std::uint32_t n = board.size();
    PathFinder player1(n, Hex::Game::player1Direction, Hex::Game::player1Stone);
    PathFinder player2(n, Hex::Game::player2Direction, Hex::Game::player2Stone);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    player1.setBoard(&board);
    player2.setBoard(&board);
    const std::vector<Path> paths1 = player1.bestPaths(n);
    const std::vector<Path> paths2 = player2.bestPaths(n);

    Json analysis;
    analysis["size"] = n;
    analysis["board"] = boardJson(board);
    analysis["to_move"] = position.toMove;
    analysis["last_move"] = cellJson(position.lastMove);
    analysis["winner"] = Hex::Game::winnerOf(board);
    analysis["winning_path"] = cellsJson(Hex::Game::winningPathOf(board));
    analysis["weights"] = weights;
    analysis["cost"] = bySide(costJson(player1), costJson(player2));
    analysis["features"] = bySide(featuresJson(player1), featuresJson(player2));
    analysis["paths"] = bySide(pathsJson(paths1), pathsJson(paths2));
    analysis["value"] = positionValue(paths1, paths2);
    analysis["intersection_move"] = cellJson(intersectionMove(player1, player2, board));
    analysis["candidates"] = candidatesJson(position, player1, player2, paths1, paths2);
    return analysis;
}
