#include "mcts/MctsSearch.h"

#include "engine/IntersectionMove.h"
#include "engine/MessageSink.h"
#include "engine/PathFinder.h"
#include "engine/Weights.h"
#include "model/CellName.h"
#include "tactics/InferiorCells.h"
#include "tactics/PatternPrior.h"
#include "tactics/PlayoutPatterns.h"
#include "tactics/VirtualConnections.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
// An unvisited move without RAVE samples is tried before any other.
constexpr float firstPlayUrgency = 2.0F;
// The swap has no cell, so no RAVE samples: these visits at even odds stand in for them, so
// that one lost playout does not rank it below every cell for good (without exploration,
// nothing would ever try it again).
constexpr float swapPriorVisits = 10.0F;

// A counter as a float, through a signed conversion, which is one instruction where the
// unsigned 64-bit one is several; every count stays far below 2^63, so the value is the same.
template <typename Count>
float asFloat(const std::atomic<Count>& count) {
    return static_cast<float>(static_cast<std::int64_t>(count.load(relaxed)));
}

} // namespace

// What one search thread works with; built once per board size, so that a simulation
// allocates nothing.
struct MctsSearch::Worker {
    Worker(std::uint64_t seed, int size, bool templates, const PlayoutPatterns* patterns)
        : playout(seed, templates, patterns), board(size) {}

    Playout playout;
    PlayoutBoard board;
    std::array<VirtualConnections, 2> connections; // the mover's and the side to move's
    InferiorCells inferior;
    std::array<MctsNode*, PlayoutBoard::maxCells + 2> path{};
    std::atomic<std::uint64_t> playouts{0}; // of the running search; read by the timekeeper
};

MctsSearch::Config MctsSearch::expertConfig() {
    Config config;
    config.priors = true;
    config.inferior = true;
    return config;
}

MctsSearch::MctsSearch(Config config, MessageSink* sink)
    : m_config(std::move(config)), m_sink(sink),
      m_tree(m_config.treeBytes == 0 ? ~std::size_t{0} : m_config.treeBytes / sizeof(MctsNode),
             m_config.memory
                 ? m_config.memory
                 : std::make_shared<TreeMemoryBudget>(TreeMemoryBudget::machineDefault())) {
    m_config.threads = std::max(1, m_config.threads);
    m_config.expandThreshold = std::max<std::uint32_t>(1, m_config.expandThreshold);
    m_raveA = static_cast<float>(1.0 / m_config.raveInitial);
    m_raveB = static_cast<float>(1.0 / m_config.raveFinal);
    if (m_config.priors) {
        m_patterns = std::make_unique<const PatternPrior>();
        m_priorVisits = static_cast<float>(std::max(0.0, m_config.priorVisits));
    }
    if (m_config.playoutPatterns) {
        m_playoutPatterns = std::make_unique<const PlayoutPatterns>();
    }
}

MctsSearch::~MctsSearch() = default;

bool MctsSearch::setPosition(const Position& position) {
    const auto n = static_cast<int>(position.size);
    if (n < 2 || n > PlayoutBoard::maxSize) {
        throw std::invalid_argument("board size out of range");
    }
    PlayoutBoard board(n);
    const Hex::Coord swapMarker{n, n};
    for (std::size_t i = 0; i < position.moves.size(); ++i) {
        const Hex::Coord move = position.moves[i];
        if (move == swapMarker) {
            if (i != 1 || !position.swapRule) {
                throw std::invalid_argument("a swap where none is offered");
            }
            const int first = board.index(position.moves[0]);
            board.set(first, PlayoutBoard::empty);
            board.set(board.mirror(first), PlayoutBoard::player2);
            continue;
        }
        if (move.row < 0 || move.row >= n || move.col < 0 || move.col >= n ||
            board.at(board.index(move)) != PlayoutBoard::empty) {
            throw std::invalid_argument("a move on an occupied cell or off the board");
        }
        board.set(board.index(move), i % 2 == 0 ? PlayoutBoard::player1 : PlayoutBoard::player2);
    }

    // The tree is kept when the new position lies below its root.
    bool kept = false;
    const auto& old = m_position.moves;
    const auto& now = position.moves;
    if (m_hasPosition && m_position.size == position.size &&
        m_position.swapRule == position.swapRule && old.size() <= now.size() &&
        std::equal(old.begin(), old.end(), now.begin())) {
        const MctsNode* node = &m_tree.root();
        for (std::size_t k = old.size(); k < now.size() && node != nullptr; ++k) {
            const int move = now[k] == swapMarker ? MctsNode::swapMove : board.index(now[k]);
            const MctsNode* children = node->children.load(std::memory_order_acquire);
            const MctsNode* next = nullptr;
            for (std::size_t i = 0; children != nullptr && i < node->childCount; ++i) {
                if (children[i].move == move) {
                    next = &children[i];
                }
            }
            node = next;
        }
        if (node != nullptr) {
            if (node != &m_tree.root()) {
                m_tree.keepSubtree(*node);
            }
            kept = true;
        }
    }
    if (!kept) {
        m_tree.clear();
    }

    if (m_workers.empty() || m_workers.front()->board.size() != n) {
        m_workers.clear();
        for (int t = 0; t < m_config.threads; ++t) {
            m_workers.push_back(std::make_unique<Worker>(
                m_config.seed * 0x100000001B3ULL + static_cast<std::uint64_t>(t), n,
                m_config.templates, m_playoutPatterns.get()));
        }
    }
    m_position = position;
    m_rootBoard = std::make_unique<PlayoutBoard>(board);
    m_rootToMove = now.size() % 2 == 0 ? 1 : 2;
    m_rootLastMove = !now.empty() && now.back() != swapMarker ? board.index(now.back()) : -1;
    m_rootFirstStone = now.size() == 1 ? board.index(now.front()) : -1;
    m_resistingMove = -1;
    m_solverTried = false;
    m_hasPosition = true;
    m_rootFill.reset();
    if (m_config.inferior && now.size() >= (position.swapRule ? 2U : 1U) && !board.connects(1) &&
        !board.connects(2)) {
        auto fill = std::make_unique<InferiorCells>();
        fill->compute(board);
        fill->findKillers(m_rootToMove);
        if (fill->winner() == 0 && fill->skipsAny()) {
            m_rootFill = std::move(fill);
        }
    }
    return kept;
}

MctsSearch::Result MctsSearch::run(const Limits& limits, const std::atomic<bool>& stop) {
    Result result;
    if (!m_hasPosition) {
        return result;
    }
    const auto start = std::chrono::steady_clock::now();
    m_done = false;
    m_tickets = 0;
    for (const auto& worker : m_workers) {
        worker->playouts = 0;
    }
    m_start = start;
    try {
        // The root gets its children first, so that even a search stopped at once has a move.
        MctsNode& root = m_tree.root();
        if (root.children.load(std::memory_order_acquire) == nullptr) {
            Worker& worker = *m_workers.front();
            worker.board.copyFrom(*m_rootBoard);
            expand(worker, root, m_rootToMove, static_cast<int>(m_position.moves.size()));
        }
        solveRoot(limits, stop);
        runThreads(limits, stop);
        if (m_resistingMove < 0 && root.proof.load(relaxed) == MctsNode::moverWins) {
            m_resistingMove = resistingMove();
        }
    } catch (...) {
        // A node may be left half expanded: nothing of this tree is trusted again.
        forget();
        throw;
    }

    if (const MctsNode* best = bestChild()) {
        const RootMove described = describe(*best);
        result.move = described.move;
        result.winRate = described.winRate;
        if (described.visits == 0 && !described.proven) {
            result.move = consideredMove(); // stopped before any playout
            result.winRate = 0.5;
        }
    }
    result.playouts = playoutsSoFar();
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.nodes = m_tree.nodeCount();
    result.treeBytes = m_tree.bytes();
    return result;
}

// Every thread's error is caught where it happens, so that the others are stopped and joined
// before the first error goes on to the caller.
void MctsSearch::runThreads(const Limits& limits, const std::atomic<bool>& stop) {
    std::vector<std::exception_ptr> errors(m_workers.size());
    const auto guarded = [&](std::size_t t) {
        try {
            work(*m_workers[t], limits, stop, t == 0);
        } catch (...) {
            errors[t] = std::current_exception();
            m_done = true;
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(m_workers.size());
    try {
        for (std::size_t t = 1; t < m_workers.size(); ++t) {
            helpers.emplace_back(guarded, t);
        }
    } catch (...) {
        // The threads that started search on; the search is only slower.
    }
    guarded(0);
    m_done = true;
    for (std::thread& helper : helpers) {
        helper.join();
    }
    for (const std::exception_ptr& error : errors) {
        if (error) {
            std::rethrow_exception(error);
        }
    }
}

// A small enough root is first given to the solver; what it proves goes into the root's
// children, where the search and its readers see it as they see their own proofs.
void MctsSearch::solveRoot(const Limits& limits, const std::atomic<bool>& stop) {
    MctsNode& root = m_tree.root();
    // A root that an earlier solve proved as a move of its own has children that nothing
    // has proved: the proof names no move, so the root is solved (or searched) again.
    // A root pruned as a move of its parent is searched as any other.
    const bool hasMoves = root.children.load(std::memory_order_acquire) != nullptr;
    if ((hasMoves && root.proof.load(relaxed) != MctsNode::unproven && !rootMovesDecide()) ||
        root.proof.load(relaxed) == MctsNode::pruned) {
        root.proof.store(MctsNode::unproven, relaxed);
    }
    const bool swapOffered = m_position.swapRule && m_position.moves.size() < 2;
    if (!m_config.solver || m_solverTried || swapOffered || !hasMoves ||
        root.proof.load(relaxed) != MctsNode::unproven) {
        return;
    }
    int empties = 0;
    for (int cell = m_rootBoard->firstCell(); cell < m_rootBoard->endCell(); ++cell) {
        empties += m_rootBoard->at(cell) == PlayoutBoard::empty ? 1 : 0;
    }
    if (empties > m_config.solverEmptyCells) {
        return;
    }
    DfpnSolver::Limits budget;
    budget.nodes = std::min(m_config.solverNodes, limits.playouts);
    if (limits.time < std::chrono::hours(24 * 365)) {
        budget.time = std::chrono::milliseconds(static_cast<std::int64_t>(
            static_cast<double>(limits.time.count()) * m_config.solverShare));
    }
    if (!m_solver) {
        m_solver = std::make_unique<DfpnSolver>(DfpnSolver::defaultTableBytes,
                                                m_config.connections || m_config.solverConnections);
    }
    m_solverTried = true;
    markSolved(m_solver->solve(*m_rootBoard, m_rootToMove, budget, stop));
}

// Whether a root move is proven won, or all are proven lost.
bool MctsSearch::rootMovesDecide() const {
    const MctsNode& root = m_tree.root();
    const MctsNode* children = root.children.load(std::memory_order_acquire);
    bool allLost = children != nullptr;
    for (std::size_t i = 0; children != nullptr && i < root.childCount; ++i) {
        const std::int8_t proof = children[i].proof.load(relaxed);
        if (proof == MctsNode::moverWins) {
            return true;
        }
        allLost = allLost && proof < 0;
    }
    return allLost;
}

void MctsSearch::markSolved(const DfpnSolver::Result& solved) {
    if (solved.outcome == DfpnSolver::Outcome::unknown || solved.move == Hex::noMove) {
        return;
    }
    MctsNode& root = m_tree.root();
    MctsNode* children = root.children.load(std::memory_order_acquire);
    const int move = m_rootBoard->index(solved.move);
    const bool won = solved.outcome == DfpnSolver::Outcome::won;
    for (std::size_t i = 0; i < root.childCount; ++i) {
        if (!won) {
            children[i].proof.store(MctsNode::moverLoses, relaxed);
        } else if (children[i].move == move) {
            children[i].proof.store(MctsNode::moverWins, relaxed);
        }
    }
    m_resistingMove = won ? -1 : move;
    root.proof.store(won ? MctsNode::moverLoses : MctsNode::moverWins, relaxed);
}

void MctsSearch::forget() {
    m_tree.clear();
    m_hasPosition = false;
    m_position = Position{};
    m_rootBoard.reset();
}

void MctsSearch::work(Worker& worker, const Limits& limits, const std::atomic<bool>& stop,
                      bool timekeeper) {
    // The clock is read every few playouts, by one thread; the flags at every playout.
    constexpr std::uint64_t clockEvery = 16;
    const bool timed = limits.time < std::chrono::hours(24 * 365);
    auto deadline = m_start + (timed ? limits.time : std::chrono::milliseconds(0));
    bool extended = limits.closeCallExtra <= std::chrono::milliseconds(0);
    const bool counted = limits.playouts != std::numeric_limits<std::uint64_t>::max();
    auto nextReport = m_start + m_config.reportEvery;
    constexpr auto decidedCheckEvery = std::chrono::milliseconds(50);
    auto nextDecidedCheck = m_start + decidedCheckEvery;
    std::uint64_t done = 0;
    while (!m_done.load(relaxed) && !stop.load(relaxed) &&
           m_tree.root().proof.load(relaxed) == MctsNode::unproven) {
        if (counted && m_tickets.fetch_add(1, relaxed) >= limits.playouts) {
            break;
        }
        simulate(worker);
        worker.playouts.store(++done, relaxed);
        if (timekeeper && done % clockEvery == 0) {
            const auto now = std::chrono::steady_clock::now();
            if (timed && now >= deadline) {
                if (extended || !isCloseCall()) {
                    break;
                }
                extended = true;
                deadline = now + limits.closeCallExtra;
            }
            if (timed && m_config.stopWhenDecided && now >= nextDecidedCheck) {
                if (bestMoveIsSettled(now, deadline)) {
                    break;
                }
                nextDecidedCheck = now + decidedCheckEvery;
            }
            if (m_sink != nullptr && now >= nextReport) {
                report(playoutsSoFar());
                nextReport = now + m_config.reportEvery;
            }
        }
    }
    m_done.store(true, relaxed);
}

bool MctsSearch::isCloseCall() const {
    const std::vector<RootMove> best = rootMoves(2);
    return best.size() == 2 && !best[0].proven && 3 * best[1].visits >= 2 * best[0].visits;
}

bool MctsSearch::bestMoveIsSettled(std::chrono::steady_clock::time_point now,
                                   std::chrono::steady_clock::time_point deadline) const {
    // Settled when the runner-up could not catch up with the most visited move even if every
    // playout of the time left went to it, at the rate so far.
    const double elapsed = std::chrono::duration<double>(now - m_start).count();
    const double left = std::chrono::duration<double>(deadline - now).count();
    const MctsNode& root = m_tree.root();
    const MctsNode* children = root.children.load(std::memory_order_acquire);
    if (elapsed <= 0.0 || children == nullptr) {
        return false;
    }
    std::uint64_t first = 0;
    std::uint64_t second = 0;
    for (std::size_t i = 0; i < root.childCount; ++i) {
        const std::uint64_t visits = children[i].visits.load(relaxed);
        if (visits > first) {
            second = first;
            first = visits;
        } else if (visits > second) {
            second = visits;
        }
    }
    const double rate = static_cast<double>(playoutsSoFar()) / elapsed;
    return static_cast<double>(first - second) > rate * left;
}

void MctsSearch::simulate(Worker& worker) {
    PlayoutBoard& board = worker.board;
    board.copyFrom(*m_rootBoard);
    MctsNode* node = &m_tree.root();
    node->visits.fetch_add(1, relaxed);
    worker.path[0] = node;
    int depth = 0;
    int toMove = m_rootToMove;
    auto moveCount = static_cast<int>(m_position.moves.size());
    int lastMove = m_rootLastMove;
    int firstStone = m_rootFirstStone;
    int winner = 0;

    // Down the tree, each step counted at once (the virtual loss that spreads the threads).
    for (;;) {
        const std::int8_t proof = node->proof.load(relaxed);
        if (MctsNode::isProof(proof)) {
            winner = proof == MctsNode::moverWins ? 3 - toMove : toMove;
            break;
        }
        MctsNode* children = node->children.load(std::memory_order_acquire);
        if (children == nullptr) {
            const std::uint64_t visits = node->visits.load(relaxed);
            if (depth > 0 && (visits < m_config.expandThreshold || visits < expandThreshold())) {
                break;
            }
            children = expand(worker, *node, toMove, moveCount);
            if (children == nullptr) {
                if (MctsNode::isProof(node->proof.load(relaxed))) {
                    continue; // the game is over here
                }
                break; // another thread is expanding it, or the tree is full
            }
        }
        const bool swapOffered = m_position.swapRule && moveCount == 1;
        if (m_config.inferior && node->visits.load(relaxed) >= m_config.inferiorVisits &&
            !swapOffered && firstRead(*node, MctsNode::inferiorRead)) {
            applyInferior(worker, *node, children, toMove);
            if (MctsNode::isProof(node->proof.load(relaxed))) {
                continue;
            }
        }
        if (m_config.connections && node->visits.load(relaxed) >= m_config.connectionVisits &&
            !swapOffered && firstRead(*node, MctsNode::connectionsRead)) {
            applyConnections(worker, *node, children, toMove);
            if (MctsNode::isProof(node->proof.load(relaxed))) {
                continue;
            }
        }
        MctsNode* child =
            m_patterns ? select<true>(*node, children) : select<false>(*node, children);
        child->visits.fetch_add(1, relaxed);
        play(board, child->move, toMove, firstStone);
        if (moveCount == 0) {
            firstStone = child->move;
        }
        lastMove = child->move;
        toMove = 3 - toMove;
        ++moveCount;
        node = child;
        worker.path[static_cast<std::size_t>(++depth)] = node;
    }

    if (winner == 0) {
        if (m_rootFill) {
            m_rootFill->apply(board);
        }
        winner = worker.playout.run(board, toMove, lastMove);
    }
    backUp(worker, depth, winner);
}

std::uint64_t MctsSearch::expandThreshold() const {
    double free = 1.0 - m_tree.fill();
    std::uint64_t threshold = m_config.expandThreshold;
    for (int doubling = 0; free <= 0.5 && doubling < 24; ++doubling) {
        threshold *= 2;
        free *= 2.0;
    }
    return threshold;
}

MctsNode* MctsSearch::expand(Worker& worker, MctsNode& node, int toMove, int moveCount) {
    PlayoutBoard& board = worker.board;
    std::uint8_t expected = MctsNode::leaf;
    if (!node.state.compare_exchange_strong(expected, MctsNode::expanding,
                                            std::memory_order_acq_rel)) {
        return nullptr;
    }
    // Only the side that has just moved can have joined its edges.
    if (moveCount > 0 && board.connects(3 - toMove)) {
        node.proof.store(MctsNode::moverWins, relaxed);
        node.state.store(MctsNode::closed, std::memory_order_release);
        return nullptr;
    }
    const bool swapOffered = m_position.swapRule && moveCount == 1;
    // At the root, the cells that the fill-in takes (no better than a pass) and those with a
    // killer get no node while others are left; deeper, they are pruned once the node has
    // been visited enough.
    const InferiorCells* inferior = nullptr;
    if (m_rootFill && &node == &m_tree.root()) {
        inferior = m_rootFill.get();
    }
    int empties = 0;
    int open = 0;
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (board.at(cell) == PlayoutBoard::empty) {
            ++empties;
            open += inferior == nullptr || !inferior->skipped(cell) ? 1 : 0;
        }
    }
    const bool prune = open > 0 && open < empties;
    const int moves = prune ? open : empties;
    const auto count = static_cast<std::size_t>(moves + (swapOffered ? 1 : 0));
    MctsNode* block = m_tree.allocate(count);
    if (block == nullptr) {
        node.state.store(MctsNode::closed, std::memory_order_release);
        return nullptr;
    }
    std::size_t i = 0;
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        if (board.at(cell) == PlayoutBoard::empty && !(prune && inferior->skipped(cell))) {
            block[i++].move = static_cast<std::int16_t>(cell);
        }
    }
    if (swapOffered) {
        block[i].move = MctsNode::swapMove;
    }
    if (m_patterns) {
        setPriors(block, static_cast<std::size_t>(moves), board, toMove);
    }
    node.childCount = static_cast<std::uint16_t>(count);
    node.children.store(block, std::memory_order_release);
    node.state.store(MctsNode::expanded, std::memory_order_release);
    return block;
}

// Exact knowledge, so it goes into the proofs: a side whose edges are virtually joined has
// won, one to move with a winning cell wins there, and the side to move must meet every
// threat of the mover at once, inside the cells common to all of them.
void MctsSearch::applyConnections(Worker& worker, MctsNode& node, MctsNode* children, int toMove) {
    VirtualConnections& mover = worker.connections[0];
    VirtualConnections& own = worker.connections[1];
    const std::size_t count = node.childCount;
    mover.compute(worker.board, 3 - toMove);
    if (!mover.connected()) {
        own.compute(worker.board, toMove);
        if (!own.winningCells().empty()) {
            const int winning = own.winningCells().front();
            for (std::size_t i = 0; i < count; ++i) {
                if (children[i].move == winning) {
                    children[i].proof.store(MctsNode::moverWins, relaxed);
                    node.proof.store(MctsNode::moverLoses, relaxed);
                }
            }
            return;
        }
    }
    if (!mover.threatens()) {
        return;
    }
    bool allLost = true;
    for (std::size_t i = 0; i < count; ++i) {
        if (mover.connected() || !mover.mustPlay(children[i].move)) {
            children[i].proof.store(MctsNode::moverLoses, relaxed);
        }
        allLost = allLost && children[i].proof.load(relaxed) < 0;
    }
    if (allLost) {
        node.proof.store(MctsNode::moverWins, relaxed);
    }
}

bool MctsSearch::firstRead(MctsNode& node, std::uint8_t what) {
    return (node.knowledge.load(relaxed) & what) == 0 &&
           (node.knowledge.fetch_or(what, relaxed) & what) == 0;
}

// Exact too: a node whose filled-in board joins a side's edges is decided; otherwise its
// moves on filled-in cells are pruned (each no better than a pass), while another is left.
void MctsSearch::applyInferior(Worker& worker, MctsNode& node, MctsNode* children, int toMove) {
    InferiorCells& inferior = worker.inferior;
    inferior.compute(worker.board);
    if (inferior.winner() != 0) {
        node.proof.store(inferior.winner() == toMove ? MctsNode::moverLoses : MctsNode::moverWins,
                         relaxed);
        return;
    }
    inferior.findKillers(toMove);
    const std::size_t count = node.childCount;
    bool anyOpen = false;
    for (std::size_t i = 0; i < count && !anyOpen; ++i) {
        anyOpen = children[i].move == MctsNode::swapMove || !inferior.skipped(children[i].move);
    }
    bool allLost = true;
    for (std::size_t i = 0; anyOpen && i < count; ++i) {
        MctsNode& child = children[i];
        std::int8_t unproven = MctsNode::unproven;
        if (child.move != MctsNode::swapMove && inferior.skipped(child.move)) {
            child.proof.compare_exchange_strong(unproven, MctsNode::pruned, relaxed);
        }
        allLost = allLost && child.proof.load(relaxed) < 0;
    }
    if (anyOpen && allLost) {
        node.proof.store(MctsNode::moverWins, relaxed); // every move that matters loses
    }
}

// In a lost root, the move played once all are proven lost: one inside every connection of the
// winner, else one of the cells that its connections need; -1 when they do not say.
int MctsSearch::resistingMove() const {
    VirtualConnections winner;
    winner.compute(*m_rootBoard, 3 - m_rootToMove);
    const MctsNode& root = m_tree.root();
    const MctsNode* children = root.children.load(std::memory_order_acquire);
    for (std::size_t i = 0; winner.threatens() && i < root.childCount; ++i) {
        if (winner.mustPlay(children[i].move)) {
            return children[i].move;
        }
    }
    for (const int cell : winner.winningCells()) {
        if (m_rootBoard->at(cell) == PlayoutBoard::empty) {
            return cell;
        }
    }
    return -1;
}

void MctsSearch::setPriors(MctsNode* block, std::size_t count, const PlayoutBoard& board,
                           int toMove) const {
    std::array<float, PlayoutBoard::maxSize * PlayoutBoard::maxSize> weights;
    float best = 0.0F;
    for (std::size_t i = 0; i < count; ++i) {
        weights[i] = m_patterns->weight(board, block[i].move, toMove);
        best = std::max(best, weights[i]);
    }
    // From even odds (weight 0) to all wins (the likeliest move): the patterns only ever
    // speak for a move. Priors that also spoke against the unlikely ones (from no wins up)
    // predicted strong players' moves worse (docs/benchmarks.md).
    for (std::size_t i = 0; best > 0.0F && i < count; ++i) {
        block[i].prior =
            static_cast<std::uint8_t>((0.5F + 0.5F * weights[i] / best) * 255.0F + 0.5F);
    }
}

template <bool priors>
MctsNode* MctsSearch::select(const MctsNode& node, MctsNode* children) const {
    // Fuego's blend of a move's own mean with its RAVE mean: with d = a + b * raveVisits,
    // value = (wins * d + raveWins) / (visits * d + raveVisits).
    const float logParent =
        m_config.exploration > 0.0 ? std::log(asFloat(node.visits) + 1.0F) : 0.0F;
    const auto exploration = static_cast<float>(m_config.exploration);
    const auto valueOf = [&](float n, float w, const MctsNode& child) {
        const float rn = asFloat(child.raveVisits);
        if (n + rn <= 0.0F) {
            return firstPlayUrgency;
        }
        const float d = m_raveA + m_raveB * rn;
        float value = (w * d + asFloat(child.raveWins)) / (n * d + rn);
        if (exploration > 0.0F) {
            value += exploration * std::sqrt(logParent / (n + 1.0F));
        }
        return value;
    };
    const auto swapValue = [&](const MctsNode& child) {
        const float visits = asFloat(child.visits);
        const float prior = visits > 0.0F ? swapPriorVisits : 0.0F;
        return valueOf(visits + prior, asFloat(child.wins) + prior / 2.0F, child);
    };
    const float priorWinsPerStep = m_priorVisits / 255.0F;
    const auto cellValue = [&](const MctsNode& child) {
        if constexpr (priors) {
            return valueOf(asFloat(child.visits) + m_priorVisits,
                           asFloat(child.wins) + priorWinsPerStep * child.prior, child);
        } else {
            return valueOf(asFloat(child.visits), asFloat(child.wins), child);
        }
    };
    // The swap, when offered, is the last child; the cells go first, without its prior.
    std::size_t cells = node.childCount;
    const bool swapOffered = cells > 0 && children[cells - 1].move == MctsNode::swapMove;
    cells -= swapOffered ? 1 : 0;
    MctsNode* chosen = children;
    float best = -1.0F;
    for (std::size_t i = 0; i < node.childCount; ++i) {
        MctsNode& child = children[i];
        const std::int8_t proof = child.proof.load(relaxed);
        if (proof == MctsNode::moverWins) {
            return &child;
        }
        if (proof < 0) {
            continue; // proven lost, or pruned
        }
        const float value = i < cells ? cellValue(child) : swapValue(child);
        if (value > best) {
            best = value;
            chosen = &child;
        }
    }
    return chosen;
}

void MctsSearch::play(PlayoutBoard& board, int move, int toMove, int firstStone) const {
    if (move == MctsNode::swapMove) {
        board.set(firstStone, PlayoutBoard::empty);
        board.set(board.mirror(firstStone), PlayoutBoard::player2);
        return;
    }
    board.set(move, static_cast<std::uint8_t>(toMove));
}

void MctsSearch::backUp(Worker& worker, int depth, int winner) {
    const PlayoutBoard& board = worker.board;
    int toMove = m_rootToMove;
    for (int i = 0; i <= depth; ++i) {
        MctsNode& node = *worker.path[static_cast<std::size_t>(i)];
        if (i > 0 && winner != toMove) {
            node.wins.fetch_add(1, relaxed); // the mover won
        }
        // Every cell the side to move here took later counts for the child of that cell.
        // Plain loads and stores, with no branch on the cell's colour (which is random): a
        // sample lost to another thread is harmless and far cheaper than locked adds.
        MctsNode* block = node.children.load(std::memory_order_acquire);
        if (block != nullptr) {
            const std::uint32_t won = winner == toMove ? 1 : 0;
            std::size_t count = node.childCount;
            count -= count > 0 && block[count - 1].move == MctsNode::swapMove ? 1 : 0;
            // A child's RAVE count never passes its parent's visits: only below a node that
            // has passed the ceiling is it looked at for each child.
            if (node.visits.load(relaxed) < MctsNode::raveCeiling) {
                addRaveSamples<false>(board, block, count, toMove, won);
            } else {
                addRaveSamples<true>(board, block, count, toMove, won);
            }
        }
        toMove = 3 - toMove;
    }
    proveUpwards(worker, depth);
}

template <bool capped>
void MctsSearch::addRaveSamples(const PlayoutBoard& board, MctsNode* block, std::size_t count,
                                int toMove, std::uint32_t won) {
    for (std::size_t c = 0; c < count; ++c) {
        MctsNode& child = block[c];
        const std::uint32_t raveVisits = child.raveVisits.load(relaxed);
        std::uint32_t took = (board.at(child.move) & 3) == toMove ? 1U : 0U;
        if constexpr (capped) {
            took &= raveVisits < MctsNode::raveCeiling ? 1U : 0U;
        }
        child.raveVisits.store(raveVisits + took, relaxed);
        child.raveWins.store(child.raveWins.load(relaxed) + (took & won), relaxed);
    }
}

void MctsSearch::proveUpwards(Worker& worker, int depth) {
    for (int i = depth; i > 0; --i) {
        const MctsNode& child = *worker.path[static_cast<std::size_t>(i)];
        MctsNode& parent = *worker.path[static_cast<std::size_t>(i - 1)];
        const std::int8_t proof = child.proof.load(relaxed);
        if (proof == MctsNode::moverWins) {
            parent.proof.store(MctsNode::moverLoses, relaxed); // a winning reply exists
            continue;
        }
        if (proof != MctsNode::moverLoses) {
            return;
        }
        const MctsNode* children = parent.children.load(std::memory_order_acquire);
        for (std::size_t c = 0; c < parent.childCount; ++c) {
            if (children[c].proof.load(relaxed) >= 0) {
                return;
            }
        }
        // Every reply loses (a pruned one is no better than the others).
        parent.proof.store(MctsNode::moverWins, relaxed);
    }
}

const MctsNode* MctsSearch::bestChild() const {
    const MctsNode& root = m_tree.root();
    const MctsNode* children = root.children.load(std::memory_order_acquire);
    if (children == nullptr) {
        return nullptr;
    }
    // A proven win; else the most visited move not proven lost; else the solver's most
    // resisting move; else the most visited.
    const MctsNode* best = nullptr;
    const MctsNode* anyBest = nullptr;
    for (std::size_t i = 0; i < root.childCount; ++i) {
        const MctsNode& child = children[i];
        const std::int8_t proof = child.proof.load(relaxed);
        if (proof == MctsNode::moverWins) {
            return &child;
        }
        const std::uint64_t visits = child.visits.load(relaxed);
        if (anyBest == nullptr || visits > anyBest->visits.load(relaxed)) {
            anyBest = &child;
        }
        if (proof >= 0 && (best == nullptr || visits > best->visits.load(relaxed))) {
            best = &child;
        }
    }
    if (best == nullptr && m_resistingMove >= 0) {
        for (std::size_t i = 0; i < root.childCount; ++i) {
            if (children[i].move == m_resistingMove) {
                return &children[i];
            }
        }
    }
    return best != nullptr ? best : anyBest;
}

MctsSearch::RootMove MctsSearch::describe(const MctsNode& child) const {
    RootMove move;
    move.move = moveOf(child);
    move.visits = child.visits.load(relaxed);
    const std::int8_t proof = child.proof.load(relaxed);
    move.proven = MctsNode::isProof(proof);
    if (move.proven) {
        move.winRate = proof == MctsNode::moverWins ? 1.0 : 0.0;
    } else if (move.visits > 0) {
        move.winRate = static_cast<double>(child.wins.load(relaxed)) / move.visits;
    }
    return move;
}

// The easy player's move: where the two sides' cheapest paths cross; else the empty cell
// nearest the centre.
Hex::Coord MctsSearch::consideredMove() const {
    const std::uint32_t n = m_position.size;
    Hex::Board board(n);
    Hex::Coord central = Hex::noMove;
    int bestDistance = 0;
    for (int row = 0; row < static_cast<int>(n); ++row) {
        for (int col = 0; col < static_cast<int>(n); ++col) {
            const std::uint8_t stone = m_rootBoard->at(m_rootBoard->index(row, col));
            board.cell(static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(col), stone);
            const int distance = std::abs(2 * row + 1 - static_cast<int>(n)) +
                                 std::abs(2 * col + 1 - static_cast<int>(n));
            if (stone == PlayoutBoard::empty &&
                (central == Hex::noMove || distance < bestDistance)) {
                central = Hex::Coord{row, col};
                bestDistance = distance;
            }
        }
    }
    PathFinder player1(n, 0, 1);
    PathFinder player2(n, 1, 2);
    player1.setWeights(&defaultWeights);
    player2.setWeights(&defaultWeights);
    const Hex::Coord crossing = intersectionMove(player1, player2, board);
    return crossing != Hex::noMove && board.at(crossing.row, crossing.col) == 0 ? crossing
                                                                                : central;
}

Hex::Coord MctsSearch::moveOf(const MctsNode& child) const {
    if (child.move == MctsNode::swapMove) {
        const auto n = static_cast<std::int32_t>(m_position.size);
        return Hex::Coord{n, n};
    }
    return m_rootBoard->coord(child.move);
}

std::vector<MctsSearch::RootMove> MctsSearch::rootMoves(std::size_t count) const {
    std::vector<RootMove> moves;
    if (!m_hasPosition) {
        return moves;
    }
    const MctsNode& root = m_tree.root();
    const MctsNode* children = root.children.load(std::memory_order_acquire);
    for (std::size_t i = 0; children != nullptr && i < root.childCount; ++i) {
        moves.push_back(describe(children[i]));
    }
    // A proven win leads however few visits it has had (the solver's has none).
    const auto won = [](const RootMove& move) { return move.proven && move.winRate == 1.0; };
    std::stable_sort(moves.begin(), moves.end(), [&](const RootMove& a, const RootMove& b) {
        return won(a) != won(b) ? won(a) : a.visits > b.visits;
    });
    moves.resize(std::min(count, moves.size()));
    return moves;
}

Hex::Coord MctsSearch::bestMove() const {
    const MctsNode* best = m_hasPosition ? bestChild() : nullptr;
    return best != nullptr ? moveOf(*best) : Hex::noMove;
}

std::vector<Hex::Coord> MctsSearch::principalVariation(Hex::Coord first, std::size_t length) const {
    std::vector<Hex::Coord> line;
    if (!m_hasPosition) {
        return line;
    }
    const MctsNode* node = &m_tree.root();
    for (bool atRoot = true; line.size() < length; atRoot = false) {
        const MctsNode* children = node->children.load(std::memory_order_acquire);
        const MctsNode* next = nullptr;
        for (std::size_t i = 0; children != nullptr && i < node->childCount; ++i) {
            const MctsNode& child = children[i];
            if (atRoot
                    ? moveOf(child) == first
                    : next == nullptr || child.visits.load(relaxed) > next->visits.load(relaxed)) {
                next = &child;
            }
        }
        const bool provenAtRoot =
            atRoot && next != nullptr && MctsNode::isProof(next->proof.load(relaxed));
        if (next == nullptr || (next->visits.load(relaxed) == 0 && !provenAtRoot)) {
            break;
        }
        line.push_back(moveOf(*next));
        node = next;
    }
    return line;
}

std::uint64_t MctsSearch::rootVisits() const {
    return m_tree.root().visits.load(relaxed);
}

std::uint64_t MctsSearch::playoutsSoFar() const {
    std::uint64_t total = 0;
    for (const auto& worker : m_workers) {
        total += worker->playouts.load(relaxed);
    }
    return total;
}

void MctsSearch::report(std::uint64_t playouts) const {
    std::string text = "Thinking: " + std::to_string(playouts) + " playouts";
    if (const MctsNode* best = bestChild()) {
        const RootMove move = describe(*best);
        const auto n = static_cast<std::int32_t>(m_position.size);
        text += ", best ";
        text += move.move == Hex::Coord{n, n} ? std::string("swap") : Hex::cellName(move.move);
        text += " " + std::to_string(std::lround(move.winRate * 100.0)) + "%";
    }
    m_sink->post(WmAppStatusText{std::move(text)});
    m_sink->post(WmAppShowEval{});
    for (const RootMove& move : rootMoves(m_config.reportedMoves)) {
        if (move.move.row < static_cast<std::int32_t>(m_position.size)) {
            m_sink->post(WmAppShowEval{CellEvaluation{move.move.row, move.move.col, move.winRate}});
        }
    }
}
