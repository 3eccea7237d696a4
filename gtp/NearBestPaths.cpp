#include "gtp/NearBestPaths.h"

#include "engine/HexSearch.h"
#include "engine/PathFinder.h"
#include "engine/StatusSink.h"
#include "model/Game.h"

#include <atomic>
#include <memory>

NearBestPaths NearBestPaths::of(const Hex::Board& board, const Weights& weights) {
    const std::uint32_t n = board.size();
    PathFinder player1(n, Hex::Game::player1Direction, Hex::Game::player1Stone);
    PathFinder player2(n, Hex::Game::player2Direction, Hex::Game::player2Stone);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    const std::atomic<bool> stopped{false};
    StatusSink quiet(nullptr);
    // A search that never runs: its root computes and cuts the path lists exactly as a
    // genmove's search does before it expands the root.
    HexSearch search(
        0, std::make_unique<HexNode>(nullptr, TreeNode::player1ToMove, Hex::noMove, board),
        HexSearch::Owner{player1, player2, stopped}, quiet);
    HexNode& root = search.hexRoot();
    NearBestPaths result;
    result.value = search.evaluate(root);
    search.candidateMoves(root);
    result.player1 = root.pathsP1();
    result.player2 = root.pathsP2();
    return result;
}
