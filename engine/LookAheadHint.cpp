#include "engine/LookAheadHint.h"

#include "engine/HexSearch.h"
#include "engine/IntersectionMove.h"
#include "engine/PathFinder.h"
#include "engine/StatusSink.h"
#include "model/Game.h"

#include <algorithm>

LookAheadHint::LookAheadHint(const Weights& weights, const Clock& clock)
    : m_weights(weights), m_clock(clock) {}

HintEngine::Hint LookAheadHint::find(const Position& position, std::chrono::seconds time) {
    const Hex::Game replay(position.size, position.moves);
    const Hex::Board& board = replay.board();
    PathFinder player1(position.size, Hex::Game::player1Direction, Hex::Game::player1Stone);
    PathFinder player2(position.size, Hex::Game::player2Direction, Hex::Game::player2Stone);
    player1.setWeights(&m_weights);
    player2.setWeights(&m_weights);

    const int side = position.sideToMove();
    const int rootType = side == 1 ? TreeNode::player1ToMove : TreeNode::player2ToMove;
    StatusSink quiet(nullptr); // the hint's search shows no paths, values or status texts
    // The search's clock counts whole seconds: a budget of b ends within b + 1 seconds.
    const auto budget = static_cast<std::int32_t>(std::max<std::int64_t>(time.count() - 1, 0));
    HexSearch search(budget, std::make_unique<HexNode>(nullptr, rootType, Hex::noMove, board),
                     HexSearch::Owner{player1, player2, m_stopped}, quiet, m_clock);
    {
        std::lock_guard lock(m_searchLock);
        m_search = &search;
        if (m_stopped) {
            search.stop(); // stopped before the search existed
        }
    }
    int row = -1;
    int col = -1;
    const double value = search.run(row, col);
    {
        std::lock_guard lock(m_searchLock);
        m_search = nullptr;
    }
    if (row < 0 || col < 0) {
        return Hint{intersectionMove(player1, player2, board), std::nullopt};
    }
    if (search.depth() == 0) {
        return Hint{Hex::Coord{row, col}, std::nullopt}; // a move of an unfinished iteration
    }
    // The search values positions from Player 1's side.
    return Hint{Hex::Coord{row, col}, side == 1 ? value : -value};
}

void LookAheadHint::stop() {
    m_stopped = true;
    std::lock_guard lock(m_searchLock);
    if (m_search != nullptr) {
        m_search->stop();
    }
}
