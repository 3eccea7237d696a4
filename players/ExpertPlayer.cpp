#include "players/ExpertPlayer.h"

#include "engine/MessageSink.h"
#include "mcts/OpeningBook.h"
#include "model/Game.h"
#include "players/MoveBudget.h"
#include "players/StopWatcher.h"
#include "players/ThinkingFinished.h"

#include <random>

namespace {

MctsSearch::Config searchConfig(const ExpertPlayer::Context& context) {
    MctsSearch::Config config;
    config.threads = context.threads;
    config.treeBytes = context.treeBytes;
    config.memory = context.memory;
    config.solver = context.solver;
    config.seed = context.seed ? *context.seed : std::random_device{}();
    config.priors = context.priors;
    config.templates = context.templates;
    config.connections = context.connections;
    config.inferior = context.inferior;
    config.playoutPatterns = context.playoutPatterns;
    config.solverConnections = context.solverConnections;
    return config;
}

} // namespace

ExpertPlayer::ExpertPlayer(std::string name, std::int32_t timeLimit, Context context)
    : TimedPlayer(std::move(name), context.clock), m_context(std::move(context)),
      m_timeLimit(timeLimit), m_search(searchConfig(m_context), &m_context.sink) {}

ExpertPlayer::~ExpertPlayer() {
    // A think that starts now sees m_closing (see think()); one that runs sees m_stopped.
    m_closing = true;
    m_stopped = true;
    waitUntilIdle();
}

Hex::Coord ExpertPlayer::chooseMove(Event& stopEvent) {
    const std::vector<Hex::Coord> moves = game()->moves();
    if (m_declinedAt && *m_declinedAt == moves) {
        m_declinedAt.reset(); // the swap decision's search already chose this move
        return m_declinedMove;
    }
    m_declinedAt.reset();
    const auto n = static_cast<std::int32_t>(game()->board().size());
    if (moves.empty() && usesBook()) {
        const Hex::Coord first = *OpeningBook::firstStone(static_cast<std::uint32_t>(n));
        return playFromBook(first, *OpeningBook::winRate(static_cast<std::uint32_t>(n), first));
    }
    const MctsSearch::Result result = think(stopEvent);
    if (result.move == Hex::noMove || result.move == Hex::Coord{n, n}) {
        return firstEmptyCell(); // a finished game has no search move; never the swap here
    }
    return result.move;
}

bool ExpertPlayer::decideSwap(Event& stopEvent) {
    const auto n = static_cast<std::int32_t>(game()->board().size());
    const std::vector<Hex::Coord> moves = game()->moves();
    if (moves.size() == 1 && usesBook()) {
        const auto side = static_cast<std::uint32_t>(n);
        const double ownersRate = *OpeningBook::winRate(side, moves[0]);
        if (*OpeningBook::swaps(side, moves[0])) {
            playFromBook(Hex::Coord{n, n}, ownersRate);
            return true;
        }
        m_bookDeclinedAt = moves; // the move is searched without the swap
        return false;
    }
    const MctsSearch::Result result = think(stopEvent);
    if (result.move == Hex::Coord{n, n}) {
        return true;
    }
    if (result.move != Hex::noMove) {
        m_declinedAt = game()->moves();
        m_declinedMove = result.move;
    }
    return false;
}

void ExpertPlayer::gameEnded() {
    m_search.forget();
    m_declinedAt.reset();
    m_bookDeclinedAt.reset();
}

bool ExpertPlayer::usesBook() const {
    return m_context.openingBook && m_context.swapRule &&
           OpeningBook::covers(game()->board().size());
}

Hex::Coord ExpertPlayer::playFromBook(Hex::Coord move, double winRate) {
    postStatus("Quorlen AI thinking...");
    m_lastResult = MctsSearch::Result{move, winRate, 0, 0.0, 0, 0};
    const std::atomic<bool> notStopped{false};
    postThinkingFinished(m_context.sink, notStopped);
    return move;
}

MctsSearch::Result ExpertPlayer::think(Event& stopEvent) {
    // Raised again at once if the player is being destroyed: the destructor's stop must not
    // be lost to this reset.
    m_stopped = false;
    if (m_closing) {
        m_stopped = true;
    }
    StopWatcher watcher(stopEvent, m_stopped);
    postStatus("Quorlen AI thinking...");

    const Hex::Game& current = *game();
    const std::uint32_t n = current.board().size();
    const bool swapDeclined = m_bookDeclinedAt && *m_bookDeclinedAt == current.moves();
    m_search.setPosition(
        MctsSearch::Position{n, current.moves(), m_context.swapRule && !swapDeclined});
    m_lastResult = m_search.run(limits(n, current.moveNumber()), m_stopped);

    postThinkingFinished(m_context.sink, m_stopped);
    return m_lastResult;
}

MctsSearch::Limits ExpertPlayer::limits(std::uint32_t n, int moveNumber) {
    MctsSearch::Limits limits;
    if (m_context.playouts) {
        limits.playouts = *m_context.playouts;
        return limits;
    }
    if (m_context.moveTime) {
        limits.time = *m_context.moveTime;
        return limits;
    }
    const ExpertThink think = expertThink(m_timeLimit, timeUsed(), n, moveNumber, shortestThink);
    limits.time = think.time;
    limits.closeCallExtra = think.closeCallExtra;
    return limits;
}

std::int32_t ExpertPlayer::timeBudget(std::uint32_t n, int moveNumber) {
    if (moveBudget(m_timeLimit, timeUsed(), n, moveNumber) <= 0) {
        return 0;
    }
    const ExpertThink think = expertThink(m_timeLimit, timeUsed(), n, moveNumber, shortestThink);
    const auto longest = think.time + think.closeCallExtra;
    return static_cast<std::int32_t>((longest.count() + 999) / 1000);
}

void ExpertPlayer::postStatus(const char* text) {
    m_context.sink.post(WmAppStatusText{text});
}
