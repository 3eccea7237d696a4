#pragma once

#include "mcts/MctsTree.h"
#include "mcts/Playout.h"
#include "mcts/TreeMemoryBudget.h"
#include "model/Coord.h"
#include "tactics/DfpnSolver.h"
#include "tactics/PlayoutBoard.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

class InferiorCells;
class MessageSink;
class PatternPrior;
class PlayoutPatterns;

// Monte-Carlo tree search for Hex: UCT with all-moves-as-first (RAVE) statistics, playouts
// that save intruded bridges (Playout), a tree shared by all search threads (lock-free
// counters, a virtual loss on the way down) and kept between moves, and exact results
// propagated up from won positions. The swap is a move of the tree where the rules offer it.
//
// Thread contract: setPosition(), run() and the readers on one owning thread; run() starts
// the other search threads itself and joins them before it returns. The stop flag of run()
// may be raised from any thread; the search then ends within one playout per thread.
class MctsSearch {
public:
    // The moves from the empty board, the swap marker (N, N) included; with swapRule, the
    // second move may be the swap.
    struct Position {
        std::uint32_t size = 11;
        std::vector<Hex::Coord> moves;
        bool swapRule = true;
    };

    struct Limits {
        std::chrono::milliseconds time = std::chrono::milliseconds::max();
        std::uint64_t playouts = std::numeric_limits<std::uint64_t>::max();
        // A close call when the time is up (the runner-up has two thirds or more of the most
        // visited move's visits) goes on this much longer, once.
        std::chrono::milliseconds closeCallExtra{0};
    };

    struct Config {
        int threads = 1;
        // The tree's own ceiling; 0 for none but the budget's.
        std::size_t treeBytes = 0;
        // The budget shared with the other searches that run at the same time; a budget of
        // the machine's default size for this search alone when null.
        std::shared_ptr<TreeMemoryBudget> memory;
        std::uint64_t seed = 1;
        // A node gets children once this many simulations have passed through it; twice as
        // many once the tree is half full, four times at three quarters, and so on, so that a
        // full tree spends what is left on the nodes that matter most.
        std::uint32_t expandThreshold = 10;
        // How much the RAVE statistics count against the node's own (Fuego's weights: a RAVE
        // sample weighs `raveInitial` at first and the RAVE total is worth at most
        // `raveFinal` of the node's own simulations).
        double raveInitial = 0.9;
        double raveFinal = 20000.0;
        // The UCB term's constant; 0 leaves exploration to RAVE.
        double exploration = 0.0;
        // A new cell's node starts with `priorVisits` virtual simulations, won at a rate from
        // one half (weight 0) to one (the likeliest move) by its local pattern's
        // learned weight (PatternPrior) against its siblings', so that the moves strong
        // players make in such shapes are tried first; the swap keeps its own prior. Off, the
        // search is the same as without the patterns, bit for bit.
        bool priors = false;
        double priorVisits = 10.0;
        // The playouts also answer an intrusion into a ziggurat (Playout).
        bool templates = false;
        // Once a node has had connectionVisits simulations, both players' virtual connections
        // (VirtualConnections) are read there, once: a mover whose edges are joined has won,
        // a side to move with a winning cell wins with it, and facing the mover's threats,
        // every move outside the must-play region is a proven loss. The solver prunes by them
        // too.
        bool connections = false;
        std::uint32_t connectionVisits = 200;
        // A timed search ends early once no other move can overtake the most visited one
        // in the time left.
        bool stopWhenDecided = true;
        // A root with at most solverEmptyCells empty cells and no swap on offer goes first to
        // the proof-number solver (DfpnSolver, which fills in inferior cells and, with
        // connections or solverConnections, prunes by them), for at most solverShare of a timed
        // search's time and solverNodes positions (and no more positions than a counted search's
        // playouts), once per position: a proven win is played at once, a proven loss plays
        // the move that resisted longest, and an unknown answer leaves the position to the
        // search.
        bool solver = true;
        int solverEmptyCells = 60;
        double solverShare = 0.1;
        std::uint64_t solverNodes = 2'000'000;
        // How often run() posts its status text and the root moves' win rates to the sink.
        std::chrono::milliseconds reportEvery{1000};
        std::size_t reportedMoves = 10;
        // Inferior cells (InferiorCells): the root gets no child on a filled-in cell, or one
        // with a killer, while another cell is left; a node that has had inferiorVisits
        // simulations is filled in once: it is proven when its filled-in board joins a side's
        // edges, else its moves on filled-in cells and those with a killer are pruned. The playouts
        // start with the root's fill-in. (The solver fills in at every position either way.)
        bool inferior = false;
        std::uint32_t inferiorVisits = 100;
        // The playouts draw their moves by the learned weights of the six cells around
        // them (PlayoutPatterns) instead of uniformly.
        bool playoutPatterns = false;
        // The solver prunes by the virtual connections even where the tree does not read
        // them (it always does with connections).
        bool solverConnections = true;
    };

    // The expert's search: the defaults above with the pattern priors and the inferior cells
    // on, which together beat the search without them in self-play. The expert player, the
    // GTP engine's expert, `quorlen-cli search --strength expert` and the hint start from it.
    static Config expertConfig();

    // A root move and its statistics; the swap is the swap marker (N, N).
    struct RootMove {
        Hex::Coord move = Hex::noMove;
        std::uint64_t visits = 0;
        double winRate = 0.0; // for the side to move at the root; 1 or 0 once proven
        bool proven = false;
    };

    struct Result {
        Hex::Coord move = Hex::noMove; // noMove when the game is already over
        double winRate = 0.0;
        std::uint64_t playouts = 0; // of this run
        double seconds = 0.0;
        std::size_t nodes = 0;
        std::size_t treeBytes = 0;
    };

    // The sink (optional) receives the status text "Thinking: N playouts, best C5 57%" and
    // the win rates of the most visited root moves while run() searches.
    explicit MctsSearch(Config config, MessageSink* sink = nullptr);
    ~MctsSearch();
    MctsSearch(const MctsSearch&) = delete;
    MctsSearch& operator=(const MctsSearch&) = delete;

    // Sets the position to search. When it follows the last one by moves that the tree
    // holds, the subtree below them is kept; returns whether it was. Moves must be legal
    // (std::invalid_argument otherwise).
    bool setPosition(const Position& position);

    // Searches until a limit, the stop flag, or a decided root. The calling thread is one of
    // the configured threads. Without a position there is nothing to search (noMove). A
    // search stopped before its first playout answers the easy player's move (win rate 0.5).
    // An error in any search thread (std::bad_alloc, say) stops the others, and once all are
    // joined reaches the caller; the tree is then cleared.
    Result run(const Limits& limits, const std::atomic<bool>& stop);
    // Frees the tree and forgets the position (a game has ended).
    void forget();

    // The move run() answers for the search so far: a proven win; else the most visited move
    // not proven lost; else the most resisting move (the solver's, or once the search has
    // proved the root lost, the one the winner's virtual connections need most); else the
    // most visited. noMove without root moves. Like rootMoves(), it may be read while the
    // search runs.
    Hex::Coord bestMove() const;
    // The root moves, a proven win first, then the most visited, at most `count`.
    std::vector<RootMove> rootMoves(std::size_t count) const;
    // The line the search expects after the root move `first`: `first`, then the most visited
    // reply at each step, while the node has been visited (a root move the solver proved
    // without a visit is a line of one); at most `length` moves, the swap as the marker. Empty when
    // `first` is no root move. Like rootMoves(), it may be read from any thread while the search
    // runs (a snapshot of relaxed counters).
    std::vector<Hex::Coord> principalVariation(Hex::Coord first, std::size_t length) const;
    std::uint64_t rootVisits() const;
    std::size_t nodeCount() const { return m_tree.nodeCount(); }
    const Config& config() const { return m_config; }

private:
    struct Worker;

    void solveRoot(const Limits& limits, const std::atomic<bool>& stop);
    void markSolved(const DfpnSolver::Result& solved);
    bool rootMovesDecide() const;
    void work(Worker& worker, const Limits& limits, const std::atomic<bool>& stop, bool timekeeper);
    void runThreads(const Limits& limits, const std::atomic<bool>& stop);
    std::uint64_t expandThreshold() const;
    Hex::Coord consideredMove() const;
    bool isCloseCall() const;
    bool bestMoveIsSettled(std::chrono::steady_clock::time_point now,
                           std::chrono::steady_clock::time_point deadline) const;
    void simulate(Worker& worker);
    MctsNode* expand(Worker& worker, MctsNode& node, int toMove, int moveCount);
    void applyConnections(Worker& worker, MctsNode& node, MctsNode* children, int toMove);
    static bool firstRead(MctsNode& node, std::uint8_t what);
    void applyInferior(Worker& worker, MctsNode& node, MctsNode* children, int toMove);
    int resistingMove() const;
    void setPriors(MctsNode* block, std::size_t count, const PlayoutBoard& board, int toMove) const;
    // Templated on the priors, so that a search without them pays nothing for them.
    template <bool priors>
    MctsNode* select(const MctsNode& node, MctsNode* children) const;
    void play(PlayoutBoard& board, int move, int toMove, int firstStone) const;
    void backUp(Worker& worker, int depth, int winner);
    template <bool capped>
    static void addRaveSamples(const PlayoutBoard& board, MctsNode* block, std::size_t count,
                               int toMove, std::uint32_t won);
    static void proveUpwards(Worker& worker, int depth);
    const MctsNode* bestChild() const;
    RootMove describe(const MctsNode& child) const;
    Hex::Coord moveOf(const MctsNode& child) const;
    void report(std::uint64_t playouts) const;
    std::uint64_t playoutsSoFar() const;

    Config m_config;
    MessageSink* m_sink;
    MctsTree m_tree;
    std::vector<std::unique_ptr<Worker>> m_workers;
    std::atomic<bool> m_done{false};
    std::chrono::steady_clock::time_point m_start; // of the running search
    std::atomic<std::uint64_t> m_tickets{0};
    std::unique_ptr<DfpnSolver> m_solver; // made at its first use

    // The root position.
    bool m_hasPosition = false;
    Position m_position;
    std::unique_ptr<PlayoutBoard> m_rootBoard;
    std::unique_ptr<const InferiorCells> m_rootFill; // with inferior cells, when it fills any
    int m_rootToMove = 1;
    int m_rootLastMove = -1;
    int m_rootFirstStone = -1; // the first stone's cell while it may still be swapped
    // Of a root proved lost: its most resisting move (read by bestMove()).
    std::atomic<int> m_resistingMove{-1};
    bool m_solverTried = false; // at this root: the solver runs once per position
    float m_raveA = 0.0F;       // 1 / raveInitial
    float m_raveB = 0.0F;       // 1 / raveFinal
    std::unique_ptr<const PatternPrior> m_patterns;           // with priors only
    std::unique_ptr<const PlayoutPatterns> m_playoutPatterns; // with playout patterns only
    float m_priorVisits = 0.0F;                               // 0 without priors
};
