#pragma once

#include "mcts/MctsSearch.h"
#include "platform/Clock.h"
#include "players/TimedPlayer.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

class MessageSink;

// The expert strength: Monte-Carlo tree search (MctsSearch) of the game's position, on every
// search thread, for the hard player's time budget per move. The swap is one of the search's
// moves where the rules offer it, so one search answers the swap question and, when it
// declines, also gives the move. The tree is kept from move to move: the moves played since
// the last search select the subtree that the next one starts from. It has no weights and
// does not learn.
//
// Status texts: "Quorlen AI thinking..." when a think starts, the search's "Thinking: N
// playouts, best C5 57%" and the win rates of the most visited moves while it runs, and
// "Quorlen AI finished" with the clearing messages when it ends, unless it was stopped.
//
// Thread contract: chooseMove()/decideSwap() run on the game thread (through the clocked
// getMove()/askSwap()); each think starts a StopWatcher that turns the game's stop into the
// search's stop flag. Destroying the player while it thinks stops the think and waits for it.
// search() and lastResult() on the game thread, or while no game runs.
class ExpertPlayer : public TimedPlayer {
public:
    struct Context {
        MessageSink& sink;
        const Clock& clock = Clock::steady();
        int threads = 1;
        // The search's seed; drawn afresh for every player when empty.
        std::optional<std::uint64_t> seed = {};
        std::size_t treeBytes = MctsSearch::expertConfig().treeBytes;
        // When set, every think lasts this long instead of the time budget.
        std::optional<std::chrono::milliseconds> moveTime = {};
        // When set, every think runs this many playouts instead (tests, matches at fixed
        // playouts).
        std::optional<std::uint64_t> playouts = {};
        // Off for games without the swap: the search then neither offers nor fears it.
        bool swapRule = true;
        // Shared with the other searches of the program; the machine's default when null.
        std::shared_ptr<TreeMemoryBudget> memory = {};
        // The first stone and the swap decision come from the opening book where it covers
        // the board and the swap is offered (off for an ablation).
        bool openingBook = true;
        // The search's pattern priors (MctsSearch::Config::priors).
        bool priors = MctsSearch::expertConfig().priors;
        // The search's proof-number solver of small positions (MctsSearch::Config::solver).
        bool solver = true;
        // The playouts' template answers (MctsSearch::Config::templates).
        bool templates = MctsSearch::expertConfig().templates;
        // The search's virtual connections (MctsSearch::Config::connections).
        bool connections = MctsSearch::expertConfig().connections;
        // The search's inferior cells (MctsSearch::Config::inferior).
        bool inferior = MctsSearch::expertConfig().inferior;
        // The playouts' pattern weights (MctsSearch::Config::playoutPatterns).
        bool playoutPatterns = MctsSearch::expertConfig().playoutPatterns;
        // The solver's virtual connections (MctsSearch::Config::solverConnections).
        bool solverConnections = MctsSearch::expertConfig().solverConnections;
    };

    // The shortest think, used when the time budget leaves nothing.
    static constexpr std::chrono::milliseconds shortestThink{250};

    ExpertPlayer(std::string name, std::int32_t timeLimit, Context context);
    ~ExpertPlayer() override;

    std::int32_t timeLimit() const { return m_timeLimit; }
    // A new whole-game limit for the following moves (a front end's clock); not while the
    // player thinks.
    void setTimeLimit(std::int32_t seconds) { m_timeLimit = seconds; }
    // Whether the swap is offered in the following games (a front end's switch); not while
    // the player thinks.
    void setSwapRule(bool on) { m_context.swapRule = on; }
    // The longest think at this move number on a board of side n, close call included, in
    // whole seconds (rounded up); 0 when the budget leaves only the shortest think.
    std::int32_t timeBudget(std::uint32_t n, int moveNumber);
    const MctsSearch& search() const { return m_search; }
    // The tree is freed: the next game starts afresh, and the memory is the others' meanwhile.
    void gameEnded() override;
    const MctsSearch::Result& lastResult() const { return m_lastResult; }

protected:
    Hex::Coord chooseMove(Event& stopEvent) override;
    bool decideSwap(Event& stopEvent) override;

private:
    MctsSearch::Result think(Event& stopEvent);
    bool usesBook() const;
    Hex::Coord playFromBook(Hex::Coord move, double winRate);
    MctsSearch::Limits limits(std::uint32_t n, int moveNumber);
    void postStatus(const char* text);

    Context m_context;
    std::int32_t m_timeLimit;
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_closing{false};
    MctsSearch m_search;
    MctsSearch::Result m_lastResult;
    // The move that the swap decision chose when it declined, for the position it saw.
    std::optional<std::vector<Hex::Coord>> m_declinedAt;
    Hex::Coord m_declinedMove = Hex::noMove;
    // The position whose swap the book declined: its search leaves the swap out.
    std::optional<std::vector<Hex::Coord>> m_bookDeclinedAt;
};
