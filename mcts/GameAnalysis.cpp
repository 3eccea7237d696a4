#include "mcts/GameAnalysis.h"

#include "mcts/MctsSearch.h"
#include "tactics/PlayoutBoard.h"

#include <limits>
#include <stdexcept>
#include <string>

namespace {

// What one search found in its position, for the side to move there.
struct PositionValue {
    Hex::Coord best = Hex::noMove;
    double winRate = 0.0;
    bool proven = false;
};

int playerOf(std::size_t moveIndex) {
    return moveIndex % 2 == 0 ? 1 : 2;
}

// The positions to search: one before every move, and the one after the last unless that
// move won. Refuses what is no legal game, so that no search is wasted on one.
std::size_t positionsToSearch(std::uint32_t size, const std::vector<Hex::Coord>& moves) {
    const auto n = static_cast<int>(size);
    if (n < 2 || n > PlayoutBoard::maxSize) {
        throw std::invalid_argument("the expert reviews boards of size 2 to 30");
    }
    PlayoutBoard board(n);
    const Hex::Coord swapMarker{n, n};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Hex::Coord move = moves[i];
        const std::string where = "move " + std::to_string(i + 1);
        if (i > 0 && board.connects(playerOf(i - 1))) {
            throw std::invalid_argument(where + " follows the winning move");
        }
        if (move == swapMarker) {
            if (i != 1) {
                throw std::invalid_argument(where + " is a swap, which only the second move is");
            }
            const int first = board.index(moves[0]);
            board.set(first, PlayoutBoard::empty);
            board.set(board.mirror(first), PlayoutBoard::player2);
            continue;
        }
        if (move.row < 0 || move.row >= n || move.col < 0 || move.col >= n ||
            board.at(board.index(move)) != PlayoutBoard::empty) {
            throw std::invalid_argument(where + " is off the board or on a taken cell");
        }
        board.set(board.index(move), static_cast<std::uint8_t>(playerOf(i)));
    }
    if (moves.empty()) {
        return 0;
    }
    const bool lastMoveWon = board.connects(playerOf(moves.size() - 1));
    return moves.size() + (lastMoveWon ? 0 : 1);
}

PositionValue valueOf(const MctsSearch& search, const MctsSearch::Result& found) {
    PositionValue value{found.move, found.winRate, false};
    for (const MctsSearch::RootMove& move :
         search.rootMoves(std::numeric_limits<std::size_t>::max())) {
        if (move.move == found.move) {
            value.proven = move.proven;
        }
    }
    return value;
}

} // namespace

GameAnalysis::GameAnalysis(Settings settings) : m_settings(settings) {}

GameAnalysis::Result GameAnalysis::run(std::uint32_t size, const std::vector<Hex::Coord>& moves,
                                       const std::atomic<bool>& stop,
                                       const Progress& progress) const {
    const std::size_t positions = positionsToSearch(size, moves);
    const std::size_t first = m_settings.firstMove == 0 ? 0 : m_settings.firstMove - 1;
    if (first > 0 && first >= moves.size()) {
        throw std::invalid_argument("the game has only " + std::to_string(moves.size()) + " moves");
    }
    MctsSearch::Config config;
    config.threads = m_settings.threads;
    config.seed = m_settings.seed;
    config.memory = m_settings.memory;
    MctsSearch search(config);
    MctsSearch::Limits limits;
    limits.time = m_settings.timePerPosition;
    if (m_settings.playoutsPerPosition) {
        limits.playouts = *m_settings.playoutsPerPosition;
    }

    Result result;
    std::vector<PositionValue> values;
    MctsSearch::Position position{size, {}, true};
    for (std::size_t k = first; k < positions && !stop.load(); ++k) {
        position.moves.assign(moves.begin(), moves.begin() + static_cast<std::ptrdiff_t>(k));
        search.setPosition(position); // keeps the subtree of the move played
        const MctsSearch::Result found = search.run(limits, stop);
        if (stop.load()) {
            break; // a search cut short says too little
        }
        values.push_back(valueOf(search, found));
        if (k > first) {
            const PositionValue& before = values[values.size() - 2];
            const PositionValue& after = values.back();
            result.moves.push_back(MoveAnalysis::of(moves[k - 1], playerOf(k - 1), before.best,
                                                    before.winRate, before.proven,
                                                    1.0 - after.winRate, after.proven));
        }
        if (progress) {
            progress(k + 1 - first, positions - first);
        }
    }
    const bool lastMoveWon = positions == moves.size();
    if (!moves.empty() && lastMoveWon && first < moves.size() &&
        values.size() == positions - first) {
        const PositionValue& before = values.back();
        result.moves.push_back(MoveAnalysis::of(moves.back(), playerOf(moves.size() - 1),
                                                before.best, before.winRate, before.proven, 1.0,
                                                true));
    }
    result.complete = result.moves.size() == moves.size() - first;
    return result;
}

GameAnalysis::PlayerSummary GameAnalysis::summaryOf(const std::vector<MoveAnalysis>& moves,
                                                    int player) {
    PlayerSummary summary;
    double totalLoss = 0.0;
    for (const MoveAnalysis& move : moves) {
        if (move.player == player) {
            ++summary.labels.at(static_cast<std::size_t>(move.label));
            ++summary.moves;
            totalLoss += move.loss;
        }
    }
    summary.averageLoss = summary.moves > 0 ? totalLoss / summary.moves : 0.0;
    return summary;
}
